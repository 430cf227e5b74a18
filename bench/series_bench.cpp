// A weekly series of 104 dates in 定期予約登録 on the generated database, over the two years that
// hold its bookings: 日程作成 (the dates with their states) and 登録 (every ticked date booked
// through the guarded write, and the series kept, in one transaction).

#include "bench.h"

#include "reservations/series_form.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/message_box.h"

#include <QLineEdit>
#include <QRadioButton>
#include <cstdio>
#include <memory>

namespace bench {

namespace {

constexpr int kRuns = 11;
constexpr int kDates = 104;

// The form for a Tuesday booking of `target` from 2025/01/07 10:00 to 11:00, for weekly dates
// counted to 104, by one of the generated reservers that no other run takes.
std::unique_ptr<定期予約登録> seriesForm(const Desk& desk, int target, int run, SeriesOutcome& outcome)
{
    const QString number = QString::number(target).rightJustified(5, u'0');
    const QString name = QStringLiteral("対象%1").arg(target);
    const int reserver = (run * 997) % 50000 + 1;
    records::Reservation booking{number, QDate(2025, 1, 7), {10, 0}, QStringLiteral("-%1").arg(reserver, 6, 10, QLatin1Char('0'))};
    booking.overlapAllowed = true;
    booking.end = {11, 0};
    booking.abbrev = name;
    booking.reserverName = QStringLiteral("予約者%1").arg(reserver);
    auto form = std::make_unique<定期予約登録>(booking, records::Target{number, name, name, QString()}, outcome);
    form->takeDesk(desk);
    form->Form_Load();
    form->findChild<QRadioButton*>("回数指定")->setChecked(true);
    form->findChild<QLineEdit*>("回数")->setText(QString::number(kDates));
    return form;
}

// How many series the database keeps, and how many of their dates are booked.
std::pair<int, int> seriesAndBookedDates(const store::Database& db)
{
    int series = 0;
    int booked = 0;
    store::Table dates = db.table("定期日程", "Key_定期日程");
    QString last;
    for (dates.seek(">=", {QString()}); !dates.eof(); dates.moveNext()) {
        if (dates.text("日程_定期番号") != last) {
            last = dates.text("日程_定期番号");
            ++series;
        }
        booked += dates.integer("日程_状態") == 1 ? 1 : 0;
    }
    return {series, booked};
}

void measureSeries(const BenchDatabase& where)
{
    const Desk desk = workingDesk();
    // Targets that allow three bookings a slot; each run books another one, for a reserver no
    // earlier run on this database used.
    const int targets[] = {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 16, 17};
    const auto [seriesBefore, bookedBefore] = seriesAndBookedDates(desk.database);
    // A plain local for the lambdas below: clang before 16 cannot capture a structured binding.
    const int before = seriesBefore;
    SeriesOutcome outcome;
    std::unique_ptr<定期予約登録> form;
    int run = 0;
    int listed = 0;
    printMillis("series_preview_104" + where.suffix, medianMicros(
                                                         kRuns,
                                                         [&] {
                                                             form->日程作成_Click();
                                                             listed = form->findChild<FlexGrid*>("日程一覧")->rows() - 1;
                                                         },
                                                         [&] { form = seriesForm(desk, targets[0], before, outcome); }));
    std::printf("# %d dates listed\n", listed);

    int registered = 0;
    printMillis("series_register_104" + where.suffix, medianMicros(
                                                          kRuns,
                                                          [&] {
                                                              form->登録_Click();
                                                              registered += outcome.registered ? 1 : 0;
                                                          },
                                                          [&] {
                                                              ++run;
                                                              outcome = {};
                                                              form = seriesForm(desk, targets[run], before + run, outcome);
                                                              form->日程作成_Click();
                                                          }));
    const auto [after, bookedAfter] = seriesAndBookedDates(desk.database);
    std::printf("# %d of %d series registered, %d dates booked (%d series on the database)\n", registered, kRuns,
                bookedAfter - bookedBefore, after);
    std::fflush(stdout);
}

} // namespace

int seriesBench(const StoreOptions& options)
{
    const std::vector<BenchDatabase> databases = benchDatabases(scratchCopy("series.mdb"), options);
    msg::setResponder([](const msg::Shown&) { return 1; });
    const int status = measureInWorkingFolders(databases, "series", measureSeries);
    msg::clearResponder();
    return status;
}

} // namespace bench
