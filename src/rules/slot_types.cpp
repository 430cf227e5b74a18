#include "rules/slot_types.h"

#include "base/input.h"

#include <algorithm>

int SlotTimes::start(int slot) const
{
    const int perHour = int(SlotMinutes.size());
    return SlotHours[size_t(slot / perHour)] * 60 + SlotMinutes[size_t(slot % perHour)];
}

int SlotTimes::end(int slot) const
{
    return std::min(start(slot) + UnitMinutes, WindowEnd);
}

QString SlotTimes::startText(int slot) const
{
    return input::timeText(start(slot) / 60, start(slot) % 60);
}

QString SlotTimes::endText(int slot) const
{
    return input::timeText(end(slot) / 60, end(slot) % 60);
}

std::optional<int> SlotTimes::slotAtColumn(int gridColumn) const
{
    if (gridColumn < 1 || gridColumn > count())
        return std::nullopt;
    return gridColumn - 1;
}

std::pair<int, int> SlotTimes::covering(int startMinutes, int endMinutes) const
{
    int first = 0;
    while (first < count() && end(first) <= startMinutes)
        ++first;
    return {first, std::max(first, firstStartingFrom(endMinutes))};
}

int SlotTimes::firstStartingFrom(int minutes) const
{
    int slot = 0;
    while (slot < count() && start(slot) < minutes)
        ++slot;
    return slot;
}
