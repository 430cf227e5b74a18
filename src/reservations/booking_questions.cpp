#include "reservations/booking_questions.h"

#include "rules/booking_limit.h"
#include "ui/message_box.h"

#include <QStringList>

QString BookingText(const QDate& date, const input::TimeOfDay& start, const input::TimeOfDay& end, const QString& target,
                    const QString& reserver)
{
    QStringList parts{input::dateText(date), input::timeText(start) + QStringLiteral("～") + input::timeText(end), target};
    if (!reserver.isEmpty())
        parts << reserver;
    return parts.join(QLatin1Char(' '));
}

bool ConsentToOverbooking(const 基本設定::Overlap& rule, const QString& title)
{
    return msg::ask(rule.allowed ? QStringLiteral("予約人数がｵｰﾊﾞｰしています､登録を行いますか")
                                 : QStringLiteral("予約者が重複しています､登録を行いますか"),
                    title);
}

bool AcceptSlotCount(const 基本設定::Overlap& rule, int count, const QString& title)
{
    return !予約上限::IsFull(count, rule) || ConsentToOverbooking(rule, title);
}
