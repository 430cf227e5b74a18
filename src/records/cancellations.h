#pragma once

#include "records/reservations.h"
#include "store/database.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// Table 予約取消: a cancelled reservation kept as it was, with the moment, the kind and the reason.
namespace records {

// The stored values of 取消_区分.
enum class CancelKind {
    Request = 1,    // the customer asked
    NoShow = 2,     // nobody came
    Correction = 3, // the desk corrected a mistake
};

struct CancellationKey {
    ReservationKey reservation;
    QDateTime at;
};

struct Cancellation {
    Reservation reservation; // every field as it was when it was cancelled
    QDateTime at;            // 取消_日時, to the second
    CancelKind kind = CancelKind::Request;
    QString reason;

    CancellationKey key() const { return {reservation.key(), at}; }
};

// Which cancellations a list shows; an empty field or no date does not narrow it.
struct CancellationFilter {
    std::optional<QDate> from;    // cancelled on or after this day
    std::optional<QDate> through; // cancelled on or before this day
    QString target;
    QString reserverNo;
};

// Removes the reservation and keeps it as a cancellation of `kind` stamped with the clock's
// present moment, both in one transaction. False, and nothing written, when there is no such
// reservation.
bool cancelReservation(const store::Database& db, const ReservationKey& key, CancelKind kind, const QString& reason = {});

std::optional<Cancellation> findCancellation(const store::Database& db, const CancellationKey& key);
// The cancellations the filter lets through, the newest first.
std::vector<Cancellation> listCancellations(const store::Database& db, const CancellationFilter& filter);
// The cancellations of reservations dated from `first` through `last`, by that date; one dated in
// another form is none of these days.
void forEachCancellationBetween(const store::Database& db, const QDate& first, const QDate& last,
                                const std::function<void(const Cancellation&)>& visit);
// The date of the target's earliest cancelled reservation, if it has any.
std::optional<QDate> firstCancellationDate(const store::Database& db, const QString& target);
// Changes the kind and reason of the stored cancellation with the same key; false when there is none.
bool updateCancellation(const store::Database& db, const Cancellation& cancellation);
bool removeCancellation(const store::Database& db, const CancellationKey& key);

enum class RestoreResult { Restored, NoRecord, SlotTaken };
// Books the cancelled reservation again and removes its record, in one transaction. Nothing is
// written when the record is gone (NoRecord) or the same reserver is booked from the same start
// again (SlotTaken).
RestoreResult restoreCancellation(const store::Database& db, const CancellationKey& key);
// Deletes the cancellations of reservations dated from `from` through `through`; how many went.
int removeCancellationsBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress = {});

} // namespace records
