#include "records/stored.h"

#include "store/store_error.h"

namespace records::stored {

std::optional<QDate> optionalDate(const store::Table& table, const char* field)
{
    if (table.text(field).isEmpty())
        return std::nullopt;
    return table.date(field);
}

std::optional<QDate> legacyDate(const store::Table& table, const char* field)
{
    const QString text = table.text(field);
    if (text.isEmpty())
        return std::nullopt;
    if (const std::optional<QDate> read = input::date(text))
        return read;
    return table.date(field); // names the record and the value
}

bool flag(const store::Table& table, const char* field)
{
    return table.text(field) == QLatin1String("1");
}

std::optional<int> number(const QString& text)
{
    try {
        return int(store::Value(text).integer());
    } catch (const store::StoreError&) {
        return std::nullopt;
    }
}

QString timeText(const input::TimeOfDay& time)
{
    return input::timeText(time);
}

QString dateText(const std::optional<QDate>& date)
{
    return date ? input::dateText(*date) : QString();
}

namespace {
const QString kMomentFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");
}

QString momentText(const QDateTime& moment)
{
    return moment.toString(kMomentFormat);
}

std::optional<QDateTime> moment(const QString& text)
{
    const QDateTime read = QDateTime::fromString(text, kMomentFormat);
    return read.isValid() ? std::optional(read) : std::nullopt;
}

int removeDatedBetween(const store::Database& db, const char* table, const char* index, const QDate& from, const QDate& through,
                       const store::Progress& progress)
{
    return db.table(table, index).removeRange({from}, {through}, progress);
}

} // namespace records::stored
