#pragma once

#include "rules/slot_types.h"
#include "store/database.h"

#include <QDate>
#include <QStringList>
#include <map>
#include <optional>

// Module 時間TBL: the time table of a slot grid. For every column (a date of one target, or a
// target on one date) it finds the closure flag and the hours rows in force. From strongest to
// weakest: a closure day, the target's specific-day hours, the target's daily hours, the daily
// hours of "00000", the target's weekly hours, the weekly hours of "00000". A target's own
// calendar row overrides the common one either way (it can open a day that "00000" closes).
namespace 時間TBL {

// What a build reads: the mode and kinds of the form that shows the grid, its target or targets
// and its dates.
struct TimeTableRequest {
    int TimeTableMode = 0;  // 1 hours entry, 2 inquiry by day, 3 inquiry by target
    int HoursFormKind = 0;  // 1 weekly, 2 daily, 3 specific-day hours
    int InquiryKind = 0;    // 1 by target, 2 by day
    int DailyHoursKind = 1; // 1 daily hours by weekday, else by day of month
    QString CurrentTarget;
    QString CurrentTargetAbbrev;
    QDate WorkingDate;
    QDate SelectedDate;
    QDate SystemDate; // the month of the month columns
    QStringList TargetList;
    QStringList TargetAbbrevList;
};

TimeTable BuildTimeTable(const store::Database& db, const TimeTableRequest& request);
// What BuildTimeTable() reads for columns dated from `first` through `last`, to be read ahead.
std::vector<store::Range> TimeTableRanges(const QDate& first, const QDate& last);

// Date columns: the week from the first Sunday on or after the working date, seven days from
// the working date, or every day of the system date's month.
std::vector<TimeTableColumn> FillWeekColumns(const QDate& workingDate);
std::vector<TimeTableColumn> FillSevenDayColumns(const QDate& workingDate);
std::vector<TimeTableColumn> FillMonthColumns(const QDate& systemDate);

// The closures and hours rows a build may need, read with one pass over each table: the calendar
// rows dated within the columns' dates, and the bands of the given targets (the specific-day
// ones within those dates, the weekly ones, the daily ones of the cycle in force). A build over a
// hundred targets costs four scans, not hundreds of seeks; the bands of other targets are not read.
struct HoursTables {
    HoursTables(const store::Database& db, const QDate& first, const QDate& last, int dailyHoursKind, const QStringList& targets);

    std::map<std::pair<QString, QDate>, int> calendar;       // (target, date): カレ_休日FLG
    std::map<QString, HoursList> regular;                    // target: weekly bands
    std::map<std::pair<QString, int>, HoursList> daily;      // (target, day key): daily bands
    std::map<std::pair<QString, QDate>, HoursList> specific; // (target, date): specific bands
};

// Fills closure flags and hours of date columns of one target, or of target columns of one date.
void BuildDateColumns(const HoursTables& tables, TimeTable& table, int dailyHoursKind);
void BuildTargetColumns(const HoursTables& tables, TimeTable& table, int dailyHoursKind);

// `カレ_休日FLG` of the calendar row of the target and date, or nothing when there is none.
std::optional<int> LookUpCalendarFlag(const HoursTables& tables, const QString& target, const QDate& date);

// The weekly hours of "00000", replaced by the target's own when it has any (unless the columns
// are targets, which get their own weekly hours through LoadTargetRegularHours).
HoursList LoadCommonRegularHours(const HoursTables& tables, const QString& target, bool targetColumns);
void LoadTargetRegularHours(const HoursTables& tables, TimeTableColumn& column);
void LoadDailyHours(const HoursTables& tables, TimeTableColumn& column, int dailyHoursKind);
void LoadSpecificDayHours(const HoursTables& tables, TimeTableColumn& column);

// The hours rows in force for a column that is not closed all day.
const HoursList& HoursInForce(const TimeTable& table, const TimeTableColumn& column);

// A stretch of a day, [start, end) in minutes after midnight.
struct MinuteSpan {
    int start = 0;
    int end = 0;
    bool operator==(const MinuteSpan&) const = default;
};

// A day of one target as a booking is checked against it: closed all day, or its hours bands, and
// the slots of the grid it was chosen on.
struct DayHours {
    bool closedDay = false;
    HoursList bands;
    SlotTimes daySlots;

    // The open time of the day, in order: what the open bands cover outside the closed ones, so
    // the time before the first band, after the last one and a break are closed. On a day without
    // open bands only its closed bands are closed; a closed day has none. Every grid, sheet and
    // question of the desk takes closed time from here.
    std::vector<MinuteSpan> openTime() const;
    // The closed time within the hours the grid shows (from its first slot to the end of its last
    // hour), in order.
    std::vector<MinuteSpan> closedTimeShown() const;
    // For every slot of the day, whether it is closed: it holds no open time. A slot that holds
    // some (a long slot across the opening) is open. The slot grids paint the closed ones.
    std::vector<bool> closedSlots() const;
    // Whether a booking of [start, end) (minutes after midnight) covers a closed slot.
    bool coversClosedTime(int start, int end) const;
};
DayHours DayHoursOf(const TimeTable& table, const TimeTableColumn& column, const SlotTimes& daySlots);
// The days of one target on the given dates, as the slot grids show them, read with one pass over
// each table of hours and closures.
std::vector<DayHours> DayHoursOn(const store::Database& db, const QString& target, const std::vector<QDate>& dates, int dailyHoursKind,
                                 const SlotTimes& daySlots);

} // namespace 時間TBL
