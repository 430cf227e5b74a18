#include "base/app_state.h"

namespace {
AppState& instance()
{
    static AppState state;
    return state;
}
} // namespace

AppState& app()
{
    return instance();
}

void resetAppState()
{
    instance() = AppState();
}
