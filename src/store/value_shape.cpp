#include "store/value_shape.h"

#include <QDate>

namespace store::schema {

namespace {

// Faults named per kind (a field, or the duplicates of an index); the rest are counted.
constexpr int kNamedPerKind = 20;
// Characters of a value shown before it is cut.
constexpr int kShownLength = 40;

bool digits(QByteArrayView text, int from, int count)
{
    for (int i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

int number(QByteArrayView text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

bool isDate(QByteArrayView text)
{
    return text.size() == 10 && digits(text, 0, 4) && text[4] == '/' && digits(text, 5, 2) && text[7] == '/' && digits(text, 8, 2) &&
           number(text, 0, 4) > 0 && QDate::isValid(number(text, 0, 4), number(text, 5, 2), number(text, 8, 2));
}

bool isTime(QByteArrayView text, bool endOfDay)
{
    if (text.size() != 5 || !digits(text, 0, 2) || text[2] != ':' || !digits(text, 3, 2))
        return false;
    const int hour = number(text, 0, 2);
    const int minute = number(text, 3, 2);
    return (hour < 24 && minute < 60) || (endOfDay && hour == 24 && minute == 0);
}

// "yyyy/mm/dd hh:mm:ss"
bool isDateTime(QByteArrayView text)
{
    return text.size() == 19 && isDate(text.first(10)) && text[10] == ' ' && isTime(text.sliced(11, 5), false) && text[16] == ':' &&
           digits(text, 17, 2) && number(text, 17, 2) < 60;
}

} // namespace

bool textFits(Shape shape, QByteArrayView text)
{
    switch (shape) {
    case Shape::Free: return true;
    case Shape::Date: return isDate(text);
    case Shape::DateOrEmpty: return text.isEmpty() || isDate(text);
    case Shape::Time: return isTime(text, false);
    case Shape::EndTime: return isTime(text, true);
    case Shape::Flag: return text.size() == 1 && (text[0] == '0' || text[0] == '1');
    case Shape::Digits: return !text.isEmpty() && digits(text, 0, int(text.size()));
    case Shape::DateTime: return isDateTime(text);
    }
    return false;
}

bool integerFits(Shape shape, qint64 value)
{
    return shape == Shape::Flag ? (value == 0 || value == 1) : (value >= -32768 && value <= 32767);
}

QString expectedShape(const FieldDef& field)
{
    switch (field.shape) {
    case Shape::Date: return QStringLiteral("日付（yyyy/mm/dd）");
    case Shape::DateOrEmpty: return QStringLiteral("日付（yyyy/mm/dd）か空");
    case Shape::Time: return QStringLiteral("時刻（hh:mm、00:00～23:59）");
    case Shape::EndTime: return QStringLiteral("時刻（hh:mm、00:00～24:00）");
    case Shape::Flag: return QStringLiteral("「0」か「1」");
    case Shape::Digits: return QStringLiteral("数字");
    case Shape::DateTime: return QStringLiteral("日時（yyyy/mm/dd hh:mm:ss）");
    case Shape::Free: break;
    }
    return field.type == FieldType::Integer ? QStringLiteral("整数（-32768～32767）") : QStringLiteral("文字列");
}

QString shownValue(const QString& text)
{
    QString line;
    for (const QChar c : text.left(kShownLength)) {
        if (c.category() == QChar::Other_Control)
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            line += c;
    }
    return text.size() > kShownLength ? line + QStringLiteral("…") : line;
}

QString faultyValueLine(const TableDef& table, const QString& key, const FieldDef& field, bool isNull, const QString& shown)
{
    const QString what =
        isNull ? QStringLiteral("値がありません（NULL）") : QStringLiteral("値「%1」が%2ではありません").arg(shown, expectedShape(field));
    return QStringLiteral("テーブル「%1」の行（%2）: 項目「%3」の%4。").arg(table.name, key, field.name, what);
}

void FaultTally::add(const QString& kind, const std::function<QString()>& line)
{
    if (++counts_[kind] <= kNamedPerKind)
        problems_ << line();
    else if (!order_.contains(kind))
        order_ << kind;
}

void FaultTally::close()
{
    for (const QString& kind : order_) {
        const int all = counts_[kind];
        problems_ << QStringLiteral("%1: このほかに %2 件あります（全部で %3 件）。").arg(kind).arg(all - kNamedPerKind).arg(all);
    }
}

} // namespace store::schema
