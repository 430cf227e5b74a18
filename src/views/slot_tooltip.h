#pragma once

#include "rules/slot_types.h"
#include "store/database.h"

#include <QString>

// What the mouse resting on a slot cell of a slot grid shows, so that the desk sees who holds a
// slot without choosing it: on a closed day the name of the closure, then one line a reservation
// covering the slot, in start order (time, reserver name and number, phone, remark), then one
// line a customer waiting for it (time, name, phone). Empty for a slot that has none of these.
namespace slot_tooltip {

QString text(const store::Database& db, const TimeTableColumn& column, const SlotTimes& daySlots, int slot);

} // namespace slot_tooltip
