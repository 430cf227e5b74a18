#pragma once

#include <QDate>
#include <QString>

// What one closure calendar shows: whose calendar, which month, and for the regular holidays the
// fiscal year. Each calendar form keeps its own: the forms are modeless and may be open side by
// side, and one form's month must not steer another form's clicks.
struct CalendarState {
    QString Target;           // rows of this target number and of "00000" are shown
    QDate CalendarMonthStart; // first day of the month shown
    QDate FiscalYearFirstDay; // regular holidays only (mode 3): the fiscal year shown
    QDate FiscalYearLastDay;
};
