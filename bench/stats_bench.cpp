// 稼働状況 on the generated database: the figures of every target for one month and for twelve,
// and of one target for twelve, each from the reading of the records to the CSV file written, as
// `kelvora-db stats` does.

#include "bench.h"

#include "app/startup.h"
#include "rules/occupancy.h"
#include "rules/sheet_csv.h"
#include "sheets/occupancy_sheet.h"
#include "store/database.h"

#include <QTemporaryDir>

namespace bench {

namespace {

constexpr int kRuns = 5;

void measureStats(const BenchDatabase& where)
{
    // The desk keeps its connection open, so no measurement pays for connecting.
    const Desk desk = workingDesk();
    const store::Database& db = desk.database;
    const Settings& settings = desk.settings;
    QTemporaryDir out;
    struct Case {
        QByteArray name;
        occupancy::Request request;
    };
    const Case cases[] = {
        {"stats_one_month", {QDate(2026, 6, 1), QDate(2026, 6, 1), QString()}},
        {"stats_twelve_months", {QDate(2025, 7, 1), QDate(2026, 6, 1), QString()}},
        {"stats_twelve_months_one_target", {QDate(2025, 7, 1), QDate(2026, 6, 1), QStringLiteral("00015")}},
    };
    for (const Case& c : cases) {
        occupancy::Occupancy figures;
        bool written = true;
        QString error;
        const double micros = medianMicros(kRuns, [&] {
            figures = occupancy::BuildOccupancy(db, settings, c.request);
            written &= sheets::writeSheetCsv(sheets::occupancySheet(figures, sheets::OccupancyPicture::RateChart),
                                             out.filePath("stats.csv"), &error);
        });
        if (!written)
            std::fprintf(stderr, "the CSV file could not be written: %s\n", qPrintable(error));
        const QByteArray name = c.name + where.suffix;
        std::printf("# %s: %d rows, %d bookings, %s booked of what could be sold\n", name.constData(), int(figures.rows.size()),
                    figures.total.bookings, qPrintable(occupancy::RateText(figures.total.rate())));
        printMillis(name, micros);
    }
}

} // namespace

int statsBench(const StoreOptions& options)
{
    return measureInWorkingFolders(benchDatabases(generatedDatabase(), options), "stats", measureStats);
}

} // namespace bench
