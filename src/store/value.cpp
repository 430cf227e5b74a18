#include "store/value.h"

#include "base/input.h"
#include "store/store_error.h"

#include <cmath>

namespace store {

QString Value::text() const
{
    if (const auto* number = std::get_if<qint64>(&data_))
        return QString::number(*number);
    if (const auto* date = std::get_if<QDate>(&data_))
        return input::dateText(*date);
    return std::get<QString>(data_);
}

qint64 Value::integer() const
{
    if (const auto* number = std::get_if<qint64>(&data_))
        return *number;
    if (isText()) {
        if (const std::optional<double> number = input::number(std::get<QString>(data_)))
            return qint64(std::nearbyint(*number));
    }
    throw StoreError(QStringLiteral("値「%1」は数値に変換できません。").arg(text()));
}

QDate Value::date() const
{
    if (const auto* date = std::get_if<QDate>(&data_))
        return *date;
    if (isText()) {
        if (const std::optional<QDate> date = input::date(std::get<QString>(data_)))
            return *date;
    }
    throw StoreError(QStringLiteral("値「%1」は日付に変換できません。").arg(text()));
}

} // namespace store
