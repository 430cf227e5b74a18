#pragma once

#include "store/database.h"
#include "store/read_ahead.h"

#include <QString>
#include <optional>

// Table マスタ: the seven master items of the desk, one record per item number, its content as
// the operator typed it.
namespace records {

struct MasterItem {
    int number = 0;
    QString content;
    QString remark;
};

std::optional<MasterItem> findMasterItem(const store::Database& db, int number);
void saveMasterItem(const store::Database& db, const MasterItem& item);
// What findMasterItem() reads, to be read ahead.
store::Range masterItemsRange();

} // namespace records
