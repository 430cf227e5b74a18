#pragma once

#include "base/input.h"
#include "store/database.h"
#include "store/progress.h"
#include "store/table.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// Reading and writing the stored values of records, for the record modules. Times and dates are
// read with store::Table::time() and date(): a value the program cannot read is a StoreError
// that names the record, so that a grid is never built on a row quietly left out.
namespace records::stored {

// A date field where the empty text means no date.
std::optional<QDate> optionalDate(const store::Table& table, const char* field);
// A date that is no key and that earlier versions wrote without leading zeros ("2024/5/2"), or
// nothing for the empty text.
std::optional<QDate> legacyDate(const store::Table& table, const char* field);
// A flag, or text holding one: "1" is set, anything else is not.
bool flag(const store::Table& table, const char* field);
// A number stored as text (an integer field of a file written by another tool, or a master
// item), read as the store reads integers: rounded to a whole number; nothing for other text.
std::optional<int> number(const QString& text);

// Removes the rows whose date, the key of `index`, lies from `from` through `through`; returns
// how many.
int removeDatedBetween(const store::Database& db, const char* table, const char* index, const QDate& from, const QDate& through,
                       const store::Progress& progress);

// The stored forms.
QString timeText(const input::TimeOfDay& time);
QString dateText(const std::optional<QDate>& date);
// A moment to the second, "yyyy/mm/dd hh:mm:ss", and back; nothing for text of another form.
QString momentText(const QDateTime& moment);
std::optional<QDateTime> moment(const QString& text);

} // namespace records::stored
