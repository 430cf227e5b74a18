#pragma once

#include "base/input.h"
#include "store/database.h"
#include "store/progress.h"
#include "store/read_ahead.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// Table キャンセル待ち: a customer waiting for a place in a full slot of a target, from a start to
// an end, with the moment the wait was made and how it stands.
namespace records {

// The stored values of 待ち_状態.
enum class WaitingState {
    Waiting = 1,
    Booked = 2,    // a freed place was booked for the customer
    Withdrawn = 3, // the customer no longer waits
    Expired = 4,   // its start passed while it waited
};

struct WaitingEntry {
    QString number; // 待ち_番号: the day it was made and its place in that day, "yyyymmddnnnn"
    QString target;
    QDate date;
    input::TimeOfDay start;
    input::TimeOfDay end; // exclusive; 24:00 ends the day
    QString reserverNo;
    QString reserverName;
    QString phone;
    QDateTime made; // 待ち_登録日時, to the second
    WaitingState state = WaitingState::Waiting;
    QString remark;
};

std::optional<WaitingEntry> findWaitingEntry(const store::Database& db, const QString& number);
// The entries of the target's day, in the order they were made.
std::vector<WaitingEntry> waitingEntriesOfDay(const store::Database& db, const QString& target, const QDate& date);
store::Range waitingEntriesOfDayRange(const QString& target, const QDate& date);
// The entries dated on or after `first`, by date; one dated in another form is none of them.
std::vector<WaitingEntry> waitingEntriesFrom(const store::Database& db, const QDate& first);
// The entries dated from `first` through `last`, by date; and that read as a range, to be read
// ahead with the rest of a screen.
std::vector<WaitingEntry> waitingEntriesBetween(const store::Database& db, const QDate& first, const QDate& last);
store::Range waitingEntriesBetweenRange(const QDate& first, const QDate& last);
// Stores a new entry stamped with `made` under the next number of that day; returns it as stored.
// Inside a writing transaction, so that two desks never take one number.
WaitingEntry addWaitingEntry(const store::Database& db, WaitingEntry entry, const QDateTime& made);
// Sets the state of the stored entry; false when there is none.
bool setWaitingState(const store::Database& db, const QString& number, WaitingState state);
// Every entry still waiting whose start is at or before `moment` becomes expired; how many did.
int expireWaitingEntries(const store::Database& db, const QDateTime& moment);
// Deletes the entries dated from `from` through `through`; how many went.
int removeWaitingEntriesBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress = {});

} // namespace records
