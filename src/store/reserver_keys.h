#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace store {
class Database;
}

// The look-up keys of a reserver (table 予約者検索), made from its 予約者 record. The one place
// that says how: the upgrade that adds the table fills it from here, and the records module writes
// the keys with every reserver it saves.
namespace store::reserver_keys {

inline const QString kTable = QStringLiteral("予約者検索");

// The query that reads the 予約者 fields keysOf() takes, in that order, from every reserver.
QString sourceQuery();
// The query that reads every stored key, the fields of 予約者検索 in catalogue order.
QString storedQuery();
// The check's line when the stored keys are not those the reservers make (a reserver written by
// another program, or keys left behind by one removed): how many reservers and the first of their
// numbers; empty when every reserver has its keys and no key is left over.
QString mismatchLine(const QList<QStringList>& reservers, const QList<QStringList>& stored);
// The values of the fields of 予約者検索, in catalogue order, for a reserver's number, phone,
// mobile and kana.
QStringList keysOf(const QString& number, const QString& phone, const QString& mobile, const QString& kana);
// Removes, in one statement, the keys of the reservers whose last booking lies from `from`
// through `through`, before those reservers go.
void removeOfLastBookedBetween(const Database& db, const QDate& from, const QDate& through);
// The key of a phone number, or of what was typed to find one: its digits, the last first ("" when
// it has none).
QString reversedDigits(const QString& phone);

} // namespace store::reserver_keys
