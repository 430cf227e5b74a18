#include "reservations/entry_form.h"

#include "base/app_state.h"
#include "base/clock.h"
#include "base/input.h"
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

予約者登::予約者登() : ReserverDetailsForm(QStringLiteral("予約者登"), QStringLiteral("予約の登録"), kTitle)
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

    QBoxLayout* buttons = buttonRow({save, remove, close});

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
    const BookingHandOff& b = app().booking;
    const TargetSelection& t = app().targets;
    check_.clear();
    existing_ = b.EntryState != 2;
    対象番号->setText(t.CurrentTarget);
    対象略称->setText(t.CurrentTargetAbbrev);
    対象名称->setText(t.CurrentTargetName);
    予約日->setText(b.SlotDate);
    開始時間->setText(b.SlotStart);
    終了時間->setText(b.SlotEnd);
    if (!existing_)
        return;
    予約者NO->setText(b.SlotReserverNo);
    if (!ShowReserverByName(b.SlotReserverName))
        予約者名->setText(b.SlotReserverName);
    ShowReservationRemark();
}

void 予約者登::ShowReservationRemark()
{
    store::Table reservations = store::Database::open().table("予約");
    reservations.setIndex("key_予約");
    reservations.seek("=", {対象番号->text(), 予約日->text(), 開始時間->text(), app().booking.SlotReserverNo});
    if (!reservations.eof() && !reservations.noMatch())
        備考->setText(reservations.text("予約_備考"));
}

bool 予約者登::EndTimeChanged() const
{
    const std::optional<input::TimeOfDay> end = input::timeFromText(終了時間->text(), true);
    return !end || input::timeText(*end) != app().booking.SlotEnd;
}

void 予約者登::CheckEndTime()
{
    if (existing_ && EndTimeChanged()) {
        check_.fail(終了時間, kNoTimeChange);
        return;
    }
    const std::optional<input::TimeOfDay> start = input::timeFromText(開始時間->text());
    const std::optional<input::TimeOfDay> end = input::timeFromText(終了時間->text(), true);
    if (!start || !end || end->minutes() <= start->minutes())
        check_.fail(終了時間, QStringLiteral("終了時間に正しく入力してください"));
    else
        check_.pass(終了時間);
}

void 予約者登::終了時間_LostFocus()
{
    CheckEndTime();
    if (existing_ && EndTimeChanged())
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
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;
    const QString end = input::timeText(*input::timeFromText(終了時間->text(), true));
    // The reserver, a number taken for a new one, and the reservation: all or nothing.
    const store::Database db = store::Database::open();
    QString number;
    std::optional<QString> holder;
    int state = 0;
    {
        store::Transaction booking(db);
        number = SaveReserver(db);
        holder = OtherReserverOnKey(db, number);
        if (!holder) {
            state = SaveReservation(db, number, end);
            booking.commit();
        }
    }
    if (holder) {
        msg::exclaim(QStringLiteral("この時間帯には同じ予約者NO「%1」で別の予約者「%2」の予約があります。予約は登録されませんでした。")
                         .arg(number, *holder),
                     kTitle);
        return;
    }

    予約者NO->setText(number);
    app().booking.EntryState = state;
    app().booking.SlotEnd = end;
    msg::exclaim(QStringLiteral("予約は更新(登録)されました。"), kTitle);
}

QString 予約者登::SaveReserver(const store::Database& db)
{
    const QString date = 予約日->text();
    store::Table reservers = db.table("予約者");
    const QString number = BeginReserverRecord(reservers);
    if (reservers.text("予約者_最新予約日") < date)
        reservers.set("予約者_最新予約日", date);
    reservers.set("予約者_対象番号", 対象番号->text());
    WriteParticulars(reservers);
    reservers.update();
    return number;
}

std::optional<QString> 予約者登::OtherReserverOnKey(const store::Database& db, const QString& number) const
{
    store::Table reservations = db.table("予約");
    reservations.setIndex("key_予約");
    reservations.seek("=", {対象番号->text(), 予約日->text(), 開始時間->text(), number});
    if (reservations.eof() || reservations.noMatch())
        return std::nullopt;
    const QString holder = reservations.text("予約_予約者名");
    if (holder == reserverName())
        return std::nullopt;
    return holder;
}

int 予約者登::SaveReservation(const store::Database& db, const QString& number, const QString& endText)
{
    const BookingHandOff& b = app().booking;
    const QString start = 開始時間->text();
    store::Table reservations = db.table("予約");
    reservations.setIndex("key_予約");
    reservations.seek("=", {対象番号->text(), 予約日->text(), start, number});
    int state = 2;
    if (reservations.eof() || reservations.noMatch()) {
        reservations.addNew();
    } else {
        state = start == b.SlotStart && endText == b.SlotEnd ? 1 : 4;
        reservations.edit();
    }
    reservations.set("予約_予約者NO", number);
    reservations.set("予約_予約者名", reserverName());
    reservations.set("予約_予約者名カナ", 予約者カナ->text().trimmed());
    reservations.set("予約_設定番号", 対象番号->text());
    reservations.set("予約_年月日", 予約日->text());
    reservations.set("予約_開始時間", start);
    reservations.set("予約_重複", app().overlap.OverlapFlag);
    reservations.set("予約_終了時間", endText);
    // The day the reservation was taken: the day of this save, even on a desk left running since
    // the day before.
    reservations.set("予約_受付日", input::dateText(appclock::today()));
    reservations.set("予約_略称", 対象略称->text());
    reservations.set("予約_備考", 備考->text());
    reservations.update();
    return state;
}

void 予約者登::削除_Click()
{
    if (!msg::ask(QStringLiteral("登録内容を削除します。"), kTitle))
        return;
    store::Table reservations = store::Database::open().table("予約");
    reservations.setIndex("key_予約");
    reservations.seek("=", {対象番号->text(), 予約日->text(), 開始時間->text(), 予約者NO->text()});
    if (reservations.eof() || reservations.noMatch()) {
        msg::exclaim(QStringLiteral("予約は登録されていません。"), kTitle);
        return;
    }
    reservations.remove();
    app().booking.EntryState = 3;
    msg::exclaim(QStringLiteral("予約は削除されました。"), kTitle);
}

void 予約者登::終了_Click()
{
    close();
}
