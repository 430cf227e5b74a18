#include "rules/overlap_settings.h"

#include "records/targets.h"

namespace 基本設定 {

Overlap overlapOf(const records::BasicRecord& basic)
{
    return {basic.overlapAllowed, basic.overlapCount};
}

Overlap LoadCommonOverlap(const store::Database& db)
{
    const std::optional<records::BasicRecord> basic = records::findBasic(db, records::kCommonTarget);
    return basic ? overlapOf(*basic) : Overlap();
}

Overlap LoadTargetOverlap(const store::Database& db, const QString& target, const Overlap& common)
{
    const std::optional<records::BasicRecord> basic = records::findBasic(db, target);
    return basic ? overlapOf(*basic) : common;
}

Overlap LoadOverlapSettings(const store::Database& db, const QString& target)
{
    return LoadTargetOverlap(db, target, LoadCommonOverlap(db));
}

} // namespace 基本設定
