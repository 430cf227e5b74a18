#pragma once

#include "base/input.h"
#include "records/reservations.h"
#include "store/database.h"

#include <QDate>

// Moving a booking to another start, day or target: the reserver, the remark and the day it was
// taken go with it; it takes the new target's short name and overlap rule.
namespace reservation_move {

struct Place {
    QString target;
    QString abbrev; // the target's short name
    QDate date;
    input::TimeOfDay start;
    input::TimeOfDay end;
    bool overlapAllowed = false;
};

enum class Result {
    Moved,
    Gone,     // the reservation is no longer stored
    KeyTaken, // the reserver already has a reservation starting there
};

// Removes the reservation and stores it at the new place in one transaction, so that it is never
// lost nor doubled; the reserver's latest booking date moves forward to the new date.
Result Move(const store::Database& db, const records::ReservationKey& from, const Place& to);

} // namespace reservation_move
