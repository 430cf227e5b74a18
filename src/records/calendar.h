#pragma once

#include "store/database.h"
#include "store/read_ahead.h"
#include "store/progress.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

// Table カレンダー, one record per target number and date: a closed day (休業日) or, on a target's
// own record, a day kept open over a common closure (営業日), with its registered name. The
// common calendar ("00000") applies to every target without a record of its own for the date.
namespace records {

struct ClosureDay {
    bool closed = true; // カレ_休日FLG 1
    QString name;
};

struct CalendarDay {
    QString target;
    QDate date;
    ClosureDay day;
};

std::optional<ClosureDay> findClosureDay(const store::Database& db, const QString& target, const QDate& date);
// Adds the record, or changes the one that is there; the same for every date given. `progress`
// hears how many dates are done.
void saveClosureDays(const store::Database& db, const QString& target, const std::vector<QDate>& dates, const ClosureDay& day,
                     const store::Progress& progress = {});
// Deletes the records of the target on these dates; how many there were.
int removeClosureDays(const store::Database& db, const QString& target, const std::vector<QDate>& dates,
                      const store::Progress& progress = {});
// Every record from `first` through `last`, by date, then target.
std::vector<CalendarDay> listCalendarDays(const store::Database& db, const QDate& first, const QDate& last);
store::Range calendarDaysRange(const QDate& first, const QDate& last);
// Deletes every record dated from `from` through `through`; how many went.
int removeCalendarDaysBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress = {});

} // namespace records
