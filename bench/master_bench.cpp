// The target form's work on the generated database: the question whether a target has
// reservations ahead (asked before every deletion) and the filling of the target grid.

#include "bench.h"

#include "base/app_state.h"
#include "master/targets_form.h"
#include "records/targets.h"
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

    // has_future: every target, from a working date with reservations ahead, and from one after
    // the last reservation (the answer is no, so nothing stops the search early).
    for (const auto& [name, workingDate] : {std::pair{"has_future_found", "2026/12/8"}, std::pair{"has_future_none", "2027/1/1"}}) {
        int found = 0;
        const double micros = medianMicros(kRuns, [&, workingDate = workingDate] {
            found = 0;
            for (int n = 1; n <= kTargets; ++n)
                found += targets::HasFutureReservations(target(n), workingDate) ? 1 : 0;
        });
        std::printf("# %s: %d of %d targets have reservations ahead\n", name, found, kTargets);
        std::printf("%s us_per_target=%.1f\n", name, micros / kTargets);
    }
    // The same with the file held open by another handle, as during a form's action: what is left
    // is the query itself.
    {
        const store::Database held = store::Database::open();
        const double micros = medianMicros(kRuns, [&] {
            for (int n = 1; n <= kTargets; ++n)
                targets::HasFutureReservations(target(n), "2026/12/8");
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
