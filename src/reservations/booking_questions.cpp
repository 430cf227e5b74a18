#include "reservations/booking_questions.h"

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

bool AcceptSlotCount(const 基本設定::Overlap& rule, int count, const QString& title)
{
    if (!rule.allowed)
        return count == 0 || msg::ask(QStringLiteral("予約者が重複しています､登録を行いますか"), title);
    return count < rule.limit || msg::ask(QStringLiteral("予約人数がｵｰﾊﾞｰしています､登録を行いますか"), title);
}
