#pragma once

#include "store/database.h"
#include "store/read_ahead.h"

#include <QString>
#include <optional>
#include <vector>

// Table 基本: the basic information of a target (or of every target, "00000"): the unit of time
// of its slots and how many reservations a slot may hold.
namespace records {

// 基本_単位: what 基本_設定 counts.
enum class UnitKind { Minutes = 1, Hours = 2, Day = 3 };

// The unit of a target's slots as its basic record holds it.
struct UnitSetting {
    // An unknown stored kind reads as minutes, the way the slot rule reads it.
    UnitKind kind = UnitKind::Minutes;
    // 基本_設定: minutes or hours; nothing when another tool stored no number there, whose text
    // is kept in settingAsStored for the message that asks the operator to correct it.
    std::optional<int> setting;
    QString settingAsStored;
};

struct BasicRecord {
    QString target;
    UnitSetting unit;
    bool overlapAllowed = false; // 基本_重複
    int overlapCount = 0;        // 基本_重複数: how many, when allowed
    QString remark;
};

std::optional<BasicRecord> findBasic(const store::Database& db, const QString& target);
// Only the unit: start-up reads it and nothing else of the record, so that a value another tool
// left elsewhere in the record does not stop the program.
std::optional<UnitSetting> findUnitSetting(const store::Database& db, const QString& target);
// Every basic record, in target order.
std::vector<BasicRecord> listBasics(const store::Database& db);
void saveBasic(const store::Database& db, const BasicRecord& basic);
// What findBasic(), findUnitSetting() and listBasics() read, to be read ahead.
store::Range basicsRange();
bool removeBasic(const store::Database& db, const QString& target);

} // namespace records
