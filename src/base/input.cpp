#include "base/input.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace input {

namespace {

bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x3000);
}

bool isKana(QChar c)
{
    return (c.unicode() >= 0x3041 && c.unicode() <= 0x30FF);
}

// Whole digits only (after normalisation), as an int; too long or empty gives nothing.
std::optional<int> digitsValue(const QString& text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Hour 0-23 and minute 0-59; with `endOfDay` 24:00 too.
std::optional<TimeOfDay> validTime(int hour, int minute, bool endOfDay)
{
    if (minute > 59)
        return std::nullopt;
    if (hour <= 23 || (endOfDay && hour == 24 && minute == 0))
        return TimeOfDay{hour, minute};
    return std::nullopt;
}

} // namespace

QString normalized(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            result += QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0F)
            result += u'/';
        else if (u == 0xFF1A)
            result += u':';
        else if (u == 0xFF0D || u == 0x2212)
            result += u'-';
        else if (u == 0xFF0B)
            result += u'+';
        else if (u == 0xFF0E)
            result += u'.';
        else
            result += c;
    }
    qsizetype start = 0;
    qsizetype end = result.size();
    while (start < end && isBlank(result[start]))
        ++start;
    while (end > start && isBlank(result[end - 1]))
        --end;
    return result.mid(start, end - start);
}

QString searchKey(const QString& text)
{
    // What is left of hyphens and brackets once NFKC has made the full-width ones half-width.
    static const QString dropped = QStringLiteral("-‐‒–—―()[]{}「」『』【】〈〉《》<>");
    const QString common = text.normalized(QString::NormalizationForm_KC);
    QString key;
    key.reserve(common.size());
    for (qsizetype i = 0; i < common.size(); ++i) {
        const QChar c = common[i];
        const char16_t u = c.unicode();
        if (isBlank(c) || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            continue;
        // The long-vowel mark after kana is part of the name ("ヨー"); elsewhere it stands for a
        // hyphen, as in a phone number typed in half-width kana mode.
        if (u == 0x30FC && (i == 0 || !isKana(common[i - 1])))
            continue;
        if (dropped.contains(c))
            continue;
        if (u >= 0x3041 && u <= 0x3096)
            key += QChar(u + 0x60); // hiragana to katakana
        else
            key += c;
    }
    return key;
}

bool isDigitsOnly(const QString& key)
{
    return !key.isEmpty() && std::all_of(key.begin(), key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isNumeric(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    return pattern.match(normalized(text)).hasMatch();
}

std::optional<double> number(const QString& text)
{
    if (!isNumeric(text))
        return std::nullopt;
    bool ok = false;
    const double value = normalized(text).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> wholeNumber16(const QString& text)
{
    const std::optional<double> value = number(text);
    if (!value || *value != static_cast<double>(static_cast<long long>(*value)))
        return std::nullopt;
    if (*value < -32768 || *value > 32767)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<QDate> date(const QString& text)
{
    const QString plain = normalized(text);
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{4})([/-])([0-9]{1,2})\\2([0-9]{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(plain);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate result(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    if (!result.isValid())
        return std::nullopt;
    return result;
}

std::optional<QDate> month(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{4})([/-])([0-9]{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(normalized(text));
    if (!match.hasMatch())
        return std::nullopt;
    const QDate first(match.captured(1).toInt(), match.captured(3).toInt(), 1);
    if (!first.isValid())
        return std::nullopt;
    return first;
}

QString monthText(const QDate& date)
{
    return dateText(date).left(7);
}

bool isDate(const QString& text)
{
    return date(text).has_value();
}

std::optional<QDate> dateOfParts(std::initializer_list<QString> parts)
{
    QStringList plain;
    for (const QString& part : parts)
        plain << normalized(part);
    return date(plain.join(u'/'));
}

QString dateText(const QDate& date)
{
    // Written by hand: this runs for every date a grid or a seek touches.
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999)
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    char text[10];
    const auto put = [&text](int at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, date.year(), 4);
    text[4] = '/';
    put(5, date.month(), 2);
    text[7] = '/';
    put(8, date.day(), 2);
    return QString::fromLatin1(text, 10);
}

std::optional<TimeOfDay> timeOfDay(const QString& hourText, const QString& minuteText, bool endOfDay)
{
    const std::optional<int> hour = digitsValue(normalized(hourText), 2);
    const std::optional<int> minute = digitsValue(normalized(minuteText), 2);
    if (!hour || !minute)
        return std::nullopt;
    return validTime(*hour, *minute, endOfDay);
}

std::optional<TimeOfDay> timeFromText(const QString& text, bool endOfDay)
{
    // The stored form is read without normalising it first.
    if (const std::optional<TimeOfDay> stored = storedTime(text, endOfDay))
        return stored;
    const QString plain = normalized(text);
    const qsizetype colon = plain.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    return timeOfDay(plain.left(colon), plain.mid(colon + 1), endOfDay);
}

std::optional<TimeOfDay> storedTime(const QString& text, bool endOfDay)
{
    if (text.size() != 5 || text[2] != u':')
        return std::nullopt;
    const auto digit = [&text](int i) { return text[i] >= u'0' && text[i] <= u'9' ? text[i].unicode() - u'0' : -1; };
    const int h1 = digit(0), h2 = digit(1), m1 = digit(3), m2 = digit(4);
    if (h1 < 0 || h2 < 0 || m1 < 0 || m2 < 0)
        return std::nullopt;
    return validTime(h1 * 10 + h2, m1 * 10 + m2, endOfDay);
}

std::optional<QDate> storedDate(const QString& text)
{
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/')
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < lengths[p]; ++i) {
            const QChar c = text[starts[p] + i];
            if (c < u'0' || c > u'9')
                return std::nullopt;
            parts[p] = parts[p] * 10 + (c.unicode() - u'0');
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString timeText(int hour, int minute)
{
    return QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

QString timeText(const TimeOfDay& time)
{
    return timeText(time.hour, time.minute);
}

} // namespace input
