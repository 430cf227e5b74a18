#pragma once

#include "rules/overlap_settings.h"

#include <QString>

// Asks whether to book a slot that is already at its target's limit; true for Yes. The question
// says which limit: the number allowed, or no overlap at all.
bool ConsentToOverbooking(const 基本設定::Overlap& overlap, const QString& title);
