#pragma once

#include "store/database.h"
#include "views/calendar_state.h"

#include <QDate>
#include <QString>

class FlexGrid;

// Module Grid休業: draws a month of the closure calendar into a form's two grids, a seven-column
// month calendar whose day numbers are coloured by the closure in force for the target (red) and
// the national holidays (light magenta, named on hover), and the list of the month's calendar rows
// of that target and of the common calendar.
namespace Grid休業 {

// Calendar modes; they differ only in the list rows shown.
enum Mode {
    IndividualClosures = 1, // one target's closure days
    StatusInquiry = 2,      // the reservation status inquiry
    RegularHolidays = 3,    // the common calendar of one fiscal year: rows outside it are left out
};

// Columns of the list grid.
enum ListColumn { DateColumn = 0, KindColumn = 1, CommonColumn = 2, NameColumn = 3, ListColumns = 4 };

// "区" of a closed row and "対" of a common row; other rows show one full-width space.
inline const QString kClosedMark = QStringLiteral("休");
inline const QString kCommonMark = QStringLiteral("共");
inline const QString kBlankMark = QStringLiteral("\u3000");

// The empty calendar: seven columns, weekday names in row 0, weeks in rows 1 to 6.
void InitCalendarGrid(FlexGrid* calendar);

// Lays out the list and fills it with the month's rows of the target and of the common calendar,
// in date order (in mode 3 only those within the fiscal year). The list has 60 data rows and
// grows when the month has more. Returns the number of data rows written.
int FillClosureList(const store::Database& db, int mode, FlexGrid* list, const CalendarState& state);

// The closure flag in force for a target on a date: its own row's, else the common row's, else 0.
int LookUpDayFlag(const store::Database& db, const QString& target, const QDate& date);

// Draws the month: the calendar, with today's date framed and the holidays read once for the
// month, then the list. Returns the number of list rows written.
int DrawClosureCalendar(const store::Database& db, int mode, FlexGrid* calendar, FlexGrid* list, const CalendarState& state);

} // namespace Grid休業
