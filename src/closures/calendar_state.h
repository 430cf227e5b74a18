#pragma once

#include <QDate>
#include <QString>

// The month and selection of the closure calendar, shared by the three calendar forms.
struct CalendarState {
    QDate CalendarMonthStart;   // first day of the month shown
    QString CalendarMonthText;  // its month number without leading zero ("4")
    int CalendarSelCol = 0;     // highlighted calendar cell; (0, 0) none
    int CalendarSelRow = 0;
    int ClosureListSelCol = 0;  // highlighted list row; (0, 0) none
    int ClosureListSelRow = 0;
    int ClosureListCount = 0;   // data rows written by the last draw
    QDate FiscalYearFirstDay;   // fiscal year of the regular-holidays form
    QDate FiscalYearLastDay;
};
