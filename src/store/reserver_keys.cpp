#include "store/reserver_keys.h"

#include "base/input.h"
#include "store/schema.h"

#include <algorithm>

namespace store::reserver_keys {

QString sourceQuery()
{
    QStringList fields;
    for (const char* field : {"予約者_予約者NO", "予約者_電話番号", "予約者_携帯番号", "予約者_予約者名カナ"})
        fields << schema::quoted(QString::fromUtf8(field));
    return QStringLiteral("SELECT %1 FROM %2").arg(fields.join(", "), schema::quoted(QStringLiteral("予約者")));
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
