#pragma once

#include <QDate>
#include <QString>

// Weekday numbers as the desk counts them: 1 Sunday to 7 Saturday.
namespace weekdays {

int numberOf(const QDate& date);
// "日" for 1 to "土" for 7; empty for any other number.
QString name(int weekdayNumber);
// What the brackets after a date hold: its weekday name, and the name of the holiday it is, if
// any ("月", "月・海の日").
QString note(const QDate& date, const QString& holiday);

} // namespace weekdays
