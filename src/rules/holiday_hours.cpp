#include "rules/holiday_hours.h"

#include "records/hours.h"
#include "records/targets.h"
#include "rules/holidays_in_force.h"
#include "rules/time_table.h"

namespace holiday_hours {

namespace {

// A date on the weekday (1 Sunday to 7 Saturday), for the daily hours that go by weekday.
QDate dateOnWeekday(int weekday)
{
    return QDate(2000, 1, 2).addDays(weekday - 1); // 2000/01/02 was a Sunday
}

// The bands of an ordinary day of the weekday, by the time table's own order of precedence.
HoursList weekdayBands(const 時間TBL::HoursTables& tables, const QString& target, const Request& request)
{
    TimeTableColumn column;
    column.Target = target;
    column.ColumnDate = dateOnWeekday(request.weekday);
    if (request.dailyHoursKind == 1)
        時間TBL::LoadDailyHours(tables, column, request.dailyHoursKind);
    return column.HasOwnHours == 1 ? column.OwnRows : 時間TBL::LoadCommonRegularHours(tables, target, false);
}

void replaceSpecificBands(const store::Database& db, const records::HoursKey& key, const HoursList& bands)
{
    for (const records::HoursBand& old : records::listBands(db, key))
        records::removeBand(db, key, old.start);
    for (const records::HoursBand& band : bands)
        records::saveBand(db, key, band);
}

} // namespace

std::vector<QDate> HolidayDates(const store::Database& db, const Request& request)
{
    const national_holidays::HolidayNames holidays = national_holidays::holidayNamesBetween(db, request.firstDay, request.lastDay);
    std::vector<QDate> dates;
    for (const auto& [date, name] : holidays.byDate())
        dates.push_back(date);
    return dates;
}

Copied CopyWeekdayHours(const store::Database& db, const Request& request, const store::Progress& progress)
{
    store::Transaction transaction(db);
    const std::vector<QDate> dates = HolidayDates(db, request);
    QStringList targets;
    for (const records::Target& target : records::listTargets(db)) {
        if (target.number != records::kCommonTarget)
            targets << target.number;
    }
    const QDate day = dateOnWeekday(request.weekday);
    const 時間TBL::HoursTables tables(db, day, day, request.dailyHoursKind, targets + QStringList{records::kCommonTarget});
    Copied copied{int(dates.size()), 0};
    for (qsizetype i = 0; i < targets.size(); ++i) {
        store::report(progress, i, targets.size());
        const HoursList bands = weekdayBands(tables, targets[i], request);
        if (bands.empty())
            continue;
        for (const QDate& date : dates)
            replaceSpecificBands(db, {records::HoursKind::Specific, targets[i], 1, 0, date}, bands);
        ++copied.targets;
    }
    transaction.commit();
    return copied;
}

} // namespace holiday_hours
