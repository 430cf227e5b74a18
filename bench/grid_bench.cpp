// The slot grids of the time inquiry on the generated database: building the time table,
// counting and painting (a) the seven days of one target and (b) one day of all targets, each
// from the call to a painted grid, against reading the same reservations with one prepared
// SQLite query.

#include "bench.h"

#include "app/startup.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "views/business_status.h"
#include "views/reservation_status.h"
#include "views/target_list.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace bench {

namespace {

constexpr int kRuns = 21;

// What the time inquiry does when it opens, up to the painted slot grid. The form keeps the
// database open meanwhile, so that the steps share one connection.
void showInquiry(FlexGrid* grid, const 時間TBL::TimeTableRequest& tableRequest, const 予約TBL::CountRequest& countRequest)
{
    const store::Database db = store::Database::open();
    const TimeTable table = 時間TBL::BuildTimeTable(tableRequest);
    const SlotCounts counts = 予約TBL::BuildReservationCounts(countRequest);
    営業状色付::ShowBusinessStatus(grid, table, counts.Slots);
    予約状色付::ColourReservationStatus(grid, table, counts);
}

// Reads start and end of every row the statement yields, as the count does.
double rawRead(sqlite3* db, const char* sql, const QStringList& parameters, int* rows)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    QString sink;
    const double micros = medianMicros(kRuns, [&] {
        for (int i = 0; i < parameters.size(); ++i)
            sqlite3_bind_text16(stmt, i + 1, parameters[i].utf16(), int(parameters[i].size() * 2), SQLITE_TRANSIENT);
        *rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sink = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))
                   + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
            ++*rows;
        }
        sqlite3_reset(stmt);
    });
    sqlite3_finalize(stmt);
    return micros;
}

} // namespace

int gridBench()
{
    // The modules open Kelvora.mdb in the current folder: a link to the generated database,
    // which they only read.
    const QString generated = generatedDatabase();
    QTemporaryDir folder;
    if (!folder.isValid() || !QFile::link(generated, folder.filePath("Kelvora.mdb")) || !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "cannot prepare a working folder for the grid benchmark\n");
        return 1;
    }
    const Settings settings = 初期処理::LoadStartupSettings(store::Database::open());
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
    const CMB対象::TargetList targets = CMB対象::LoadTargetList();
    sqlite3* raw = nullptr;
    sqlite3_open_v2(generated.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
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
        const double ours = medianMicros(kRuns, [&] { showInquiry(&grid, table, counts); });
        int rows = 0;
        const double direct = rawRead(raw,
                                      "SELECT 予約_開始時間, 予約_終了時間 FROM 予約 WHERE 予約_設定番号 = ? AND 予約_年月日 BETWEEN ? AND ? "
                                      "ORDER BY 予約_年月日, 予約_開始時間",
                                      {"00015", "2026/06/09", "2026/06/15"}, &rows);
        std::printf("# grid_seven_days reads %d reservations into a grid of %d x %d\n", rows, grid.rows(), grid.cols());
        printMillis("grid_seven_days", ours);
        printRatio("grid_seven_days", ours, direct);
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
        const double ours = medianMicros(kRuns, [&] { showInquiry(&grid, table, counts); });
        int rows = 0;
        const double direct = rawRead(raw,
                                      "SELECT 予約_開始時間, 予約_終了時間 FROM 予約 WHERE 予約_年月日 = ? "
                                      "ORDER BY 予約_設定番号, 予約_開始時間",
                                      {"2026/06/01"}, &rows);
        std::printf("# grid_one_day reads %d reservations into a grid of %d x %d\n", rows, grid.rows(), grid.cols());
        printMillis("grid_one_day", ours);
        printRatio("grid_one_day", ours, direct);
    }
    sqlite3_close(raw);
    return 0;
}

} // namespace bench
