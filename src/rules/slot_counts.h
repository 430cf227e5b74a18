#pragma once

#include "base/settings.h"
#include "records/basic.h"
#include "records/reservations.h"
#include "rules/slot_types.h"
#include "store/database.h"

#include <QDate>
#include <QStringList>
#include <vector>

// Module 予約TBL: the daySlots of a displayed day and how many reservations cover each of them.
//
// The slot rule, shared by every slot grid: the slot length comes from the common basic record
// (minutes, hours or the whole displayed day). The hours shown run from DisplayStartHour through
// DisplayEndHour, never past 23. Minute units that divide the hour give 60 / unit daySlots in every
// hour; hour units give one slot per so many hours from DisplayStartHour; a day is one slot. The
// last slot ends at the end of the last hour shown. A reservation counts once in every slot whose
// interval it overlaps.
namespace 予約TBL {

constexpr int kDefaultUnitMinutes = 30;

// The slot length in minutes of a basic record: unit kind "1" minutes, "2" hours, "3" the whole
// day; any other kind reads the setting as minutes. A length no grid can be made of (not a
// divisor of the hour, nor whole hours up to a day) gives the default.
int UnitMinutesFor(records::UnitKind unitKind, int setting);

SlotTimes BuildSlotTimes(int displayStartHour, int displayEndHour, int unitMinutes);
// The daySlots of the settings' display hours and unit.
SlotTimes SlotTimesOf(const Settings& settings);

// What a count reads.
struct CountRequest {
    int InquiryKind = 1; // 1: seven days of the current target, else every target on one date
    QString CurrentTarget;
    QDate WorkingDate;
    QStringList TargetList;
    SlotTimes Slots;
};

SlotCounts BuildReservationCounts(const store::Database& db, const CountRequest& request);
// What BuildReservationCounts() reads, to be read ahead.
store::Range CountRange(const CountRequest& request);
// What a slot grid of columns dated from `first` through `last` reads: the time table, the counts,
// the basic records, the waiting customers and the holidays, to be read ahead together.
std::vector<store::Range> GridRanges(const CountRequest& request, const QDate& first, const QDate& last);
// What a row of the grid counted again and the bookings of its day listed read: the day's
// bookings, their series and the customers waiting, to be read ahead together.
std::vector<store::Range> DayRanges(const QString& target, const QDate& date);

// Counts per column and slot: seven days of one target from `first`, or every target on a date.
// A reservation whose times cannot be read throws StoreError naming it; one dated in another
// form ("2024/5/2") is none of the days counted.
std::vector<std::vector<int>> CountForSevenDays(const store::Database& db, const SlotTimes& daySlots, const QString& target,
                                                const QDate& first);
std::vector<std::vector<int>> CountForTargets(const store::Database& db, const SlotTimes& daySlots, const QStringList& targets,
                                              const QDate& date);
// How many reservations of the target on the date cover each slot.
std::vector<int> CountReservations(const store::Database& db, const SlotTimes& daySlots, const QString& target, const QDate& date);
// The reservations of the target on the date that cover a slot (counted in it), in start order.
std::vector<records::Reservation> ReservationsInSlot(const store::Database& db, const SlotTimes& daySlots, const QString& target,
                                                     const QDate& date, int slot);

} // namespace 予約TBL
