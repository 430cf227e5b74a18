#pragma once

#include "store/database.h"
#include "store/progress.h"

#include <QDate>
#include <vector>

// A desk that opens on the national holidays as on a Sunday: the holidays of a fiscal year get, as
// the specific-day hours of every target, the hours that target has on an ordinary day of a
// chosen weekday.
namespace holiday_hours {

struct Request {
    QDate firstDay; // the fiscal year, both days included
    QDate lastDay;
    int weekday = 1;        // whose hours: 1 Sunday to 7 Saturday
    int dailyHoursKind = 1; // daily hours by weekday (1) or by day of the month
};

// The holidays in force in the year: the dates a copy writes.
std::vector<QDate> HolidayDates(const store::Database& db, const Request& request);

// In one transaction, for every target that has hours on the weekday (its own daily hours of that
// weekday, else the common ones, else its own weekly hours, else the common ones; daily hours count
// only when they go by weekday), replaces its specific-day hours on each holiday with those bands.
// The holidays are read again inside the transaction, so that a correction another desk saved
// meanwhile counts: the outcome says how many dates and targets were written.
struct Copied {
    int dates = 0;
    int targets = 0;
};
Copied CopyWeekdayHours(const store::Database& db, const Request& request, const store::Progress& progress = {});

} // namespace holiday_hours
