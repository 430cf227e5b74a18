#pragma once

#include "store/database.h"

#include <QString>
#include <optional>
#include <vector>

// Table 設定: the reservation targets, one record per five-digit number. The number "00000" is
// the common target, whose records in the other tables apply to every target without its own.
namespace records {

inline const QString kCommonTarget = QStringLiteral("00000");

struct Target {
    QString number; // "00001"
    QString name;
    QString abbrev;
    QString remark;
};

// Every target in number order, the common one included.
std::vector<Target> listTargets(const store::Database& db);
std::optional<Target> findTarget(const store::Database& db, const QString& number);
std::optional<Target> findTargetByAbbrev(const store::Database& db, const QString& abbrev);
// Adds the target, or changes the one with its number.
void saveTarget(const store::Database& db, const Target& target);
bool removeTarget(const store::Database& db, const QString& number);

// A typed target number in its stored form: one to five digits (full-width digits read as
// half-width, blanks around ignored), padded with zeros to five ("3" -> "00003"); nothing for
// anything else.
std::optional<QString> paddedNumber(const QString& typed);

// Adds the common target "00000" (name and abbreviation "共通基本情報") when `target` is not a
// registered target and the common target is not registered either. Saving the common basic
// information the first time registers the common target this way.
void EnsureCommonTarget(const store::Database& db, const QString& target);

} // namespace records
