#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace store {
class Database;
namespace detail {
class Connection;
}
} // namespace store

// The look-up keys of a reserver (table 予約者検索), made from its 予約者 record. The one place
// that says how: the upgrade that adds the table fills it from here, and the records module writes
// the keys with every reserver it saves.
namespace store::reserver_keys {

inline const QString kTable = QStringLiteral("予約者検索");
// The numbers of the reservers whose keys are to be made again: the triggers of 予約者 note a
// reserver another program added, changed or removed.
inline const QString kNotedTable = QStringLiteral("予約者変更");

// The query that reads the 予約者 fields keysOf() takes, in that order, from every reserver.
QString sourceQuery();
// The query that reads every stored key, the fields of 予約者検索 in catalogue order.
QString storedQuery();
// The query that reads the numbers noted in 予約者変更.
QString notedQuery();
// The check's line when the stored keys are not those the reservers make (a reserver written by
// another program past the triggers, or keys left behind by one removed): how many reservers and
// the first of their numbers; empty when every reserver has its keys and no key is left over. The
// `noted` reservers are none of them: the program makes their keys when it opens the database.
QString mismatchLine(const QList<QStringList>& reservers, const QList<QStringList>& stored, const QList<QStringList>& noted);
// The values of the fields of 予約者検索, in catalogue order, for a reserver's number, phone,
// mobile and kana.
QStringList keysOf(const QString& number, const QString& phone, const QString& mobile, const QString& kana);
// Removes, in one statement, the keys of the reservers whose last booking lies from `from`
// through `through`, before those reservers go.
void removeOfLastBookedBetween(const Database& db, const QDate& from, const QDate& through);
// Adds the keys of every reserver, inside the caller's transaction, to a database whose
// 予約者検索 is empty (its table was just made).
void fillAll(detail::Connection& connection);
// Makes the keys of the reservers noted in 予約者変更 from their records as they are now (and
// removes those of a reserver that is gone), then takes the notes away, in one transaction. Run
// when a connection opens: one look at an empty table when there is nothing to do. A database that
// cannot be written now (read-only, or held by another program) keeps its notes for the next time.
void makeNotedKeys(detail::Connection& connection);
// The key of a phone number, or of what was typed to find one: its digits, the last first ("" when
// it has none).
QString reversedDigits(const QString& phone);

} // namespace store::reserver_keys
