#include "reservations/overbooking_question.h"

#include "ui/message_box.h"

bool ConsentToOverbooking(const 基本設定::Overlap& overlap, const QString& title)
{
    return msg::ask(overlap.allowed ? QStringLiteral("予約人数がｵｰﾊﾞｰしています､登録を行いますか")
                                    : QStringLiteral("予約者が重複しています､登録を行いますか"),
                    title);
}
