#pragma once

#include "store/database.h"
#include "store/read_ahead.h"

#include <QString>
#include <optional>

// Table 発番: the last reserver number issued, one record per numbering key ("00000" for one
// sequence of every target, or a target's number for a sequence of its own).
namespace records {

struct NumberingRow {
    QString key;
    QString lastSequence; // digits
    QString prefix;
    QString remark;
};

std::optional<NumberingRow> findNumbering(const store::Database& db, const QString& key);
void saveNumbering(const store::Database& db, const NumberingRow& row);
// What findNumbering() reads, to be read ahead.
store::Range numberingRange(const QString& key);

} // namespace records
