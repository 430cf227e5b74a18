#include "base/settings.h"

QString Settings::NumberPrefixOn(const QDate& day) const
{
    return NumberPrefix == QLatin1String("YYYY") ? QString::number(day.year()) : NumberPrefix;
}
