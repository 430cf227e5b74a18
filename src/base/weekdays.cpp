#include "base/weekdays.h"

namespace weekdays {

int numberOf(const QDate& date)
{
    return date.dayOfWeek() % 7 + 1;
}

QString name(int weekdayNumber)
{
    static const QString names[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                                    QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};
    return weekdayNumber >= 1 && weekdayNumber <= 7 ? names[weekdayNumber - 1] : QString();
}

QString note(const QDate& date, const QString& holiday)
{
    const QString weekday = name(numberOf(date));
    return holiday.isEmpty() ? weekday : weekday + QStringLiteral("・") + holiday;
}

} // namespace weekdays
