#pragma once

#include "store/database.h"

#include <QDate>
#include <QString>
#include <optional>

// The rows of table カレンダー, one per target number and date: a closed day (休業日) or, on a
// target's own row, a day kept open over a common closure (営業日), with its registered name.
namespace closure_days {

// Target number of the common calendar, whose rows apply to every target without a row of its own.
inline const QString kCommonTarget = QStringLiteral("00000");

struct ClosureDay {
    bool closed = true;
    QString name;
};

// The calendar table with its unique index (target, date) selected.
store::Table openByKey(const store::Database& db);

// The row of a target on a date, if there is one.
std::optional<ClosureDay> find(store::Table& calendar, const QString& target, const QDate& date);
// Adds the row, or edits the one that is there.
void save(store::Table& calendar, const QString& target, const QDate& date, const ClosureDay& day);
// Deletes the row; false when there was none.
bool remove(store::Table& calendar, const QString& target, const QDate& date);

} // namespace closure_days
