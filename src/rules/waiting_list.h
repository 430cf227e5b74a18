#pragma once

#include "base/settings.h"
#include "records/reservations.h"
#include "records/waiting_list.h"
#include "rules/booking_write.h"
#include "rules/slot_types.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

// The waiting list of full slots: a customer waits for a target's time, and when a write frees
// time the entries it could now take are offered in the order they were made. An entry waits
// until it is booked or withdrawn, or until its start passes (the clock's present moment): from
// then on it is expired and offered nowhere.
namespace waiting_list {

// Whether the entry still waits now: neither booked, withdrawn nor expired, and its start to come.
bool StillWaiting(const records::WaitingEntry& entry);

struct Registration {
    enum class Kind {
        Registered,     // `entry` as stored
        Started,        // its start has passed: nothing written
        PlaceFree,      // the time has room now: nothing written
        AlreadyWaiting, // the reserver waits for this time already (`entry`): nothing written
    };
    Kind kind = Kind::Registered;
    records::WaitingEntry entry;
};
// Stores a new wait for the entry's target, day, time and reserver, stamped with the present
// moment, in one transaction with its reserver: `saveReserver` writes that one (a new name takes
// its number there) and gives the number the entry is stored under.
Registration Register(const store::Database& db, const Settings& settings, records::WaitingEntry entry,
                      const std::function<QString(const store::Database&)>& saveReserver);

// The entries still waiting that the freed time lets in: on a freed span's target and day,
// overlapping it, and fitting the target's limit in every slot as the bookings stand now; in the
// order they were made.
std::vector<records::WaitingEntry> Offers(const store::Database& db, const Settings& settings,
                                          const std::vector<records::ReservationSpan>& freed);
// Every entry still waiting, in the order they were made.
std::vector<records::WaitingEntry> AllWaiting(const store::Database& db);
// The entries still waiting on the target's day, in the order they were made.
std::vector<records::WaitingEntry> OfDay(const store::Database& db, const QString& target, const QDate& date);
// The entries still waiting on the target's day whose time covers a slot, in the order made.
std::vector<records::WaitingEntry> InSlot(const store::Database& db, const SlotTimes& daySlots, const QString& target, const QDate& date,
                                          int slot);
// For each column of a slot grid, how many entries still waiting cover each slot.
std::vector<std::vector<int>> CountForColumns(const store::Database& db, const SlotTimes& daySlots,
                                              const std::vector<TimeTableColumn>& columns);
std::vector<int> CountForDay(const store::Database& db, const SlotTimes& daySlots, const QString& target, const QDate& date);

// The booking of an entry for the guarded write: its target, day, time and reserver, the
// reserver's latest booking moved forward; inside the write the entry must still wait (else the
// outcome is Gone, so that it is never booked twice) and it is marked booked with the booking.
booking_write::Change BookingOf(const store::Database& db, const records::WaitingEntry& entry);

// Withdraws the entry; false, and nothing written, when it no longer waits.
bool Withdraw(const store::Database& db, const records::WaitingEntry& entry);

} // namespace waiting_list
