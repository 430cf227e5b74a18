#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The settings of the desk, read at start-up from the common basic record and the seven master
// items. One value, handed to whoever needs it and read again when the menu reloads them.
struct Settings {
    int UnitMinutes = 30;
    int RetentionMonths = 12;
    int DailyHoursKind = 1; // 1 daily hours by weekday, 2 by day of the month
    QString FiscalYearStart = QStringLiteral("04/01");
    int DisplayStartHour = 8;
    int DisplayEndHour = 24;
    QString NumberPrefix; // as stored: "YYYY" stands for the year a number is issued in
    QString NumberingKind = QStringLiteral("1");
    QColor OffHoursColour = QColor(230, 255, 220);
    QStringList WeekdayNames = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                                QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};
};
