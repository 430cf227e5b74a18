#pragma once

#include "base/input.h"
#include "store/table.h"

#include <QDate>
#include <QString>
#include <optional>

// Reading the stored values of the current record of a cursor, for the record modules. A value the
// program cannot read is a StoreError that names the table, the record's key, the field and the
// value, so that a grid is never built on a row quietly left out.
namespace records::stored {

// "hh:mm"; with `endOfDay` also "24:00".
input::TimeOfDay time(const store::Table& table, const char* field, bool endOfDay = false);
// "yyyy/mm/dd": dates are keys and ranges are read in their text order, so no other form is read.
QDate date(const store::Table& table, const char* field);
// The same, where the empty text means no date.
std::optional<QDate> optionalDate(const store::Table& table, const char* field);
// A date that is no key and that earlier versions wrote without leading zeros ("2024/5/2"), or
// nothing for the empty text.
std::optional<QDate> legacyDate(const store::Table& table, const char* field);
// A flag, or text holding one: "1" is set, anything else is not.
bool flag(const store::Table& table, const char* field);

// The date of a record met in a range read by a date index: nothing when its text is not a
// stored date, so that a record stored in another form is passed over, never counted as another
// day (`kelvora-db check` names such records).
std::optional<QDate> rangeDate(const QString& text);

// A number stored as text (an integer field of a file written by another tool, or a master
// item), read as the store reads integers: rounded to a whole number; nothing for other text.
std::optional<int> number(const QString& text);

// The stored forms.
QString timeText(const input::TimeOfDay& time);
QString dateText(const std::optional<QDate>& date);

[[noreturn]] void unreadable(const store::Table& table, const QString& field, const QString& value);

} // namespace records::stored
