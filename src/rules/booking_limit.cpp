#include "rules/booking_limit.h"

#include "rules/slot_counts.h"

#include <algorithm>

namespace 予約上限 {

bool IsFull(int booked, const 基本設定::Overlap& overlap)
{
    return overlap.allowed ? booked >= overlap.limit : booked > 0;
}

int MostBookedSlot(const store::Database& db, const SlotTimes& daySlots, const records::ReservationKey& booking,
                   const input::TimeOfDay& end, const std::optional<records::ReservationKey>& edited)
{
    std::vector<int> counts = 予約TBL::CountReservations(db, daySlots, booking.target, booking.date);
    // The booking it replaces holds its slots only on the same target and day.
    const std::optional<records::Reservation> replaced = edited ? records::findReservation(db, *edited) : std::nullopt;
    if (replaced && replaced->target == booking.target && replaced->date == booking.date) {
        const auto [first, last] = daySlots.covering(replaced->start.minutes(), replaced->end.minutes());
        for (int slot = first; slot < last; ++slot)
            --counts[size_t(slot)];
    }
    const auto [first, last] = daySlots.covering(booking.start.minutes(), end.minutes());
    if (first >= last)
        return 0;
    return *std::max_element(counts.begin() + first, counts.begin() + last);
}

} // namespace 予約上限
