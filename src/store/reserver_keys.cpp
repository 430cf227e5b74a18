#include "store/reserver_keys.h"

#include "base/input.h"
#include "store/connection.h"
#include "store/database.h"
#include "store/schema.h"

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

QString mismatchLine(const QList<QStringList>& reservers, const QList<QStringList>& stored)
{
    QHash<QString, QStringList> storedByNumber;
    for (const QStringList& keys : stored)
        storedByNumber.insert(keys.value(0), keys);
    QStringList wrong;
    QSet<QString> seen; // a number held twice is named by the check of the key itself
    for (const QStringList& r : reservers) {
        if (seen.contains(r.value(0)))
            continue;
        seen.insert(r.value(0));
        if (storedByNumber.take(r.value(0)) != keysOf(r.value(0), r.value(1), r.value(2), r.value(3)))
            wrong << r.value(0);
    }
    wrong += storedByNumber.keys();
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
