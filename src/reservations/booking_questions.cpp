#include "reservations/booking_questions.h"

#include "rules/booking_limit.h"
#include "ui/message_box.h"

#include <QStringList>
#include <numeric>

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
    // The changes still in, and where each stands in the request: an outcome names them by their
    // place among those still in.
    std::vector<booking_write::Change> current = changes;
    std::vector<size_t> placeInRequest(changes.size());
    std::iota(placeInRequest.begin(), placeInRequest.end(), size_t(0));
    const auto inRequest = [&](booking_write::Outcome outcome) {
        for (size_t& index : outcome.concerned)
            index = placeInRequest[index];
        return outcome;
    };
    const auto leaveOut = [&](const std::vector<size_t>& concerned) {
        for (auto index = concerned.rbegin(); index != concerned.rend(); ++index) {
            current.erase(current.begin() + std::ptrdiff_t(*index));
            consents.erase(consents.begin() + std::ptrdiff_t(*index));
            placeInRequest.erase(placeInRequest.begin() + std::ptrdiff_t(*index));
        }
    };
    bool confirmed = !asking.confirm;
    booking_write::Outcome outcome = booking_write::Check(db, settings, current, consents);
    for (;;) {
        if (outcome.kind == Kind::Ask) {
            const booking_write::Outcome asked = inRequest(outcome);
            if (asking.fullIsFinal && outcome.question != booking_write::Question::ClosedTime)
                return asked;
            if (AskToOverride(asked.question, asking.detail(asked), asking.title)) {
                booking_write::Agree(outcome, consents);
            } else {
                if (!asking.leaveOut)
                    return std::nullopt;
                asking.leaveOut(asked);
                leaveOut(outcome.concerned);
                if (current.empty())
                    return std::nullopt;
            }
            outcome = booking_write::Check(db, settings, current, consents);
            continue;
        }
        if (outcome.kind != Kind::Fits) // written, or gone, changed or taken meanwhile
            return inRequest(outcome);
        if (!confirmed && !asking.confirm())
            return std::nullopt;
        confirmed = true;
        outcome = asking.write ? asking.write(current, consents) : booking_write::Write(db, settings, current, consents);
    }
}
