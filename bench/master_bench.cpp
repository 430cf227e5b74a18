// The target form's work on the generated database: the question whether a target has
// reservations ahead (asked before every deletion) and the filling of the target grid.

#include "bench.h"

#include "master/targets_form.h"
#include "records/reservations.h"
#include "store/database.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace bench {

int masterBench()
{
    // The forms open "Kelvora.mdb" in the current folder.
    const QString path = scratchCopy("Kelvora.mdb");
    QDir::setCurrent(QFileInfo(path).absolutePath());
    constexpr int kRuns = 5;
    constexpr int kTargets = 100;
    const auto target = [](int n) { return QString::number(n).rightJustified(5, u'0'); };

    // Whether the target has reservations from a date on, on a connection of its own, as the
    // form asks it.
    const auto hasFuture = [](const QString& number, const QDate& from) {
        return records::targetHasReservationsFrom(store::Database::open(store::kMainFile), number, from);
    };

    // has_future: every target, from a working date with reservations ahead, and from one after
    // the last reservation (the answer is no, so nothing stops the search early).
    for (const auto& [name, workingDate] :
         {std::pair{"has_future_found", QDate(2026, 12, 8)}, std::pair{"has_future_none", QDate(2027, 1, 1)}}) {
        int found = 0;
        const double micros = medianMicros(kRuns, [&, workingDate = workingDate] {
            found = 0;
            for (int n = 1; n <= kTargets; ++n)
                found += hasFuture(target(n), workingDate) ? 1 : 0;
        });
        std::printf("# %s: %d of %d targets have reservations ahead\n", name, found, kTargets);
        std::printf("%s us_per_target=%.1f\n", name, micros / kTargets);
    }
    // The same with the file held open by another handle, as during a form's action: what is left
    // is the query itself.
    {
        const store::Database held = store::Database::open(store::kMainFile);
        const double micros = medianMicros(kRuns, [&] {
            for (int n = 1; n <= kTargets; ++n)
                hasFuture(target(n), QDate(2026, 12, 8));
        });
        std::printf("has_future_file_open us_per_target=%.1f\n", micros / kTargets);
    }

    // fill_target_grid: the grid of the target form, 100 targets.
    {
        対象登 form;
        const double micros = medianMicros(kRuns, [&] { form.FillTargetGrid(); });
        printMillis("fill_target_grid", micros);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace bench
