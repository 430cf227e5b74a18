#include "reservations/entry_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/basic.h"
#include "records/cancellations.h"
#include "records/numbering.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "reservations/booking_questions.h"
#include "reservations/waiting_offer.h"
#include "rules/booking_limit.h"
#include "rules/slot_counts.h"
#include "rules/reserver_numbering.h"
#include "store/database.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("予約者登録");
const QString kNoTimeChange = QStringLiteral("時間の修正は出来ません､削除して新たに登録して下さい");

} // namespace

予約者登::予約者登(const BookingSlot& booked, EntryOutcome& outcome)
    : ReserverDetailsForm(QStringLiteral("予約者登"), QStringLiteral("予約の登録"), kTitle), slot_(booked), outcome_(outcome)
{
    // The slot comes from the time inquiry: shown, never typed.
    対象番号 = displayBox("対象番号");
    対象略称 = displayBox("対象略称");
    対象名称 = displayBox("対象名称");
    予約日 = displayBox("予約日");
    開始時間 = displayBox("開始時間");
    終了時間 = textBox("終了時間");
    QPushButton* save = button("確定", "確定");
    save->setDefault(true); // Enter saves, after the usual question
    QPushButton* remove = button("削除", "削除");
    QPushButton* repeat = button("定期予約", "定期予約");
    QPushButton* close = button("終了", "終了");

    対象番号->setFixedWidth(70);
    対象略称->setFixedWidth(160);
    対象名称->setMinimumWidth(260);
    予約日->setFixedWidth(110);
    for (QLineEdit* box : {開始時間, 終了時間})
        box->setFixedWidth(70);

    // The end of the slot sits above the reserver's boxes, and comes before them.
    moveToFrontOfTabOrder(終了時間);
    ui::onLostFocus(終了時間, [this] { 終了時間_LostFocus(); });
    ui::onLostFocus(予約者NO, [this] { 予約者NO_LostFocus(); });
    ui::onClick(save, [this] { 確定_Click(); });
    ui::onClick(remove, [this] { 削除_Click(); });
    ui::onClick(repeat, [this] { 定期予約_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    auto* slot = new QGridLayout;
    // One spacing both ways, so that the rows laid out inside the grid keep it between their boxes.
    slot->setSpacing(10);
    slot->addWidget(label("予約対象"), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    auto* target = new QHBoxLayout;
    target->addWidget(対象番号);
    target->addWidget(対象略称);
    target->addWidget(対象名称, 1);
    slot->addLayout(target, 0, 1);
    slot->addWidget(label("予約日"), 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    auto* time = new QHBoxLayout;
    time->addWidget(予約日);
    time->addSpacing(24);
    time->addWidget(label("開始時間"));
    time->addWidget(開始時間);
    time->addWidget(label("～終了時間"));
    time->addWidget(終了時間);
    time->addStretch();
    slot->addLayout(time, 1, 1);
    slot->setColumnStretch(1, 1);

    QBoxLayout* buttons = buttonRow({save, remove, repeat, close});

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(12);
    page->addLayout(slot);
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    page->addWidget(rule);
    page->addLayout(reserverLayout(), 1);
    page->addLayout(buttons);
}

void 予約者登::Form_Load()
{
    check_.clear();
    対象番号->setText(slot_.target.number);
    対象略称->setText(slot_.target.abbrev);
    対象名称->setText(slot_.target.name);
    予約日->setText(input::dateText(slot_.date));
    開始時間->setText(input::timeText(slot_.start));
    終了時間->setText(input::timeText(slot_.end));
    read_.reset();
    if (!slot_.existing)
        return;
    // A booking gone since the list showed it stays what the form edits: a save says it is gone.
    read_ = records::findReservation(database(), keyOf(slot_.reserverNo))
                .value_or(records::Reservation{slot_.target.number, slot_.date, slot_.start, slot_.reserverNo});
    予約者NO->setText(slot_.reserverNo);
    if (!ShowReserverByName(slot_.reserverName))
        予約者名->setText(slot_.reserverName);
    備考->setText(read_->remark);
}

records::ReservationKey 予約者登::keyOf(const QString& reserverNo) const
{
    return {slot_.target.number, slot_.date, slot_.start, reserverNo};
}

void 予約者登::ShowBooking(const records::Reservation& booking, const std::optional<records::Reserver>& reserver)
{
    read_ = booking;
    予約者NO->setText(booking.reserverNo);
    if (!(reserver ? ShowReserver(reserver) : ShowReserverByName(booking.reserverName)))
        予約者名->setText(booking.reserverName);
    予約者カナ->setText(booking.reserverKana);
    終了時間->setText(input::timeText(booking.end));
    備考->setText(booking.remark);
}

bool 予約者登::EndTimeChanged() const
{
    const std::optional<input::TimeOfDay> end = input::timeFromText(終了時間->text(), true);
    return !end || *end != slot_.end;
}

void 予約者登::CheckEndTime()
{
    if (slot_.existing && EndTimeChanged()) {
        check_.fail(終了時間, kNoTimeChange);
        return;
    }
    const std::optional<input::TimeOfDay> end = input::timeFromText(終了時間->text(), true);
    if (!end || *end <= slot_.start)
        check_.fail(終了時間, QStringLiteral("終了時間に正しく入力してください"));
    else
        check_.pass(終了時間);
}

void 予約者登::終了時間_LostFocus()
{
    CheckEndTime();
    if (slot_.existing && EndTimeChanged())
        msg::exclaim(kNoTimeChange, kTitle);
}

void 予約者登::予約者NO_LostFocus()
{
    // Only a number the operator typed is looked up: showing the reserver again would replace the
    // remark of the reservation with the reserver's.
    if (!予約者NO->isModified())
        return;
    const QString number = 予約者NO->text().trimmed();
    if (number.isEmpty() || ShowReserverByNumber(number))
        check_.pass(予約者NO);
    else
        check_.fail(予約者NO, QStringLiteral("予約者NOに正しく入力してください"));
}

bool 予約者登::ValidateEntry()
{
    check_.clear();
    CheckReserverName();
    CheckReserverKana();
    CheckEndTime();
    CheckBirthDate();
    return !check_.reportFailure(kTitle);
}

void 予約者登::確定_Click()
{
    if (!ValidateEntry())
        return;
    const input::TimeOfDay end = *input::timeFromText(終了時間->text(), true);
    booking_write::Change booking;
    booking.read = read_;
    booking.result = BookingToSave(end);
    booking.saveReserver = [this](const store::Database& db) { return SaveReserver(db); };
    const 予約NO発番::NumberingSource source = 予約NO発番::SourceFor(settings(), slot_.target.number, appclock::today());
    booking.reserverReads = {records::reserverByNameRange(reserverName()), records::numberingRange(source.key)};
    // The reserver is saved under the number of its name, or else (almost always) the number after
    // the counter's last one.
    booking.findReads = [name = reserverName(), source](const store::Database& db) {
        const std::optional<records::Reserver> known = records::findReserverByName(db, name);
        return records::reserverSaveRanges(known ? known->number : 予約NO発番::FirstCandidateNumber(db, source.key, source.prefix));
    };
    // The same reserver's booking changed: a booking of a series may take its series along.
    if (read_ && reserverName() == read_->reserverName && WroteToSeries(booking))
        return;
    QString detail = BookingText(slot_.date, slot_.start, end, slot_.target.abbrev, reserverName());
    const std::optional<booking_write::Outcome> outcome =
        WriteAsking(database(), settings(), {booking}, {{slot_.acceptedBooked, false}},
                    {kTitle, [detail](const booking_write::Outcome&) { return detail; },
                     [] { return msg::ask(QStringLiteral("入力内容で更新します。"), kTitle); }});
    if (!outcome || Refused(*outcome))
        return;

    const records::Reservation& stored = outcome->stored.front();
    ShowBooking(stored, saved_);
    outcome_.EntryState = !outcome->replaced.front() ? 2 : end == slot_.end ? 1 : 4;
    outcome_.SlotEnd = end;
    msg::exclaim(QStringLiteral("予約は更新(登録)されました。"), kTitle);
    OfferFreedTime(desk(), *outcome, kTitle);
}

bool 予約者登::Refused(const booking_write::Outcome& outcome)
{
    using Kind = booking_write::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::Gone: msg::exclaim(QStringLiteral("予約は登録されていません。"), kTitle); return true;
    case Kind::ChangedElsewhere:
        // The booking as another desk left it, to be looked at before anything is saved over it.
        ShowBooking(*outcome.now);
        msg::exclaim(QStringLiteral("予約は他の端末で変更されています。"), kTitle);
        return true;
    case Kind::KeyTaken:
        msg::exclaim(QStringLiteral("この時間帯には同じ予約者NO「%1」で別の予約者「%2」の予約があります。予約は登録されませんでした。")
                         .arg(outcome.now->reserverNo, outcome.holder),
                     kTitle);
        return true;
    default: return false;
    }
}

QString 予約者登::SaveReserver(const store::Database& db)
{
    const QDate today = appclock::today();
    records::Reserver reserver = ReserverToSave(db, [&] {
        return 予約NO発番::IssueReserverNumber(db, 2, QString(), 予約NO発番::SourceFor(settings(), slot_.target.number, today)).number;
    });
    if (!reserver.lastBooked || *reserver.lastBooked < slot_.date)
        reserver.lastBooked = slot_.date;
    reserver.target = slot_.target.number;
    records::saveReserver(db, reserver);
    saved_ = reserver;
    return reserver.number;
}

records::Reservation 予約者登::BookingToSave(const input::TimeOfDay& end) const
{
    records::Reservation r;
    r.target = slot_.target.number;
    r.date = slot_.date;
    r.start = slot_.start;
    r.reserverNo = 予約者NO->text().trimmed();
    r.overlapAllowed = slot_.overlapAllowed;
    r.end = end;
    // The day the reservation was taken: the day of this save, even on a desk left running since
    // the day before. A change keeps the day the booking was taken.
    r.takenOn = read_ ? read_->takenOn : appclock::today();
    r.abbrev = slot_.target.abbrev;
    r.reserverName = reserverName();
    r.reserverKana = 予約者カナ->text().trimmed();
    r.remark = 備考->text();
    return r;
}

void 予約者登::削除_Click()
{
    const input::TimeOfDay end = input::timeFromText(終了時間->text(), true).value_or(slot_.end);
    booking_write::Change cancel;
    cancel.kind = booking_write::Change::Kind::Cancel;
    // On a booking not saved here, the one of the number in the box, as it is stored now.
    const records::ReservationKey named = keyOf(予約者NO->text().trimmed());
    cancel.read = read_ ? *read_
                        : records::findReservation(database(), named)
                              .value_or(records::Reservation{named.target, named.date, named.start, named.reserverNo});
    if (WroteToSeries(cancel))
        return;
    if (!msg::askAbout(QStringLiteral("登録内容を削除します。"),
                       BookingText(slot_.date, slot_.start, end, slot_.target.abbrev, reserverName()), kTitle))
        return;
    const booking_write::Outcome outcome = booking_write::Write(database(), settings(), {cancel}, {{}});
    if (Refused(outcome))
        return;
    read_.reset(); // 確定 now books it anew
    outcome_.EntryState = 3;
    msg::exclaim(QStringLiteral("予約は削除されました。"), kTitle);
    OfferFreedTime(desk(), outcome, kTitle);
}

void 予約者登::終了_Click()
{
    close();
}
