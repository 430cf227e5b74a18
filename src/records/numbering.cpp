#include "records/numbering.h"

namespace records {

namespace {

store::Table byKey(const store::Database& db)
{
    return db.table("発番", "Key_発番");
}

} // namespace

std::optional<NumberingRow> findNumbering(const store::Database& db, const QString& key)
{
    store::Table numbering = byKey(db);
    if (!numbering.find({key}))
        return std::nullopt;
    return NumberingRow{key, numbering.text("発番_番号"), numbering.text("発番_PriFix"), numbering.text("発番_備考")};
}

store::Range numberingRange(const QString& key)
{
    return {"発番", "Key_発番", {key}, {}, 1};
}

void saveNumbering(const store::Database& db, const NumberingRow& row)
{
    store::Table numbering = byKey(db);
    numbering.seekForWrite({row.key});
    numbering.set("発番_設備", row.key);
    numbering.set("発番_番号", row.lastSequence);
    numbering.set("発番_PriFix", row.prefix);
    numbering.set("発番_備考", row.remark);
    numbering.update();
}

} // namespace records
