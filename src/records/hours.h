#pragma once

#include "base/input.h"
#include "store/database.h"
#include "store/progress.h"
#include "store/read_ahead.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// The stored bands of business hours of the three kinds, one record per key and start time:
// 営業 (regular hours of a target), 日別 (the hours of one day of the daily cycle) and 特定日
// (the hours of one date).
namespace records {

enum class HoursKind { Regular = 1, Daily = 2, Specific = 3 };
// 日別_区分: which days the daily cycle numbers.
enum class DailyCycle { Weekday = 1, DayOfMonth = 2 };

// Which bands: the kind, the target, and for daily hours the cycle and day (weekday number 1
// Sunday to 7, or day of the month), for specific hours the date.
struct HoursKey {
    HoursKind kind = HoursKind::Regular;
    QString target;
    int dailyCycle = 1;
    int day = 0;
    QDate date;
};

struct HoursBand {
    input::TimeOfDay start;
    input::TimeOfDay end; // exclusive; 24:00 ends the day
    bool closed = false;  // closed time ("休") rather than open time
    QString remark;
    bool operator==(const HoursBand&) const = default;
};
using HoursBands = std::vector<HoursBand>;

// The bands of a key in time order; none for specific hours without a valid date.
HoursBands listBands(const store::Database& db, const HoursKey& key);
// The first day of the target's daily cycle that has bands.
std::optional<int> firstDailyDay(const store::Database& db, const QString& target, int dailyCycle);
// Adds the band, or changes the key's band that starts at the same time.
void saveBand(const store::Database& db, const HoursKey& key, const HoursBand& band);
// Deletes the key's band that starts at `start`; false when there is none.
bool removeBand(const store::Database& db, const HoursKey& key, const input::TimeOfDay& start);

// The bands of some targets, read in one pass over each table for a slot grid: regular bands by
// target, daily bands of one cycle by target and day, and specific bands of the dates from `first`
// through `last` by target and date. Every list is in time order. Other targets' bands are not
// read, so a band of theirs the program cannot read does not stop this grid.
std::map<QString, HoursBands> regularBands(const store::Database& db, const QSet<QString>& targets);
std::map<std::pair<QString, int>, HoursBands> dailyBands(const store::Database& db, int dailyCycle, const QSet<QString>& targets);
std::map<std::pair<QString, QDate>, HoursBands> specificBands(const store::Database& db, const QDate& first, const QDate& last,
                                                              const QSet<QString>& targets);
// What regularBands(), dailyBands() and specificBands() read, to be read ahead: every regular and
// daily band, the specific bands of the dates.
std::vector<store::Range> bandsRanges(const QDate& first, const QDate& last);
// The dates after `after` on which the target has specific hours, each once, in date order.
std::vector<QDate> specificDates(const store::Database& db, const QString& target, const QDate& after);
// Deletes every specific band dated from `from` through `through`; how many went.
int removeSpecificBandsBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress = {});

} // namespace records
