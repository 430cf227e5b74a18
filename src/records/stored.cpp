#include "records/stored.h"

#include "store/schema.h"
#include "store/store_error.h"

#include <QStringList>

namespace records::stored {

namespace {

// The key fields that name a record of the table: those of its first index, its key.
QString keyOf(const store::Table& table)
{
    for (const store::schema::IndexDef& index : store::schema::indexes()) {
        if (index.table != table.name())
            continue;
        QStringList values;
        for (const QString& key : index.keys)
            values << table.text(key);
        return values.join(QStringLiteral(", "));
    }
    return QString();
}

int digit(QChar c)
{
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

} // namespace

void unreadable(const store::Table& table, const QString& field, const QString& value)
{
    throw store::StoreError(QStringLiteral("表「%1」のデータ（%2）の「%3」の値「%4」を読み取れません。"
                                           "kelvora-db check でデータベースを確認してください。")
                                .arg(table.name(), keyOf(table), field, value));
}

input::TimeOfDay time(const store::Table& table, const char* field, bool endOfDay)
{
    const QString text = table.text(field);
    if (text.size() == 5 && text[2] == u':') {
        const int h1 = digit(text[0]), h2 = digit(text[1]), m1 = digit(text[3]), m2 = digit(text[4]);
        if (h1 >= 0 && h2 >= 0 && m1 >= 0 && m2 >= 0) {
            const input::TimeOfDay read{h1 * 10 + h2, m1 * 10 + m2};
            if (read.minute <= 59 && (read.hour <= 23 || (endOfDay && read.hour == 24 && read.minute == 0)))
                return read;
        }
    }
    unreadable(table, QString::fromUtf8(field), text);
}

std::optional<QDate> rangeDate(const QString& text)
{
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/')
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < lengths[p]; ++i) {
            const int d = digit(text[starts[p] + i]);
            if (d < 0)
                return std::nullopt;
            parts[p] = parts[p] * 10 + d;
        }
    }
    const QDate read(parts[0], parts[1], parts[2]);
    if (!read.isValid())
        return std::nullopt;
    return read;
}

QDate date(const store::Table& table, const char* field)
{
    const QString text = table.text(field);
    if (const std::optional<QDate> read = rangeDate(text))
        return *read;
    unreadable(table, QString::fromUtf8(field), text);
}

std::optional<QDate> legacyDate(const store::Table& table, const char* field)
{
    const QString text = table.text(field);
    if (text.isEmpty())
        return std::nullopt;
    if (const std::optional<QDate> read = input::date(text))
        return read;
    unreadable(table, QString::fromUtf8(field), text);
}

std::optional<QDate> optionalDate(const store::Table& table, const char* field)
{
    if (table.text(field).isEmpty())
        return std::nullopt;
    return date(table, field);
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

} // namespace records::stored
