#pragma once

#include <QDate>
#include <QString>
#include <vector>

// The time table of the open slot grid: for every column (a date, or a target in the inquiry by
// day) the closure flag in force and the lists of hours rows that apply to it.

// One band of business hours: start and end as "hh:mm" text (the end is exclusive) and whether
// the band is closed time (1, shown "休") or open time (0).
struct HoursRow {
    QString start;
    QString end;
    int closed = 0;
    bool operator==(const HoursRow&) const = default;
};
using HoursList = std::vector<HoursRow>;

struct TimeTableColumn {
    QDate ColumnDate;      // the date of a date column (the selected date in the inquiry by day)
    QString ColumnLabel;   // weekday number "1" (Sunday) to "7", or day of month "1".."31"
    QString Target;        // the column's target in the inquiry by day
    int CalendarFlag = 0;  // 1: closed all day
    int HasOwnHours = 0;   // 1: `OwnRows` apply (daily hours, or the target's weekly hours by day)
    int HasSpecificHours = 0;
    HoursList OwnRows;
    HoursList SpecificRows;
};

struct TimeTable {
    HoursList CommonRows;                 // weekly hours of the target, else of "00000"
    std::vector<TimeTableColumn> Columns; // Columns[0] is time-table column 1

    int ColumnCount() const { return int(Columns.size()); }
};

// Slots of a day and how many reservations cover each slot of each column.
struct SlotCounts {
    std::vector<int> SlotHours;   // the hours shown, in order
    std::vector<int> SlotMinutes; // the minute marks within an hour
    // ReservationCount[column][hour entry][minute entry], all 0-based.
    std::vector<std::vector<std::vector<int>>> ReservationCount;
};
