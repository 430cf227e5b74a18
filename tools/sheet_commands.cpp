#include "sheet_commands.h"

#include "command_line.h"

#include "app/startup.h"
#include "base/clock.h"
#include "base/input.h"
#include "records/targets.h"
#include "rules/occupancy.h"
#include "rules/sheet_csv.h"
#include "rules/sheet_data.h"
#include "sheets/occupancy_sheet.h"
#include "sheets/sheet_painter.h"
#include "store/database.h"

#include <QTextStream>
#include <optional>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: kelvora-db sheet FILE --date YYYY-MM-DD [--target NNNNN] [--week | --calls] --pdf OUT.pdf\n"
                           "       kelvora-db export FILE reservations --from YYYY-MM-DD --to YYYY-MM-DD OUT.csv\n"
                           "       kelvora-db export FILE reservers OUT.csv\n"
                           "       kelvora-db stats FILE --from YYYY-MM --to YYYY-MM [--target NNNNN] OUT.csv|OUT.pdf\n";
    return 2;
}

std::optional<QDate> dateOption(Options& options, const QString& option)
{
    const std::optional<QString> text = options.value(option);
    return text ? input::date(*text) : std::nullopt;
}

// The settings of the file, as the program reads them at start-up; a setting it cannot read is
// named on stderr and its default used.
Settings settingsOf(const store::Database& db)
{
    Settings settings;
    QStringList problems;
    初期処理::LoadBasicSettings(db, settings, problems);
    初期処理::LoadMasterSettings(db, settings, problems);
    for (const QString& problem : problems)
        QTextStream(stderr) << "kelvora-db: 既定値で処理します: " << problem << '\n';
    return settings;
}

// The registered target a typed number names ("3" is 00003).
std::optional<records::Target> targetOption(const store::Database& db, const QString& typed)
{
    const std::optional<QString> number = records::paddedNumber(typed);
    return number ? records::findTarget(db, *number) : std::nullopt;
}

} // namespace

int runSheetCommand(const QStringList& arguments)
{
    Options options(arguments);
    const std::optional<QDate> date = dateOption(options, "--date");
    const std::optional<QString> pdf = options.value("--pdf");
    const std::optional<QString> typedTarget = options.value("--target");
    const bool week = options.flag("--week");
    const bool calls = options.flag("--calls");
    if (options.rest.size() != 1 || !pdf || (week && calls))
        return usage();
    if (!date)
        return fail(QStringLiteral("日付に正しく入力してください"));

    // Read as it is, never changed: a file of an earlier version, read-only too, is not upgraded.
    const store::Database db = store::Database::openToRead(options.rest[0]);
    std::optional<records::Target> target;
    if (typedTarget && !(target = targetOption(db, *typedTarget)))
        return fail(QStringLiteral("予約対象 %1 は登録されていません").arg(*typedTarget));
    if (week && !target)
        return fail(QStringLiteral("週間一覧には予約対象を指定してください"));

    const Settings settings = settingsOf(db);
    const sheets::Sheet sheet = week    ? sheets::BuildWeekSheet(db, settings, *date, *target)
                                : calls ? sheets::BuildCallSheet(db, *date, target)
                                        : sheets::BuildDaySheet(db, settings, *date, target);
    QString error;
    if (!sheets::writePdf(sheet, *pdf, appclock::now(), &error))
        return fail(QStringLiteral("%1 を書き込めません: %2").arg(*pdf, error));
    return 0;
}

int runExportCommand(const QStringList& arguments)
{
    Options options(arguments);
    const std::optional<QString> from = options.value("--from");
    const std::optional<QString> to = options.value("--to");
    if (options.rest.size() != 3)
        return usage();
    const QString file = options.rest[0];
    const QString what = options.rest[1];
    const QString out = options.rest[2];
    QString error;
    bool written = false;
    if (what == "reservers" && !from && !to) {
        written = sheets::writeReserversCsv(store::Database::openToRead(file), out, &error);
    } else if (what == "reservations" && from && to) {
        const std::optional<QDate> first = input::date(*from);
        const std::optional<QDate> last = input::date(*to);
        if (!first || !last || *first > *last)
            return fail(QStringLiteral("期間に正しく入力してください"));
        written = sheets::writeReservationsCsv(store::Database::openToRead(file), *first, *last, out, &error);
    } else {
        return usage();
    }
    return written ? 0 : fail(QStringLiteral("%1 を書き込めません: %2").arg(out, error));
}

int runStatsCommand(const QStringList& arguments)
{
    Options options(arguments);
    const std::optional<QString> from = options.value("--from");
    const std::optional<QString> to = options.value("--to");
    const std::optional<QString> typedTarget = options.value("--target");
    if (options.rest.size() != 2 || !from || !to)
        return usage();
    const QString out = options.rest[1];
    const bool pdf = out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (!pdf && !out.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return usage();
    const std::optional<QDate> first = input::month(*from);
    const std::optional<QDate> last = input::month(*to);
    if (!first || !last || *last < *first)
        return fail(QStringLiteral("期間に正しく入力してください"));
    if (first->addMonths(occupancy::kMaxMonths) <= *last)
        return fail(QStringLiteral("期間は%1か月以内で入力してください").arg(occupancy::kMaxMonths));

    const store::Database db = store::Database::openToRead(options.rest[0]);
    std::optional<records::Target> target;
    if (typedTarget && !(target = targetOption(db, *typedTarget)))
        return fail(QStringLiteral("予約対象 %1 は登録されていません").arg(*typedTarget));
    const occupancy::Occupancy figures =
        occupancy::BuildOccupancy(db, settingsOf(db), {*first, *last, target ? target->number : QString()});
    const sheets::Sheet sheet = sheets::occupancySheet(figures, sheets::OccupancyPicture::RateChart);
    QString error;
    const bool written = pdf ? sheets::writePdf(sheet, out, appclock::now(), &error) : sheets::writeSheetCsv(sheet, out, &error);
    return written ? 0 : fail(QStringLiteral("%1 を書き込めません: %2").arg(out, error));
}
