#include "rules/overlap_settings.h"

#include "base/app_state.h"
#include "records/basic.h"

namespace 基本設定 {

namespace {

std::optional<Overlap> recordOf(const QString& target)
{
    const std::optional<records::BasicRecord> basic = records::findBasic(store::Database::open(), target);
    if (!basic)
        return std::nullopt;
    return overlapOf(*basic);
}

} // namespace

Overlap overlapOf(const records::BasicRecord& basic)
{
    return {basic.overlapAllowed ? QStringLiteral("1") : QStringLiteral("0"), basic.overlapCount};
}

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
