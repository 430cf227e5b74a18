// The sheets on the generated database: the day sheet of every target as PDF, the week sheet of
// one target as PDF, and a month of reservations as CSV, each from the reading of the records to
// the file written.

#include "bench.h"

#include "app/startup.h"
#include "records/targets.h"
#include "rules/sheet_csv.h"
#include "rules/sheet_data.h"
#include "sheets/sheet_painter.h"
#include "store/database.h"

#include <QTemporaryDir>

namespace bench {

namespace {

constexpr int kRuns = 5;

} // namespace

int sheetsBench()
{
    const store::Database db = store::Database::open(generatedDatabase());
    const Settings settings = 初期処理::LoadStartupSettings(db);
    QTemporaryDir out;
    const QDateTime printedAt = QDateTime::currentDateTime();
    QString error;
    bool written = true;

    const QDate day(2026, 6, 1);
    int dayRows = 0;
    printMillis("sheet_day", medianMicros(kRuns, [&] {
                    const sheets::Sheet sheet = sheets::BuildDaySheet(db, settings, day, std::nullopt);
                    dayRows = int(sheet.csvRows().size());
                    written &= sheets::writePdf(sheet, out.filePath("day.pdf"), printedAt, &error);
                }));
    std::printf("# sheet_day: %d reservations of every target on %s\n", dayRows, qPrintable(day.toString(Qt::ISODate)));

    const records::Target target = records::findTarget(db, "00015").value_or(records::Target{"00015", "", "", ""});
    printMillis("sheet_week", medianMicros(kRuns, [&] {
                    written &= sheets::writePdf(sheets::BuildWeekSheet(db, settings, QDate(2026, 6, 9), target), out.filePath("week.pdf"),
                                                printedAt, &error);
                }));

    printMillis("csv_month", medianMicros(kRuns, [&] {
                    written &= sheets::writeReservationsCsv(db, QDate(2026, 6, 1), QDate(2026, 6, 30), out.filePath("month.csv"), &error);
                }));
    if (!written) {
        std::fprintf(stderr, "a sheet could not be written: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

} // namespace bench
