#include "records/master_items.h"

namespace records {

namespace {

store::Table byNumber(const store::Database& db)
{
    return db.table("マスタ", "idx_マスタ");
}

} // namespace

std::optional<MasterItem> findMasterItem(const store::Database& db, int number)
{
    store::Table items = byNumber(db);
    if (!items.find({number}))
        return std::nullopt;
    return MasterItem{number, items.text("マス_内容"), items.text("マス_備考")};
}

store::Range masterItemsRange()
{
    return {"マスタ", "idx_マスタ", {""}, {}};
}

void saveMasterItem(const store::Database& db, const MasterItem& item)
{
    store::Table items = byNumber(db);
    items.seekForWrite({item.number});
    items.set("マス_番号", item.number);
    items.set("マス_内容", item.content);
    items.set("マス_備考", item.remark);
    items.update();
}

} // namespace records
