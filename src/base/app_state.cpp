#include "base/app_state.h"

namespace {
AppState& instance()
{
    static AppState state;
    return state;
}
} // namespace

QString Settings::NumberPrefixOn(const QDate& day) const
{
    return NumberPrefix == QLatin1String("YYYY") ? QString::number(day.year()) : NumberPrefix;
}

AppState& app()
{
    return instance();
}

void resetAppState()
{
    instance() = AppState();
}
