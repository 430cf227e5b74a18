#pragma once

#include "rules/slot_types.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// Process-wide state: the settings loaded at start-up, the modes the menu sets, the target being
// worked on, and what forms hand to each other. Grouped by owner; forms move values in and out,
// modules take what they need as arguments where they can.

struct Settings {
    int UnitMinutes = 30;
    int RetentionMonths = 12;
    int DailyHoursKind = 1;
    QString FiscalYearStart = QStringLiteral("04/01");
    int DisplayStartHour = 8;
    int DisplayEndHour = 24;
    QString NumberPrefix; // as stored; see NumberPrefixOn
    QString NumberingKind = QStringLiteral("1");
    // The date a form works on, as text; empty: today. No date is fixed at start-up, as a desk
    // may run past midnight: what needs today asks the clock when it needs it.
    QString WorkingDate;
    QColor OffHoursColour;
    QStringList WeekdayNames; // "日" .. "土", index 0 = Sunday

    // The prefix of a reserver number issued on `day`: "YYYY" (upper case only) stands for its
    // year.
    QString NumberPrefixOn(const QDate& day) const;
};

struct Modes {
    int TimeTableMode = 0; // 1 hours entry, 2 inquiry by day, 3 inquiry by target
    int HoursFormKind = 0; // 1 weekly, 2 daily, 3 specific-day hours
    int InquiryKind = 0;   // 1 by target, 2 by day
};

struct TargetSelection {
    QString CurrentTarget;
    QString CurrentTargetName;
    QString CurrentTargetAbbrev;
    QStringList TargetList;       // target numbers without "00000", at most 100
    QStringList TargetAbbrevList; // their abbreviations, same positions

    int ColumnCount() const { return int(TargetList.size()); }
};

// What the time inquiry and the reservation entry form hand to each other.
struct BookingHandOff {
    QDate SelectedDate;      // first date of the inquiry
    QDate SelectedLastDate;  // last date of the inquiry by target
    QString SlotDate;        // "yyyy/mm/dd" of the chosen slot
    QString SlotStart;       // "hh:mm"
    QString SlotEnd;         // "hh:mm"
    QString SlotReserverNo;  // of the chosen reservation, for an existing one
    QString SlotReserverName;
    int EntryState = 0;      // in: 2 new, 1 existing; out: 1 kept, 2 added, 3 deleted, 4 time changed
};

struct HoursEditing {
    int HoursAction = 0; // 1 refresh of the hours grid, 2 save, 3 delete
    int HoursDay = 0;    // weekday number or day of month being edited
    QDate SpecificDate;  // date being edited in the specific-day hours form
};

struct OverlapState {
    QString OverlapFlag = QStringLiteral("0"); // of the current target: "1" overlap allowed
    int OverlapLimit = 0;
    QString CommonOverlapFlag = QStringLiteral("0");
    int CommonOverlapCount = 0;
    QStringList RowOverlapFlag;   // per slot-grid data row
    std::vector<int> RowOverlapLimit;
};

struct AppState {
    Settings settings;
    Modes modes;
    TargetSelection targets;
    BookingHandOff booking;
    HoursEditing hours;
    OverlapState overlap;
    TimeTable timeTable;
    SlotCounts counts;
};

// The one instance for the process.
AppState& app();
// Back to a fresh state (used by tests).
void resetAppState();
