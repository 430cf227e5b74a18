#pragma once

#include "records/hours.h"

#include <QDate>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

// The time table of the open slot grid: for every column (a date, or a target in the inquiry by
// day) the closure flag in force and the lists of hours rows that apply to it. Lists grow with
// what is stored: no column and no row is ever dropped.

// One band of business hours, as stored: start and end (the end is exclusive) and whether the band
// is closed time (shown "休") or open time.
using HoursRow = records::HoursBand;
using HoursList = records::HoursBands;

struct TimeTableColumn {
    QDate ColumnDate;     // the date of the column (the selected date in the inquiry by day)
    QString ColumnLabel;  // weekday number "1" (Sunday) to "7", or day of month "1".."31"
    QString Target;       // the target the column stands for
    QString TargetAbbrev; // its short name
    int CalendarFlag = 0; // 1: closed all day
    int HasOwnHours = 0;  // 1: `OwnRows` apply (daily hours, or the target's weekly hours by day)
    int HasSpecificHours = 0;
    HoursList OwnRows;
    HoursList SpecificRows;
};

struct TimeTable {
    bool TargetColumns = false;           // the columns are targets (inquiry by day), not dates
    HoursList CommonRows;                 // weekly hours of the target, else of "00000"
    std::vector<TimeTableColumn> Columns; // Columns[0] is time-table column 1

    int ColumnCount() const { return int(Columns.size()); }
};

// The bookable slots of a displayed day, in order. Slot k is the interval [start(k), end(k)) in
// minutes after midnight and is shown in grid column k + 1 of every slot grid. The slots are
// the hour entries times the minute marks: slot k has hour entry k / SlotMinutes.size() and
// minute entry k % SlotMinutes.size().
struct SlotTimes {
    std::vector<int> SlotHours;   // start hour of each hour entry
    std::vector<int> SlotMinutes; // minute marks within an hour entry ({0} for hour and day units)
    int UnitMinutes = 30;         // length of a slot
    int WindowEnd = 0;            // end of the last hour shown, in minutes; no slot runs past it

    int count() const { return int(SlotHours.size() * SlotMinutes.size()); }
    int start(int slot) const;
    int end(int slot) const;
    QString startText(int slot) const; // "hh:mm"
    QString endText(int slot) const;   // "hh:mm", "24:00" at the end of the day
    // The slot of hour entry h and minute entry m, and the grid columns of slots.
    int slot(int hourEntry, int minuteEntry) const { return hourEntry * int(SlotMinutes.size()) + minuteEntry; }
    static int column(int slot) { return slot + 1; }
    std::optional<int> slotAtColumn(int gridColumn) const;
    // The slots [first, last) that an interval [startMinutes, endMinutes) overlaps: a
    // reservation counts in, and is listed for, exactly these slots.
    std::pair<int, int> covering(int startMinutes, int endMinutes) const;
    // The first slot that starts at or after a time (count() when none does): the slots that
    // start inside [a, b) are [firstStartingFrom(a), firstStartingFrom(b)).
    int firstStartingFrom(int minutes) const;
};

// The slots and, for every time-table column, how many reservations cover each slot.
struct SlotCounts {
    SlotTimes Slots;
    // ReservationCount[column][slot]: column 0 is time-table column 1.
    std::vector<std::vector<int>> ReservationCount;
    // The same for the entries of the waiting list (none read: empty).
    std::vector<std::vector<int>> WaitingCount;
};
