#pragma once

#include <QDate>
#include <QString>
#include <initializer_list>
#include <compare>
#include <optional>

// Reading what the operator typed: the one place where box text becomes numbers, dates and
// times. Full-width digits and the full-width "／", "：", "－", "．", "＋" count as their
// half-width forms, and blanks (including the full-width space) around the text are ignored.
namespace input {

// The text with full-width digits and signs made half-width and surrounding blanks removed.
QString normalized(const QString& text);

// The form in which a reserver is looked up by the kana of a name or by a phone number, the same
// for what is stored and what is typed: full-width letters and digits and half-width kana made
// their common forms (NFKC), hiragana made katakana, and blanks, hyphens, brackets and control
// characters dropped ("０３（１２３４）５６７８" and "03-1234-5678" both give "0312345678",
// "やまだ" and "ﾔﾏﾀﾞ" both "ヤマダ").
QString searchKey(const QString& text);
// Whether a search key holds digits only, as a phone number does.
bool isDigitsOnly(const QString& key);

// An optional sign, digits and an optional decimal part ("12", "-3", "1.5"); nothing else
// ("1e3", "0x10", "" and blanks are not numbers).
bool isNumeric(const QString& text);
std::optional<double> number(const QString& text);
// A numeric text that is a whole number within the range of a 16-bit field (-32768..32767).
std::optional<int> wholeNumber16(const QString& text);

// A date: four-digit year, month and day with or without leading zeros, separated by "/" or
// "-". Days that do not exist (2023/02/29) are not dates.
std::optional<QDate> date(const QString& text);
bool isDate(const QString& text);
// A date put together from typed parts joined by "/" (a year and "MM/DD", or a year, a month and
// a day), each part read on its own: " 2026 " and "４／１" make 2026/04/01.
std::optional<QDate> dateOfParts(std::initializer_list<QString> parts);
// The stored and displayed form of a date, "yyyy/mm/dd".
QString dateText(const QDate& date);
// A month: four-digit year and month with or without a leading zero, separated by "/" or "-"
// ("2026/4"); its first day.
std::optional<QDate> month(const QString& text);
// The displayed form of a date's month, "yyyy/mm".
QString monthText(const QDate& date);

// A time of day from an hour text and a minute text: whole numbers, hour 0-23 and minute 0-59.
// With `endOfDay` the time 24:00 is accepted too (the end of the last slot of a day).
struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    // Minutes after midnight.
    int minutes() const { return hour * 60 + minute; }
    auto operator<=>(const TimeOfDay&) const = default;
};
std::optional<TimeOfDay> timeOfDay(const QString& hourText, const QString& minuteText, bool endOfDay = false);
// A time of day typed as "h:mm" or "hh:mm".
std::optional<TimeOfDay> timeFromText(const QString& text, bool endOfDay = false);
// A time of day in its stored form only, "hh:mm": how stored times are read, as " 10:00" or
// "10:00:00" sort and compare apart from the time they look like.
std::optional<TimeOfDay> storedTime(const QString& text, bool endOfDay = false);
// A date in its stored form "yyyy/mm/dd" and nothing else: dates are keys and ranges are read in
// their text order, so another form ("2024/5/2", "2024-05-20") is no stored date.
std::optional<QDate> storedDate(const QString& text);
// The stored form of a time of day, "hh:mm".
QString timeText(int hour, int minute);
QString timeText(const TimeOfDay& time);

} // namespace input
