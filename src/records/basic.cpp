#include "records/basic.h"

#include "records/stored.h"

namespace records {

namespace {

store::Table byTarget(const store::Database& db)
{
    return db.table("基本", "Key_基本");
}

UnitSetting readUnit(const store::Table& basic)
{
    const QString unit = basic.text("基本_単位");
    const UnitKind kind = unit == QLatin1String("2") ? UnitKind::Hours : unit == QLatin1String("3") ? UnitKind::Day : UnitKind::Minutes;
    const store::Value setting = basic.field("基本_設定");
    return {kind, setting.isInteger() ? std::optional<int>(int(setting.integer())) : stored::number(setting.text()), setting.text()};
}

BasicRecord read(const store::Table& basic)
{
    const bool overlapAllowed = stored::flag(basic, "基本_重複");
    // Where overlap is not allowed the count means nothing and another tool may leave it empty.
    const int overlapCount = overlapAllowed ? basic.integer("基本_重複数") : stored::number(basic.text("基本_重複数")).value_or(0);
    return {basic.text("基本_番号"), readUnit(basic), overlapAllowed, overlapCount, basic.text("基本_備考")};
}

} // namespace

std::optional<BasicRecord> findBasic(const store::Database& db, const QString& target)
{
    store::Table basic = byTarget(db);
    if (!basic.find({target}))
        return std::nullopt;
    return read(basic);
}

std::optional<UnitSetting> findUnitSetting(const store::Database& db, const QString& target)
{
    store::Table basic = byTarget(db);
    if (!basic.find({target}))
        return std::nullopt;
    return readUnit(basic);
}

std::vector<BasicRecord> listBasics(const store::Database& db)
{
    std::vector<BasicRecord> all;
    store::Table basic = byTarget(db);
    for (basic.seek(">=", {""}); !basic.eof(); basic.moveNext())
        all.push_back(read(basic));
    return all;
}

store::Range basicsRange()
{
    return {"基本", "Key_基本", {""}, {}};
}

void saveBasic(const store::Database& db, const BasicRecord& record)
{
    store::Table basic = byTarget(db);
    basic.seekForWrite({record.target});
    basic.set("基本_番号", record.target);
    basic.set("基本_単位", int(record.unit.kind));
    basic.set("基本_設定", record.unit.setting.value_or(0));
    basic.set("基本_重複", record.overlapAllowed ? 1 : 0);
    basic.set("基本_重複数", record.overlapAllowed ? record.overlapCount : 0);
    basic.set("基本_備考", record.remark);
    basic.update();
}

bool removeBasic(const store::Database& db, const QString& target)
{
    return byTarget(db).findAndRemove({target});
}

} // namespace records
