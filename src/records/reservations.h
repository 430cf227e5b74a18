#pragma once

#include "base/input.h"
#include "store/database.h"
#include "store/progress.h"
#include "store/read_ahead.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// Table 予約: one record per booking of a reserver in a target on a date from a start time.
namespace records {

struct ReservationKey {
    QString target;
    QDate date;
    input::TimeOfDay start;
    QString reserverNo;

    bool operator==(const ReservationKey&) const = default;
};

struct Reservation {
    QString target;
    QDate date;
    input::TimeOfDay start;
    QString reserverNo;
    bool overlapAllowed = false;  // 予約_重複: the target's overlap rule when it was booked
    input::TimeOfDay end;         // exclusive; 24:00 ends the day
    std::optional<QDate> takenOn; // 予約_受付日: the day the booking was taken
    QString abbrev;               // of the target
    QString reserverName;
    QString reserverKana;
    QString remark;

    ReservationKey key() const { return {target, date, start, reserverNo}; }
    bool operator==(const Reservation&) const = default;
};

// What the slot counts need of a reservation.
struct ReservationSpan {
    QString target;
    QDate date;
    input::TimeOfDay start;
    input::TimeOfDay end;
};

std::optional<Reservation> findReservation(const store::Database& db, const ReservationKey& key);
// The target's reservations of a date, by start time, then reserver number.
std::vector<Reservation> reservationsOfDay(const store::Database& db, const QString& target, const QDate& date);
// Every reservation dated from `first` through `last`, a day at a time, each day's in target,
// start and reserver order. One dated in another form ("2024/05/2") is none of these days.
void forEachReservationBetween(const store::Database& db, const QDate& first, const QDate& last,
                               const std::function<void(const Reservation&)>& visit);
// The spans of the target's reservations from `first` through `last`, in date and start order.
std::vector<ReservationSpan> spansOfDays(const store::Database& db, const QString& target, const QDate& first, const QDate& last);
// The spans of every target's reservations on a date.
std::vector<ReservationSpan> spansOnDate(const store::Database& db, const QDate& date);
// What reservationsOfDay() and spansOfDays() read of one target from `first` through `last`, and
// spansOnDate() of a date, to be read ahead.
store::Range reservationsOfDaysRange(const QString& target, const QDate& first, const QDate& last);
store::Range reservationsOnDateRange(const QDate& date);
// The spans of every target's reservations dated from `first` through `last`, by date; one dated
// in another form is none of these days.
void forEachSpanBetween(const store::Database& db, const QDate& first, const QDate& last,
                        const std::function<void(const ReservationSpan&)>& visit);
// The date of the target's earliest reservation, if it has any.
std::optional<QDate> firstReservationDate(const store::Database& db, const QString& target);
// The reserver's reservations in date and start order.
std::vector<Reservation> reservationsOfReserver(const store::Database& db, const QString& reserverNo);
// Adds the reservation, or changes the one with its key; true when it was there.
bool saveReservation(const store::Database& db, const Reservation& reservation);
bool removeReservation(const store::Database& db, const ReservationKey& key);
// Inside a writing transaction: holds the bookings of the target on the date for this desk alone
// until the transaction ends, so that what is counted before a booking is written stays true.
void lockBookings(const store::Transaction& transaction, const QString& target, const QDate& date);

// Whether the target has a reservation dated on or after `from`.
bool targetHasReservationsFrom(const store::Database& db, const QString& target, const QDate& from);
// Whether the reserver has a reservation dated on or after `from`.
bool reserverHasReservationsFrom(const store::Database& db, const QString& reserverNo, const QDate& from);

// Deletes the target's reservations dated up to and including `through`; how many went.
int removeTargetReservationsThrough(const store::Database& db, const QString& target, const QDate& through,
                                    const store::Progress& progress = {});
// Deletes every reservation dated from `from` through `through`; how many went.
int removeReservationsBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress = {});

} // namespace records
