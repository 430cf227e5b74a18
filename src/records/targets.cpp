#include "records/targets.h"

#include "base/input.h"

#include <QRegularExpression>

namespace records {

namespace {

store::Table byNumber(const store::Database& db)
{
    return db.table("設定", "Key_設定");
}

Target read(const store::Table& targets)
{
    return {targets.text("設定_番号"), targets.text("設定_名称"), targets.text("設定_略称"), targets.text("設定_備考")};
}

} // namespace

std::vector<Target> listTargets(const store::Database& db)
{
    std::vector<Target> all;
    store::Table targets = byNumber(db);
    for (targets.seek(">=", {""}); !targets.eof(); targets.moveNext())
        all.push_back(read(targets));
    return all;
}

std::optional<Target> findTarget(const store::Database& db, const QString& number)
{
    store::Table targets = byNumber(db);
    if (!targets.find({number}))
        return std::nullopt;
    return read(targets);
}

std::optional<Target> findTargetByAbbrev(const store::Database& db, const QString& abbrev)
{
    store::Table targets = db.table("設定", "Idx_設定略称");
    if (!targets.find({abbrev}))
        return std::nullopt;
    return read(targets);
}

void saveTarget(const store::Database& db, const Target& target)
{
    store::Table targets = byNumber(db);
    targets.seekForWrite({target.number});
    targets.set("設定_番号", target.number);
    targets.set("設定_名称", target.name);
    targets.set("設定_略称", target.abbrev);
    targets.set("設定_備考", target.remark);
    targets.update();
}

bool removeTarget(const store::Database& db, const QString& number)
{
    return byNumber(db).findAndRemove({number});
}

std::optional<QString> paddedNumber(const QString& typed)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const QString plain = input::normalized(typed);
    if (!digits.match(plain).hasMatch())
        return std::nullopt;
    return plain.rightJustified(5, u'0');
}

void EnsureCommonTarget(const store::Database& db, const QString& target)
{
    if (findTarget(db, target) || findTarget(db, kCommonTarget))
        return;
    saveTarget(db, {kCommonTarget, QStringLiteral("共通基本情報"), QStringLiteral("共通基本情報"), QString()});
}

} // namespace records
