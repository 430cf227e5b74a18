// The slot grids of the time inquiry on the generated database: building the time table,
// counting and painting (a) the seven days of one target and (b) one day of all targets, each
// from the call to a painted grid, against reading the same reservations with one prepared
// statement of the engine's own client library.

#include "bench.h"
#include "raw_database.h"

#include "app/startup.h"
#include "rules/holidays_in_force.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "store/database.h"
#include "store/read_ahead.h"
#include "ui/flex_grid.h"
#include "views/business_status.h"
#include "views/reservation_status.h"
#include "views/target_list.h"

namespace bench {

namespace {

constexpr int kRuns = 21;

// What the time inquiry does when it opens, up to the painted slot grid with its days' holidays
// named. The form keeps the database open meanwhile, so that the steps share one connection.
void showInquiry(const store::Database& db, FlexGrid* grid, const 時間TBL::TimeTableRequest& tableRequest,
                 const 予約TBL::CountRequest& countRequest)
{
    const QDate first = tableRequest.WorkingDate;
    const QDate last = tableRequest.InquiryKind == 1 ? first.addDays(6) : first;
    // As the time inquiry reads: everything the grid shows at once.
    const store::ReadAhead together(db, 予約TBL::GridRanges(countRequest, first, last));
    const TimeTable table = 時間TBL::BuildTimeTable(db, tableRequest);
    const SlotCounts counts = 予約TBL::BuildReservationCounts(db, countRequest);
    営業状色付::ShowBusinessStatus(grid, table, counts.Slots, national_holidays::holidayNamesBetween(db, first, last));
    予約状色付::ColourReservationStatus(db, grid, table, counts);
}

// Reads start and end of every row the statement yields, as the count does.
double rawRead(const QString& database, const char* sql, const QStringList& parameters, int* rows)
{
    const auto raw = RawDatabase::open(database);
    const auto stmt = raw->prepare(sql);
    QString sink;
    return medianMicros(kRuns, [&] {
        for (int i = 0; i < parameters.size(); ++i)
            stmt->bind(i + 1, parameters[i]);
        *rows = 0;
        while (stmt->step()) {
            sink = stmt->text(0) + stmt->text(1);
            ++*rows;
        }
        stmt->reset();
    });
}

void measureGrids(const BenchDatabase& where)
{
    // The running program keeps its connection open (the open screens watch the database), so
    // no measurement pays for connecting.
    const Desk desk = workingDesk();
    const Settings& settings = desk.settings;
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
    const CMB対象::TargetList targets = CMB対象::LoadTargetList(desk.database);
    FlexGrid grid;
    grid.resize(1280, 720);
    std::printf("# %d targets, %d-minute slots, %02d:00 to %02d:59\n", int(targets.numbers.size()), settings.UnitMinutes,
                daySlots.SlotHours.front(), daySlots.WindowEnd / 60 - 1);

    // (a) the inquiry by target: seven days from a Tuesday, a common closure day among them.
    {
        時間TBL::TimeTableRequest table;
        table.TimeTableMode = 3;
        table.InquiryKind = 1;
        table.DailyHoursKind = settings.DailyHoursKind;
        table.CurrentTarget = "00015";
        table.WorkingDate = QDate(2026, 6, 9);
        const 予約TBL::CountRequest counts{1, "00015", QDate(2026, 6, 9), {}, daySlots};
        const double ours = medianMicros(kRuns, [&] { showInquiry(desk.database, &grid, table, counts); });
        int rows = 0;
        const double direct =
            rawRead(where.name,
                    "SELECT 予約_開始時間, 予約_終了時間 FROM 予約 WHERE 予約_設定番号 = $1 AND 予約_年月日 BETWEEN $2 AND $3 "
                    "ORDER BY 予約_年月日, 予約_開始時間",
                    {"00015", "2026/06/09", "2026/06/15"}, &rows);
        const QByteArray name = "grid_seven_days" + where.suffix;
        std::printf("# %s reads %d reservations into a grid of %d x %d\n", name.constData(), rows, grid.rows(), grid.cols());
        printMillis(name, ours);
        printRatio(name, ours, direct);
    }

    // (b) the inquiry by day: every target on one date.
    {
        時間TBL::TimeTableRequest table;
        table.TimeTableMode = 2;
        table.InquiryKind = 2;
        table.DailyHoursKind = settings.DailyHoursKind;
        table.SelectedDate = table.WorkingDate = QDate(2026, 6, 1);
        table.TargetList = targets.numbers;
        table.TargetAbbrevList = targets.abbrevs;
        const 予約TBL::CountRequest counts{2, QString(), QDate(2026, 6, 1), targets.numbers, daySlots};
        const double ours = medianMicros(kRuns, [&] { showInquiry(desk.database, &grid, table, counts); });
        int rows = 0;
        const double direct = rawRead(where.name,
                                      "SELECT 予約_開始時間, 予約_終了時間 FROM 予約 WHERE 予約_年月日 = $1 "
                                      "ORDER BY 予約_設定番号, 予約_開始時間",
                                      {"2026/06/01"}, &rows);
        const QByteArray name = "grid_one_day" + where.suffix;
        std::printf("# %s reads %d reservations into a grid of %d x %d\n", name.constData(), rows, grid.rows(), grid.cols());
        printMillis(name, ours);
        printRatio(name, ours, direct);
    }
}

} // namespace

int gridBench(const StoreOptions& options)
{
    // The modules open the main database of the current folder: a link to the generated database,
    // which they only read, or a Kelvora.ini naming the server.
    return measureInWorkingFolders(benchDatabases(generatedDatabase(), options), "grid", measureGrids);
}

} // namespace bench
