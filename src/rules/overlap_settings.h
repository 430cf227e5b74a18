#pragma once

#include "records/basic.h"

#include <QString>

// Module 基本設定: the overlap rule of a target, from its own basic record or else from the
// common record "00000" ("0" and 0 when neither exists).
namespace 基本設定 {

struct Overlap {
    QString flag = QStringLiteral("0"); // "1": a slot may hold several reservations
    int limit = 0;                      // how many, when it may
};

// The rule a basic record holds.
Overlap overlapOf(const records::BasicRecord& basic);
Overlap LoadCommonOverlap();
Overlap LoadTargetOverlap(const QString& target, const Overlap& common);
// The rule of the current target into OverlapFlag and OverlapLimit.
void LoadOverlapSettings();

} // namespace 基本設定
