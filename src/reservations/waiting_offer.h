#pragma once

#include "rules/booking_write.h"
#include "ui/desk.h"

#include <QString>

// After a write that freed time (a booking cancelled, moved away or shortened), the desk that
// wrote it offers the time to the customers waiting for it: when there are any, it says how many
// (a message headed `title`) and opens キャンセル待ち一覧 on them.
void OfferFreedTime(const Desk& desk, const booking_write::Outcome& outcome, const QString& title);
