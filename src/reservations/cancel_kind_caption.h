#pragma once

#include "records/cancellations.h"

#include <QString>

// How the forms show a kind of cancellation (取消_区分): its stored value and its name.
inline QString cancelKindCaption(records::CancelKind kind)
{
    switch (kind) {
    case records::CancelKind::Request: return QStringLiteral("1 本人申出");
    case records::CancelKind::NoShow: return QStringLiteral("2 無断不来");
    case records::CancelKind::Correction: break;
    }
    return QStringLiteral("3 窓口訂正");
}
