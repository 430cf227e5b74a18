#include "rules/overlap_settings.h"

#include "base/app_state.h"
#include "store/database.h"

namespace 基本設定 {

namespace {

std::optional<Overlap> recordOf(const QString& target)
{
    store::Table basic = store::Database::open().table("基本");
    basic.setIndex("Key_基本");
    basic.seek("=", {target});
    if (basic.eof() || basic.noMatch())
        return std::nullopt;
    return Overlap{basic.text("基本_重複"), basic.integer("基本_重複数")};
}

} // namespace

Overlap LoadCommonOverlap()
{
    return recordOf(QStringLiteral("00000")).value_or(Overlap());
}

Overlap LoadTargetOverlap(const QString& target, const Overlap& common)
{
    return recordOf(target).value_or(common);
}

void LoadOverlapSettings()
{
    const Overlap overlap = LoadTargetOverlap(app().targets.CurrentTarget, LoadCommonOverlap());
    app().overlap.OverlapFlag = overlap.flag;
    app().overlap.OverlapLimit = overlap.limit;
}

} // namespace 基本設定
