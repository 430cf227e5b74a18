#include "reservations/waiting_entry_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/reservers.h"
#include "records/waiting_list.h"
#include "rules/reserver_numbering.h"
#include "rules/waiting_list.h"
#include "store/database.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QFrame>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("キャンセル待ち登録");

} // namespace

キャンセル待ち登録::キャンセル待ち登録(const BookingSlot& slot)
    : ReserverDetailsForm(QStringLiteral("キャンセル待ち登録"), kTitle, kTitle), slot_(slot)
{
    対象略称 = displayBox("対象略称");
    予約日 = displayBox("予約日");
    開始時間 = displayBox("開始時間");
    終了時間 = textBox("終了時間");
    // The number is the stored reserver's, or the one a new name gets: never typed.
    showOnly(予約者NO);
    QPushButton* save = button("確定", "確定");
    save->setDefault(true);
    QPushButton* close = button("終了", "終了");

    対象略称->setFixedWidth(160);
    予約日->setFixedWidth(110);
    for (QLineEdit* box : {開始時間, 終了時間})
        box->setFixedWidth(70);
    moveToFrontOfTabOrder(終了時間);
    ui::onLostFocus(終了時間, [this] { 終了時間_LostFocus(); });
    ui::onClick(save, [this] { 確定_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    auto* slotLine = new QHBoxLayout;
    slotLine->setSpacing(10);
    slotLine->addWidget(label("予約対象"));
    slotLine->addWidget(対象略称);
    slotLine->addSpacing(16);
    slotLine->addWidget(label("予約日"));
    slotLine->addWidget(予約日);
    slotLine->addSpacing(16);
    slotLine->addWidget(label("開始時間"));
    slotLine->addWidget(開始時間);
    slotLine->addWidget(label("～終了時間"));
    slotLine->addWidget(終了時間);
    slotLine->addStretch();

    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(12);
    page->addLayout(slotLine);
    page->addWidget(rule);
    page->addLayout(reserverLayout(Particulars::Contact), 1);
    page->addLayout(buttonRow({save, close}));
}

void キャンセル待ち登録::Form_Load()
{
    check_.clear();
    対象略称->setText(slot_.target.abbrev);
    予約日->setText(input::dateText(slot_.date));
    開始時間->setText(input::timeText(slot_.start));
    終了時間->setText(input::timeText(slot_.end));
}

void キャンセル待ち登録::終了時間_LostFocus()
{
    CheckEndTime();
}

void キャンセル待ち登録::CheckEndTime()
{
    const std::optional<input::TimeOfDay> end = input::timeFromText(終了時間->text(), true);
    if (!end || *end <= slot_.start)
        check_.fail(終了時間, QStringLiteral("終了時間に正しく入力してください"));
    else
        check_.pass(終了時間);
}

void キャンセル待ち登録::CheckPhone()
{
    // A place that frees is offered by telephone.
    if (電話番号->text().trimmed().isEmpty())
        check_.fail(電話番号, QStringLiteral("電話番号に入力してください"));
    else
        check_.pass(電話番号);
}

void キャンセル待ち登録::確定_Click()
{
    check_.clear();
    CheckReserverName();
    CheckReserverKana();
    CheckPhone();
    CheckEndTime();
    if (check_.reportFailure(kTitle) || !msg::ask(QStringLiteral("入力内容でキャンセル待ちに登録します。"), kTitle))
        return;
    records::WaitingEntry entry;
    entry.target = slot_.target.number;
    entry.date = slot_.date;
    entry.start = slot_.start;
    entry.end = *input::timeFromText(終了時間->text(), true);
    entry.reserverName = reserverName();
    entry.phone = 電話番号->text();
    entry.remark = 備考->text();
    using Kind = waiting_list::Registration::Kind;
    const waiting_list::Registration registration =
        waiting_list::Register(database(), settings(), entry, [this](const store::Database& db) { return SaveReserver(db); });
    switch (registration.kind) {
    case Kind::Started: msg::exclaim(QStringLiteral("開始時間を過ぎた時間帯はキャンセル待ちに登録できません。"), kTitle); return;
    case Kind::PlaceFree: msg::exclaim(QStringLiteral("指定時間帯には空きがあります｡ 予約して下さい｡ "), kTitle); return;
    case Kind::AlreadyWaiting: msg::exclaim(QStringLiteral("この予約者は同じ時間帯のキャンセル待ちに登録済みです。"), kTitle); return;
    case Kind::Registered: break;
    }
    予約者NO->setText(registration.entry.reserverNo);
    msg::exclaim(QStringLiteral("キャンセル待ちは登録されました。"), kTitle);
    close(); // a second 確定 would put the customer on the list twice
}

QString キャンセル待ち登録::SaveReserver(const store::Database& db) const
{
    if (const std::optional<records::Reserver> stored = records::findReserverByName(db, reserverName()))
        return stored->number;
    records::Reserver reserver;
    reserver.number =
        予約NO発番::IssueReserverNumber(db, 2, QString(), 予約NO発番::SourceFor(settings(), slot_.target.number, appclock::today())).number;
    reserver.name = reserverName();
    reserver.kana = 予約者カナ->text().trimmed();
    reserver.phone = 電話番号->text();
    reserver.target = slot_.target.number;
    records::saveReserver(db, reserver);
    return reserver.number;
}

void キャンセル待ち登録::終了_Click()
{
    close();
}
