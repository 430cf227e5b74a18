#pragma once

#include "records/basic.h"
#include "store/database.h"

#include <QString>

// Module 基本設定: the overlap rule of a target, from its own basic record or else from the
// common record "00000" (no overlap when neither exists).
namespace 基本設定 {

struct Overlap {
    bool allowed = false; // a slot may hold several reservations
    int limit = 0;        // how many, when it may
};

// The rule a basic record holds.
Overlap overlapOf(const records::BasicRecord& basic);
Overlap LoadCommonOverlap(const store::Database& db);
Overlap LoadTargetOverlap(const store::Database& db, const QString& target, const Overlap& common);
// The target's rule, falling back on the common one.
Overlap LoadOverlapSettings(const store::Database& db, const QString& target);

} // namespace 基本設定
