#include "store/reserver_keys.h"

#include "base/input.h"
#include "store/connection.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace store::reserver_keys {

QString sourceQuery()
{
    QStringList fields;
    for (const char* field : {"予約者_予約者NO", "予約者_電話番号", "予約者_携帯番号", "予約者_予約者名カナ"})
        fields << schema::quoted(QString::fromUtf8(field));
    return QStringLiteral("SELECT %1 FROM %2").arg(fields.join(", "), schema::quoted(QStringLiteral("予約者")));
}

void removeOfLastBookedBetween(const Database& db, const QDate& from, const QDate& through)
{
    const std::shared_ptr<detail::Connection> connection = db.connection();
    const QString lastBooked = schema::quoted(QStringLiteral("予約者_最新予約日"));
    detail::Statement removal = connection->prepare(
        QStringLiteral("DELETE FROM %1 WHERE %2 IN (SELECT %3 FROM %4 WHERE %5 >= %6 AND %5 <= %7)")
            .arg(schema::quoted(kTable), schema::quoted(QStringLiteral("検索_予約者NO")), schema::quoted(QStringLiteral("予約者_予約者NO")),
                 schema::quoted(QStringLiteral("予約者")), lastBooked, connection->mark(1), connection->mark(2)));
    removal->bind(1, {false, 0, input::dateText(from)});
    removal->bind(2, {false, 0, input::dateText(through)});
    connection->suspendScans();
    removal->step(QStringLiteral("テーブル「%1」").arg(kTable));
}

QString storedQuery()
{
    QStringList fields;
    for (const schema::FieldDef& field : schema::findTable(kTable)->fields)
        fields << schema::quoted(field.name);
    return QStringLiteral("SELECT %1 FROM %2").arg(fields.join(", "), schema::quoted(kTable));
}

QString notedQuery()
{
    return QStringLiteral("SELECT %1 FROM %2").arg(schema::quoted(QStringLiteral("変更_予約者NO")), schema::quoted(kNotedTable));
}

QString mismatchLine(const QList<QStringList>& reservers, const QList<QStringList>& stored, const QList<QStringList>& noted)
{
    QHash<QString, QStringList> storedByNumber;
    for (const QStringList& keys : stored)
        storedByNumber.insert(keys.value(0), keys);
    QSet<QString> seen; // a number held twice is named by the check of the key itself
    for (const QStringList& note : noted)
        seen.insert(note.value(0));
    QStringList wrong;
    for (const QStringList& r : reservers) {
        if (seen.contains(r.value(0)))
            continue;
        seen.insert(r.value(0));
        if (storedByNumber.take(r.value(0)) != keysOf(r.value(0), r.value(1), r.value(2), r.value(3)))
            wrong << r.value(0);
    }
    for (auto it = storedByNumber.cbegin(); it != storedByNumber.cend(); ++it) {
        if (!seen.contains(it.key()))
            wrong << it.key();
    }
    if (wrong.isEmpty())
        return {};
    wrong.sort();
    constexpr int kNamed = 5;
    QString named = wrong.mid(0, kNamed).join(QStringLiteral("、"));
    if (wrong.size() > kNamed)
        named += QStringLiteral(" ほか");
    return QStringLiteral("テーブル「%1」の検索キーが %2 人の予約者（%3）と合っていません。予約者照会で見つからないことがあります"
                          "（再編成で作り直されます）。")
        .arg(kTable)
        .arg(wrong.size())
        .arg(named);
}

QStringList keysOf(const QString& number, const QString& phone, const QString& mobile, const QString& kana)
{
    return {number, reversedDigits(phone), reversedDigits(mobile), input::searchKey(kana)};
}

void fillAll(detail::Connection& connection)
{
    const QList<QStringList> reservers = connection.rows(sourceQuery(), QStringLiteral("テーブル「%1」").arg(kTable));
    auto next = reservers.cbegin();
    connection.bulkInsert(*schema::findTable(kTable), [&](std::vector<detail::Cell>& values) {
        if (next == reservers.cend())
            return false;
        const QStringList& r = *next++;
        values.clear();
        for (const QString& key : keysOf(r[0], r[1], r[2], r[3]))
            values.push_back({false, 0, key});
        return true;
    });
}

void makeNotedKeys(detail::Connection& connection)
{
    for (const QString& table : {QStringLiteral("予約者"), kTable, kNotedTable}) {
        if (!connection.hasTable(table))
            return;
    }
    const QString what = QStringLiteral("テーブル「%1」").arg(kTable);
    const QString noted = schema::quoted(QStringLiteral("変更_予約者NO"));
    const QString notes = QStringLiteral("SELECT DISTINCT %1 FROM %2").arg(noted, schema::quoted(kNotedTable));
    const QString number = schema::quoted(QStringLiteral("検索_予約者NO"));
    QStringList fields;
    QStringList marks;
    for (const schema::FieldDef& field : schema::findTable(kTable)->fields) {
        fields << schema::quoted(field.name);
        marks << connection.mark(int(marks.size()) + 1);
    }
    try {
        if (connection.rows(notes, what).isEmpty())
            return;
        connection.run(connection.begin(true), what);
        // Read again under the write lock: another desk may have made them meanwhile.
        for (const QStringList& note : connection.rows(notes, what)) {
            detail::Statement removal =
                connection.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = %3").arg(schema::quoted(kTable), number, connection.mark(1)));
            removal->bind(1, {false, 0, note[0]});
            removal->step(what);
            detail::Statement reserver =
                connection.prepare(QStringLiteral("%1 WHERE %2 = %3")
                                       .arg(sourceQuery(), schema::quoted(QStringLiteral("予約者_予約者NO")), connection.mark(1)));
            reserver->bind(1, {false, 0, note[0]});
            if (reserver->step(what)) {
                const auto text = [&](int column) {
                    const detail::Cell cell = reserver->cell(column);
                    return cell.isInteger ? QString::number(cell.number) : cell.text;
                };
                const QStringList keys = keysOf(text(0), text(1), text(2), text(3));
                reserver.release();
                detail::Statement insert = connection.prepare(
                    QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(schema::quoted(kTable), fields.join(u','), marks.join(u',')));
                for (int i = 0; i < keys.size(); ++i)
                    insert->bind(i + 1, {false, 0, keys[i]});
                insert->step(what);
            }
            detail::Statement done = connection.prepare(
                QStringLiteral("DELETE FROM %1 WHERE %2 = %3").arg(schema::quoted(kNotedTable), noted, connection.mark(1)));
            done->bind(1, {false, 0, note[0]});
            done->step(what);
        }
        connection.run(QStringLiteral("COMMIT"), what);
    } catch (const StoreError&) {
        connection.runQuietly(QStringLiteral("ROLLBACK"));
    }
}

QString reversedDigits(const QString& phone)
{
    QString digits;
    for (QChar c : input::searchKey(phone)) {
        if (c >= u'0' && c <= u'9')
            digits += c;
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace store::reserver_keys
