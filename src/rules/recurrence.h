#pragma once

#include "rules/holiday_dates.h"

#include <QDate>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

// The dates of a recurring booking: the repeat rule the operator chooses, its iCalendar RRULE text
// (RFC 5545, read against the first date as DTSTART) and the dates it makes. The first date is
// always the first of its dates.
namespace recurrence {

// A series ends this long after its first date at the latest and has at most this many dates.
inline constexpr int kMaxYears = 3;
inline constexpr int kMaxDates = 200;
inline constexpr int kMaxIntervalWeeks = 8;

enum class Repeat {
    Weekly,           // 毎週: every `intervalWeeks` weeks on the ticked weekdays
    MonthlyByDay,     // 毎月日付: the first date's day of the month
    MonthlyByWeekday, // 毎月曜日: the first date's nth weekday of the month, or the last one
};

// 終了日: the last day a date may fall on.
struct Until {
    QDate date;
    bool operator==(const Until&) const = default;
};
// 回数: how many dates the rule makes, the booked and the left-out ones alike.
struct Count {
    int dates = 0;
    bool operator==(const Count&) const = default;
};

// The fields another repeat uses stay at their defaults.
struct Rule {
    QDate first;
    Repeat repeat = Repeat::Weekly;
    // 毎週: weeks counted from the week (Monday to Sunday) of the first date.
    int intervalWeeks = 1;
    holiday_dates::Weekdays weekdays{};
    // 毎月日付 on the 29th to 31st: a month without that day takes its last day (月末に合わせる)
    // instead of being skipped.
    bool monthEnd = false;
    // 毎月曜日: the month's last such weekday (最終) instead of the nth.
    bool lastWeekday = false;
    std::variant<Until, Count> end = Count{1};

    bool operator==(const Rule&) const = default;
};

// The latest day a series starting on `first` may reach.
QDate lastAllowedDate(const QDate& first);
// Whether the form offers 月末に合わせる (the 29th to 31st) and 最終 (the month's last seven days).
bool monthEndOffered(const QDate& first);
bool lastWeekdayOffered(const QDate& first);

// The control of the form a problem is about.
enum class Field { FirstDate, Interval, Weekdays, LastWeekday, EndDate, Count };
struct Problem {
    Field field;
    QString message;
};
// The first thing wrong with a rule, or nothing when it can be expanded.
std::optional<Problem> check(const Rule& rule);

enum class Cut {
    None,
    ByYears, // the rule goes on past lastAllowedDate()
    ByDates, // the rule makes more than kMaxDates dates
};
struct Expansion {
    std::vector<QDate> dates;
    Cut cut = Cut::None;
};
// The rule's dates in order from the first date; none for a rule check() refuses.
Expansion expand(const Rule& rule);

// The RRULE value ("FREQ=WEEKLY;WKST=MO;INTERVAL=2;BYDAY=TU,TH;COUNT=10") of a rule check() accepts.
QString toRRule(const Rule& rule);
// The RRULE value with its end replaced by UNTIL=`until` (COUNT or UNTIL removed): the part of a
// series up to a day, or from one of its dates on, repeats as it did.
QString withUntil(const QString& text, const QDate& until);
// The rule an RRULE value written by toRRule() means for a series starting on `first`; nothing,
// with a message in `error`, for any other text or one the first date does not fit.
std::optional<Rule> fromRRule(const QString& text, const QDate& first, QString* error);

} // namespace recurrence
