#pragma once

#include "base/settings.h"
#include "store/database.h"

#include <QDate>
#include <QString>

// Module 予約NO発番: reserver numbers, "prefix-000001". One numbering row per key in 発番 holds
// the last sequence issued: the key is "00000" when NumberingKind is "1" (one sequence for all
// targets), else the target (one sequence per target).
namespace 予約NO発番 {

enum class ReserverStatus { Existing = 1, New = 2 };

struct IssuedNumber {
    ReserverStatus status = ReserverStatus::New;
    QString number;
};

// The counter a number is taken from and the prefix it carries, by the settings, for a target on
// a day ("YYYY" in the prefix stands for the day's year).
struct NumberingSource {
    QString key;
    QString prefix;
};
NumberingSource SourceFor(const Settings& settings, const QString& target, const QDate& day);

// Step 1: the number of the reserver with this name, or else the next number without taking it.
// Step 2: takes the next number and stores it.
IssuedNumber IssueReserverNumber(const store::Database& db, int step, const QString& reserverName, const NumberingSource& source);

QString NumberingKey(const QString& numberingKind, const QString& target);
// The prefix, "-", and the sequence with zeros in front up to six digits (longer ones are kept).
QString FormatReserverNumber(const QString& prefix, const QString& sequence);

// The next number of the key, nothing written. A number some reserver already holds (issued by
// another target's counter, say) is passed over: the next free one of the key is given.
QString PeekReserverNumber(const store::Database& db, const QString& key, const QString& prefix);
// The number after the key's last one, held by a reserver or not: the first TakeReserverNumber
// looks at.
QString FirstCandidateNumber(const store::Database& db, const QString& key, const QString& prefix);
// The next number of the key as PeekReserverNumber gives it, stored as the key's last number.
QString TakeReserverNumber(const store::Database& db, const QString& key, const QString& prefix);

} // namespace 予約NO発番
