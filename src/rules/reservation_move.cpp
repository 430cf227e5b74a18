#include "rules/reservation_move.h"

#include "records/reservers.h"

namespace reservation_move {

Result Move(const store::Database& db, const records::ReservationKey& from, const Place& to)
{
    store::Transaction moving(db);
    std::optional<records::Reservation> booking = records::findReservation(db, from);
    if (!booking)
        return Result::Gone;
    if (records::findReservation(db, {to.target, to.date, to.start, from.reserverNo}))
        return Result::KeyTaken;
    records::removeReservation(db, from);
    booking->target = to.target;
    booking->abbrev = to.abbrev;
    booking->date = to.date;
    booking->start = to.start;
    booking->end = to.end;
    booking->overlapAllowed = to.overlapAllowed;
    records::saveReservation(db, *booking);
    if (std::optional<records::Reserver> reserver = records::findReserver(db, from.reserverNo);
        reserver && (!reserver->lastBooked || *reserver->lastBooked < to.date)) {
        reserver->lastBooked = to.date;
        reserver->target = to.target;
        records::saveReserver(db, *reserver);
    }
    moving.commit();
    return Result::Moved;
}

} // namespace reservation_move
