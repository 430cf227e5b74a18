#include "reservations/waiting_list_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/targets.h"
#include "reservations/booking_questions.h"
#include "rules/waiting_list.h"
#include "store/database.h"
#include "ui/database_watch.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/list_grid.h"
#include "ui/message_box.h"
#include "ui/palette.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("キャンセル待ち一覧");
const QString kNoLongerWaiting = QStringLiteral("このキャンセル待ちは既に予約済みか、取下げ済みか、開始時間を過ぎています。");
constexpr int kColumns = 7;
const QStringList kHeaders = {QStringLiteral("登録日時"), QStringLiteral("予約対象"), QStringLiteral("日付"), QStringLiteral("時間"),
                              QStringLiteral("予約者名"), QStringLiteral("電話番号"), QStringLiteral("備考")};
const std::vector<int> kWidths = {1900, 1400, 1200, 1300, 1800, 1700, 2600}; // twips

} // namespace

キャンセル待ち一覧::キャンセル待ち一覧(std::vector<records::ReservationSpan> freed)
    : Form(QStringLiteral("キャンセル待ち一覧"), kTitle), freed_(std::move(freed))
{
    表示内容 = label(QString(), nullptr, "表示内容");
    待ち一覧 = grid("待ち一覧");
    待ち一覧->setMinimumSize(ui::listGridWidth(待ち一覧, kWidths), 320);
    QPushButton* 予約 = button("予約", "予約");
    QPushButton* 取下げ = button("取下げ", "取下げ");
    QPushButton* 終了 = button("終了", "終了");

    ui::onClick(待ち一覧, [this] { 待ち一覧_Click(); });
    ui::onClick(予約, [this] { 予約_Click(); });
    ui::onClick(取下げ, [this] { 取下げ_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
    new DatabaseWatch(this, [this] { FillList(); });

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(10);
    page->addWidget(表示内容);
    page->addWidget(待ち一覧, 1);
    page->addLayout(buttonRow({予約, 取下げ, 終了}));
}

void キャンセル待ち一覧::Form_Load()
{
    FillList();
}

void キャンセル待ち一覧::Offer(std::vector<records::ReservationSpan> freed)
{
    freed_ = std::move(freed);
    chosenRow_ = 0;
    FillList();
}

void キャンセル待ち一覧::FillList()
{
    const store::Database& db = database();
    records::expireWaitingEntries(db, appclock::now());
    const QString chosen = chosenRow_ > 0 ? listed_[size_t(chosenRow_ - 1)].number : QString();
    listed_ = freed_.empty() ? waiting_list::AllWaiting(db) : waiting_list::Offers(db, settings(), freed_);
    表示内容->setText(freed_.empty() ? QStringLiteral("キャンセル待ちの方（登録順）")
                                     : QStringLiteral("空きの出た時間帯のキャンセル待ちの方（登録順）"));
    chosenRow_ = 0;
    FlexGrid* g = 待ち一覧;
    ui::headListGrid(g, int(listed_.size()), kHeaders, kWidths);
    for (size_t i = 0; i < listed_.size(); ++i) {
        const records::WaitingEntry& e = listed_[i];
        const QString cells[kColumns] = {e.made.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                                         AbbrevOf(e.target),
                                         input::dateText(e.date),
                                         input::timeText(e.start) + QStringLiteral("～") + input::timeText(e.end),
                                         e.reserverName,
                                         e.phone,
                                         e.remark};
        for (int col = 0; col < kColumns; ++col)
            g->setTextMatrix(int(i) + 1, col, cells[col]);
        if (e.number == chosen)
            ChooseRow(int(i) + 1);
    }
}

void キャンセル待ち一覧::待ち一覧_Click()
{
    const int row = 待ち一覧->row();
    if (row >= 1 && row <= int(listed_.size()))
        ChooseRow(row);
}

void キャンセル待ち一覧::ChooseRow(int row)
{
    if (chosenRow_ > 0)
        待ち一覧->paintRow(chosenRow_, 0, -1, ui::qbColor(15));
    chosenRow_ = row;
    待ち一覧->paintRow(chosenRow_, 0, -1, ui::qbColor(10));
}

const records::WaitingEntry* キャンセル待ち一覧::RequireChosen()
{
    if (chosenRow_ > 0)
        return &listed_[size_t(chosenRow_ - 1)];
    msg::exclaim(QStringLiteral("キャンセル待ちの方を選択して下さい｡ "), kTitle);
    return nullptr;
}

QString キャンセル待ち一覧::AbbrevOf(const QString& target) const
{
    const std::optional<records::Target> found = records::findTarget(database(), target);
    return found && !found->abbrev.isEmpty() ? found->abbrev : target;
}

QString キャンセル待ち一覧::EntryText(const records::WaitingEntry& entry) const
{
    return BookingText(entry.date, entry.start, entry.end, AbbrevOf(entry.target), entry.reserverName);
}

void キャンセル待ち一覧::予約_Click()
{
    const records::WaitingEntry* chosen = RequireChosen();
    if (!chosen)
        return;
    QString detail = EntryText(*chosen);
    Asking asking{kTitle, [detail](const booking_write::Outcome&) { return detail; },
                  [detail] { return msg::askAbout(QStringLiteral("キャンセル待ちの方の予約を登録します。"), detail, kTitle); }};
    asking.fullIsFinal = true; // a place another desk took meanwhile is gone, not overbooked
    const std::optional<booking_write::Outcome> outcome =
        WriteAsking(database(), settings(), {waiting_list::BookingOf(database(), *chosen)}, {}, asking);
    if (!outcome)
        return;
    using Kind = booking_write::Outcome::Kind;
    switch (outcome->kind) {
    case Kind::Written: msg::exclaim(QStringLiteral("予約は登録されました。"), kTitle); break;
    case Kind::Ask: msg::exclaim(QStringLiteral("空きは他の予約で埋まりました。予約は登録されませんでした。"), kTitle); break;
    case Kind::KeyTaken: msg::exclaim(QStringLiteral("同じ予約者の予約が同じ開始時間に登録されています。"), kTitle); break;
    default: msg::exclaim(kNoLongerWaiting, kTitle); break;
    }
    FillList();
}

void キャンセル待ち一覧::取下げ_Click()
{
    const records::WaitingEntry* chosen = RequireChosen();
    if (!chosen || !msg::askAbout(QStringLiteral("キャンセル待ちを取り下げます。"), EntryText(*chosen), kTitle))
        return;
    if (waiting_list::Withdraw(database(), *chosen))
        msg::exclaim(QStringLiteral("キャンセル待ちは取り下げられました。"), kTitle);
    else
        msg::exclaim(kNoLongerWaiting, kTitle);
    FillList();
}

void キャンセル待ち一覧::終了_Click()
{
    close();
}
