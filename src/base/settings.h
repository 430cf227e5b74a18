#pragma once

#include <QDate>
#include <QString>

// The settings of the desk, read at start-up from the common basic record and the seven master
// items. One value: the menu hands it to each form it opens and hands the new value to the open
// forms when it reads the settings again.
struct Settings {
    int UnitMinutes = 30;
    int RetentionMonths = 12;
    int DailyHoursKind = 1; // 1 daily hours by weekday, 2 by day of the month
    QString FiscalYearStart = QStringLiteral("04/01");
    int DisplayStartHour = 8;
    int DisplayEndHour = 24;
    QString NumberPrefix; // as stored; see NumberPrefixOn
    QString NumberingKind = QStringLiteral("1");

    // The prefix of a reserver number issued on `day`: "YYYY" (upper case only) stands for its
    // year.
    QString NumberPrefixOn(const QDate& day) const;
};
