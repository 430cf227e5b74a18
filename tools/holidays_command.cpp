#include "holidays_command.h"

#include "base/input.h"
#include "command_line.h"
#include "rules/holidays_in_force.h"
#include "rules/national_holidays.h"
#include "store/database.h"

#include <QTextStream>
#include <optional>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: kelvora-db holidays YEAR [YEAR2] [--db FILE]\n";
    return 2;
}

std::optional<int> yearOf(const QString& text)
{
    const std::optional<int> year = input::wholeNumber16(text);
    if (!year || *year < national_holidays::kFirstYear || *year > national_holidays::kLastYear)
        return std::nullopt;
    return year;
}

} // namespace

int runHolidaysCommand(const QStringList& arguments)
{
    Options options(arguments);
    const std::optional<QString> database = options.value("--db");
    if (options.rest.isEmpty() || options.rest.size() > 2 || options.rest.contains("--db"))
        return usage();
    const std::optional<int> first = yearOf(options.rest.first());
    const std::optional<int> last = yearOf(options.rest.last());
    if (!first || !last)
        return fail(
            QStringLiteral("年に%1から%2までを入力してください").arg(national_holidays::kFirstYear).arg(national_holidays::kLastYear));
    if (*first > *last)
        return fail(QStringLiteral("期間に正しく入力してください"));

    QTextStream out(stdout);
    const QDate from(*first, 1, 1);
    const QDate through(*last, 12, 31);
    if (database) {
        for (const national_holidays::DayOfRecord& day :
             national_holidays::holidaysBetween(store::Database::open(*database), from, through)) {
            if (day.inForce())
                out << input::dateText(day.date) << ' ' << day.name << '\n';
        }
    } else {
        for (int year = *first; year <= *last; ++year) {
            for (const national_holidays::Holiday& day : national_holidays::holidaysOfYear(year))
                out << input::dateText(day.date) << ' ' << day.name << '\n';
        }
    }
    for (int year = *first; year <= *last; ++year) {
        if (national_holidays::isForecast(year)) {
            out << QStringLiteral("（%1年以降は予想です）\n").arg(year);
            break;
        }
    }
    return 0;
}
