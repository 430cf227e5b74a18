#include "rules/holiday_dates.h"

#include <algorithm>

namespace holiday_dates {

std::vector<QDate> WeekdayDates(const QDate& firstDay, const QDate& lastDay, const Weekdays& weekdays)
{
    std::vector<QDate> dates;
    for (QDate date = firstDay; date < lastDay; date = date.addDays(1)) {
        if (weekdays[date.dayOfWeek() % 7 + 1])
            dates.push_back(date);
    }
    return dates;
}

std::vector<QDate> MonthlyDates(const QDate& firstDay, const QDate& lastDay, int day)
{
    std::vector<QDate> dates;
    const QDate firstMonth(firstDay.year(), firstDay.month(), 1);
    for (QDate date(firstMonth.year(), firstMonth.month(), std::min(day, firstMonth.daysInMonth())); date < lastDay;
         date = date.addMonths(1)) {
        // A year that starts after the 1st leaves out that day of its first month.
        if (date >= firstDay)
            dates.push_back(date);
    }
    return dates;
}

} // namespace holiday_dates
