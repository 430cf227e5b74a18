#pragma once

#include "store/database.h"

#include <QDate>
#include <QString>
#include <map>
#include <vector>

// The national holidays as the desk keeps them: the computed days with the operator's corrections
// (table 祝日) laid over them.
namespace national_holidays {

enum class Origin {
    Computed, // by the law, as the program computes it
    Added,    // by the operator: a day the law did not give, or a computed day renamed
    Removed,  // by the operator: a computed day taken away; not a holiday
};

struct DayOfRecord {
    QDate date;
    QString name;
    Origin origin = Origin::Computed;
    bool inForce() const { return origin != Origin::Removed; }
    bool operator==(const DayOfRecord&) const = default;
};

// Every computed day and every correction dated from `first` through `last`, by date: a removed
// day keeps the computed name (the stored one when no day of the law falls on it any more), so that
// a list can show what was taken away. Only the days inForce() are holidays.
std::vector<DayOfRecord> holidaysBetween(const store::Database& db, const QDate& first, const QDate& last);

// The names of the holidays in force over some dates, read once for a whole drawing (a month, a
// week, a day) and looked up by each of its cells.
class HolidayNames {
public:
    HolidayNames() = default;
    explicit HolidayNames(const std::vector<DayOfRecord>& days);

    // The holiday's name; empty for a day that is none.
    QString on(const QDate& date) const;
    const std::map<QDate, QString>& byDate() const { return names_; }

private:
    std::map<QDate, QString> names_;
};

// The holidays in force from `first` through `last`.
HolidayNames holidayNamesBetween(const store::Database& db, const QDate& first, const QDate& last);

} // namespace national_holidays
