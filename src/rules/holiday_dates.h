#pragma once

#include <QDate>
#include <array>
#include <vector>

// The dates a regular holiday falls on within a fiscal year: from its first day up to, not
// including, its last day.
namespace holiday_dates {

// Weekday flags indexed 1 (Sunday) to 7 (Saturday); index 0 is unused.
using Weekdays = std::array<bool, 8>;

// Every date of the year whose weekday is ticked.
std::vector<QDate> WeekdayDates(const QDate& firstDay, const QDate& lastDay, const Weekdays& weekdays);

// The day of the month (1 to 31) in every month of the year. A month without that day takes its
// last day, and the months after it keep the shortened day; a first month without it starts on its
// last day too.
std::vector<QDate> MonthlyDates(const QDate& firstDay, const QDate& lastDay, int day);

} // namespace holiday_dates
