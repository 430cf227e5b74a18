#pragma once

#include "records/reservations.h"
#include "store/database.h"

// How full a stretch of time already is, for a booking that does not come through a slot of the
// grid (a cancelled booking restored).
namespace 予約TBL {

// The most reservations of the target on the date that hold one moment from `start` up to `end`.
int BusiestOverlap(const store::Database& db, const QString& target, const QDate& date, const input::TimeOfDay& start,
                   const input::TimeOfDay& end);

} // namespace 予約TBL
