// The entry form's part in recurring bookings: a series made of the booking on screen, and a change
// or deletion of a booking of a series taken to the bookings of it the operator chooses.

#include "reservations/entry_form.h"

#include "records/reservers.h"
#include "reservations/booking_questions.h"
#include "reservations/series_form.h"
#include "reservations/waiting_offer.h"
#include "rules/series.h"
#include "store/database.h"
#include "ui/forms.h"
#include "ui/message_box.h"

#include <QLineEdit>

void 予約者登::定期予約_Click()
{
    if (!ValidateEntry())
        return;
    const store::Database& db = database();
    const QString number = 予約者NO->text().trimmed();
    const std::optional<records::Reserver> reserver = number.isEmpty() ? std::nullopt : records::findReserver(db, number);
    if (!reserver || reserver->name != reserverName()) {
        msg::exclaim(QStringLiteral("予約者が登録されていません。確定で予約を登録してから定期予約を作成してください。"), windowTitle());
        return;
    }
    const records::Reservation booking = BookingToSave(*input::timeFromText(終了時間->text(), true));
    if (const std::optional<records::Series> repeated = series::SeriesOf(db, booking.key())) {
        msg::exclaim(QStringLiteral("この予約はすでに定期予約の日程です（定期：%1）。").arg(series::Describe(*repeated)), windowTitle());
        return;
    }
    SeriesOutcome made;
    forms::showModal<定期予約登録>(desk(), booking, slot_.target, made);
    if (!made.registered)
        return;
    // The booking on screen is one of the series now, as it is stored.
    if (const std::optional<records::Reservation> stored = records::findReservation(db, booking.key())) {
        outcome_.EntryState = read_ ? 1 : 2;
        outcome_.SlotEnd = stored->end;
        ShowBooking(*stored);
    }
}

bool 予約者登::WroteToSeries(const booking_write::Change& own)
{
    const store::Database& db = database();
    const std::optional<records::Series> repeated = series::SeriesOf(db, own.read->key());
    if (!repeated)
        return false;
    const bool cancelling = own.kind == booking_write::Change::Kind::Cancel;
    const QString title = windowTitle();
    const records::Reservation& shown = *own.read;
    QString detail = BookingText(shown.date, shown.start, shown.end, slot_.target.abbrev, shown.reserverName) + QStringLiteral("\n定期：") +
                     series::Describe(*repeated);
    const QStringList reaches = {QStringLiteral("この予約のみ"), QStringLiteral("以降すべて"), QStringLiteral("すべて"),
                                 QStringLiteral("キャンセル")};
    // Enter changes this booking alone, and deletes nothing.
    const int chosen = msg::choose(cancelling ? QStringLiteral("定期予約の予約です。削除する範囲を選んでください。")
                                              : QStringLiteral("定期予約の予約です。更新する範囲を選んでください。"),
                                   detail, title, reaches, cancelling ? 3 : 0);
    if (chosen == 3)
        return true;
    const series::Reach reach = series::Reach(chosen);
    const std::optional<series::Reached> reached = series::ReachFrom(db, shown.key(), reach);
    if (!reached) // no longer of a series: the booking alone, as any other
        return false;
    const std::vector<booking_write::Change> changes = series::ReachedChanges(*reached, own);
    std::vector<booking_write::Consent> consents(changes.size());
    consents.front().booked = slot_.acceptedBooked;
    Asking asking;
    asking.title = title;
    asking.detail = [detail](const booking_write::Outcome&) { return detail; };
    asking.write = [&](const std::vector<booking_write::Change>& still, const std::vector<booking_write::Consent>& agreed) {
        return series::WriteReached(db, settings(), *reached, reach, still, agreed);
    };
    const std::optional<booking_write::Outcome> outcome = WriteAsking(db, settings(), changes, consents, asking);
    if (!outcome)
        return true;
    const QString done = cancelling ? QStringLiteral("削除") : QStringLiteral("更新");
    if (outcome->kind != booking_write::Outcome::Kind::Written) {
        if (outcome->concerned.front() == 0)
            Refused(*outcome);
        else
            msg::exclaim(QStringLiteral("定期予約の %1 の予約は他の端末で変更されています。予約は%2されませんでした。")
                             .arg(input::dateText(changes[outcome->concerned.front()].result.date), done),
                         title);
        return true;
    }
    QString reachedText;
    if (reach != series::Reach::ThisOnly) {
        reachedText = reached->leftAlone == 0 ? QStringLiteral("（定期予約 %1件を%2）").arg(changes.size()).arg(done)
                                              : QStringLiteral("（定期予約 %1件を%2、個別に変更された %3件はそのままです）")
                                                    .arg(changes.size())
                                                    .arg(done)
                                                    .arg(reached->leftAlone);
    }
    if (cancelling) {
        read_.reset(); // 確定 now books it anew
        outcome_.EntryState = 3;
        msg::exclaim(QStringLiteral("予約は削除されました。") + reachedText, title);
    } else {
        ShowBooking(outcome->stored.front());
        outcome_.EntryState = 1;
        outcome_.SlotEnd = outcome->stored.front().end;
        msg::exclaim(QStringLiteral("予約は更新(登録)されました。") + reachedText, title);
    }
    OfferFreedTime(desk(), *outcome, title);
    return true;
}
