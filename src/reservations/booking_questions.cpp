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

bool AskToOverride(booking_write::Question question, const QString& detail, const QString& title)
{
    using booking_write::Question;
    const QString text = question == Question::OverLimit ? QStringLiteral("予約人数がｵｰﾊﾞｰしています､登録を行いますか")
                         : question == Question::Overlap ? QStringLiteral("予約者が重複しています､登録を行いますか")
                                                         : kClosedTimeQuestion;
    return msg::askAbout(text, detail, title);
}

bool AcceptSlotCount(const 基本設定::Overlap& rule, int count, const QString& detail, const QString& title)
{
    return !予約上限::IsFull(count, rule) ||
           AskToOverride(rule.allowed ? booking_write::Question::OverLimit : booking_write::Question::Overlap, detail, title);
}

std::optional<booking_write::Outcome> WriteAsking(const store::Database& db, const Settings& settings,
                                                  const std::vector<booking_write::Change>& changes,
                                                  std::vector<booking_write::Consent> consents, const Asking& asking)
{
    using Kind = booking_write::Outcome::Kind;
    consents.resize(changes.size());
    bool confirmed = !asking.confirm;
    booking_write::Outcome outcome = booking_write::Check(db, settings, changes, consents);
    for (;;) {
        if (outcome.kind == Kind::Ask) {
            if (asking.fullIsFinal && outcome.question != booking_write::Question::ClosedTime)
                return outcome;
            if (!AskToOverride(outcome.question, asking.detail(outcome), asking.title))
                return std::nullopt;
            booking_write::Agree(outcome, consents);
            outcome = booking_write::Check(db, settings, changes, consents);
            continue;
        }
        if (outcome.kind != Kind::Fits) // written, or gone, changed or taken meanwhile
            return outcome;
        if (!confirmed && !asking.confirm())
            return std::nullopt;
        confirmed = true;
        outcome = booking_write::Write(db, settings, changes, consents);
    }
}
