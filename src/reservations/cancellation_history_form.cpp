#include "reservations/cancellation_history_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "reservations/booking_questions.h"
#include "reservations/cancel_kind_caption.h"
#include "reservations/waiting_offer.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/list_grid.h"
#include "ui/message_box.h"
#include "ui/palette.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("取消履歴");
constexpr int kColumns = 9;
const QStringList kHeaders = {QStringLiteral("取消日時"), QStringLiteral("区分"),     QStringLiteral("予約日"),
                              QStringLiteral("開始"),     QStringLiteral("終了"),     QStringLiteral("予約対象"),
                              QStringLiteral("予約者NO"), QStringLiteral("予約者名"), QStringLiteral("理由")};
const std::vector<int> kWidths = {2000, 1100, 1200, 700, 700, 1000, 1300, 1800, 2200}; // twips
constexpr records::CancelKind kKinds[] = {records::CancelKind::Request, records::CancelKind::NoShow, records::CancelKind::Correction};

// A date box: empty is no limit; nothing at all when the text is no date.
std::optional<std::optional<QDate>> dateLimit(QLineEdit* box)
{
    if (input::normalized(box->text()).isEmpty())
        return std::optional<QDate>();
    if (const std::optional<QDate> date = input::date(box->text())) {
        box->setText(input::dateText(*date));
        return date;
    }
    return std::nullopt;
}

} // namespace

取消履歴::取消履歴() : Form(QStringLiteral("取消履歴"), kTitle)
{
    開始日 = textBox(QStringLiteral("開始日"));
    終了日 = textBox(QStringLiteral("終了日"));
    対象番号 = textBox(QStringLiteral("対象番号"));
    予約者NO = textBox(QStringLiteral("予約者NO"));
    for (QLineEdit* box : {開始日, 終了日, 対象番号, 予約者NO})
        box->setMaximumWidth(110);
    QPushButton* 表示 = button(QStringLiteral("表示"), QStringLiteral("表示"));
    取消一覧 = grid(QStringLiteral("取消一覧"));
    取消一覧->setMinimumSize(ui::listGridWidth(取消一覧, kWidths), 300);
    区分 = comboBox(QStringLiteral("区分"));
    for (const records::CancelKind kind : kKinds)
        区分->addItem(cancelKindCaption(kind));
    理由 = textBox(QStringLiteral("理由"));
    QPushButton* 変更 = button(QStringLiteral("変更"), QStringLiteral("変更"));
    QPushButton* 復元 = button(QStringLiteral("復元"), QStringLiteral("復元"));
    予約日 = textBox(QStringLiteral("予約日"));
    開始時間 = textBox(QStringLiteral("開始時間"));
    予約日->setMaximumWidth(110);
    開始時間->setMaximumWidth(70);
    QPushButton* 無断 = button(QStringLiteral("無断"), QStringLiteral("無断不来"));
    QPushButton* 終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    auto* filter = new QHBoxLayout;
    filter->addWidget(label(QStringLiteral("取消日")));
    filter->addWidget(開始日);
    filter->addWidget(label(QStringLiteral("～")));
    filter->addWidget(終了日);
    filter->addSpacing(16);
    filter->addWidget(label(QStringLiteral("予約対象NO")));
    filter->addWidget(対象番号);
    filter->addSpacing(16);
    filter->addWidget(label(QStringLiteral("予約者NO")));
    filter->addWidget(予約者NO);
    filter->addSpacing(16);
    filter->addWidget(表示);
    filter->addStretch();

    auto* chosen = new QHBoxLayout;
    chosen->addWidget(label(QStringLiteral("区分")));
    chosen->addWidget(区分);
    chosen->addWidget(label(QStringLiteral("理由")));
    chosen->addWidget(理由, 1);
    chosen->addWidget(変更);
    chosen->addWidget(復元);

    auto* noShow = new QHBoxLayout;
    noShow->addWidget(label(QStringLiteral("無断不来の予約日")));
    noShow->addWidget(予約日);
    noShow->addWidget(label(QStringLiteral("開始時間")));
    noShow->addWidget(開始時間);
    noShow->addWidget(無断);
    noShow->addStretch();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(10);
    page->addLayout(filter);
    page->addWidget(取消一覧, 1);
    page->addLayout(chosen);
    page->addLayout(noShow);
    page->addLayout(buttonRow({終了}));

    ui::onClick(表示, [this] { 表示_Click(); });
    ui::onClick(取消一覧, [this] { 取消一覧_Click(); });
    ui::onClick(変更, [this] { 変更_Click(); });
    ui::onClick(復元, [this] { 復元_Click(); });
    ui::onClick(無断, [this] { 無断_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 取消履歴::Form_Load()
{
    const QDate today = appclock::today();
    開始日->setText(input::dateText(today.addMonths(-1)));
    終了日->setText(input::dateText(today));
    FillList();
}

void 取消履歴::表示_Click()
{
    FillList();
}

void 取消履歴::FillList()
{
    const std::optional<std::optional<QDate>> from = dateLimit(開始日);
    const std::optional<std::optional<QDate>> through = dateLimit(終了日);
    if (!from || !through) {
        msg::exclaim(!from ? QStringLiteral("開始日に正しく入力してください") : QStringLiteral("終了日に正しく入力してください"), kTitle);
        return;
    }
    listed_ = records::listCancellations(database(), {*from, *through, 対象番号->text().trimmed(), 予約者NO->text().trimmed()});
    chosenRow_ = 0;
    FlexGrid* g = 取消一覧;
    ui::headListGrid(g, int(listed_.size()), kHeaders, kWidths);
    for (size_t i = 0; i < listed_.size(); ++i) {
        const records::Cancellation& c = listed_[i];
        const records::Reservation& r = c.reservation;
        const QString cells[kColumns] = {c.at.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                                         cancelKindCaption(c.kind),
                                         input::dateText(r.date),
                                         input::timeText(r.start),
                                         input::timeText(r.end),
                                         r.abbrev.isEmpty() ? r.target : r.abbrev,
                                         r.reserverNo,
                                         r.reserverName,
                                         c.reason};
        for (int col = 0; col < kColumns; ++col)
            g->setTextMatrix(int(i) + 1, col, cells[col]);
    }
}

void 取消履歴::取消一覧_Click()
{
    const int row = 取消一覧->row();
    if (row < 1 || row > int(listed_.size()))
        return;
    if (chosenRow_ > 0)
        取消一覧->paintRow(chosenRow_, 0, -1, ui::qbColor(15));
    chosenRow_ = row;
    取消一覧->paintRow(chosenRow_, 0, -1, ui::qbColor(10));
    const records::Cancellation& c = listed_[size_t(row - 1)];
    区分->setCurrentIndex(int(c.kind) - 1);
    理由->setText(c.reason);
}

const records::Cancellation* 取消履歴::RequireChosen()
{
    if (chosenRow_ > 0)
        return &listed_[size_t(chosenRow_ - 1)];
    msg::exclaim(QStringLiteral("取消記録を選択して下さい｡ "), kTitle);
    return nullptr;
}

void 取消履歴::変更_Click()
{
    const records::Cancellation* chosen = RequireChosen();
    if (!chosen || !msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;
    records::Cancellation changed = *chosen;
    changed.kind = records::CancelKind(区分->currentIndex() + 1);
    changed.reason = 理由->text();
    if (!records::updateCancellation(database(), changed)) {
        msg::exclaim(QStringLiteral("取消記録は登録されていません。"), kTitle);
        FillList();
        return;
    }
    msg::exclaim(QStringLiteral("取消記録は更新されました。"), kTitle);
    FillList();
}

void 取消履歴::復元_Click()
{
    const records::Cancellation* chosen = RequireChosen();
    if (!chosen)
        return;
    // Booked again as 確定 books: the limit and closed time of the day as it is now are asked about.
    booking_write::Change restore;
    restore.kind = booking_write::Change::Kind::Restore;
    restore.restoring = *chosen;
    restore.result = chosen->reservation;
    const records::Reservation& r = chosen->reservation;
    QString detail = BookingText(r.date, r.start, r.end, r.abbrev, r.reserverName);
    const std::optional<booking_write::Outcome> outcome =
        WriteAsking(database(), settings(), {restore}, {},
                    {kTitle, [detail](const booking_write::Outcome&) { return detail; },
                     [] { return msg::ask(QStringLiteral("指定の取消を復元します。"), kTitle); }});
    if (!outcome)
        return;
    switch (outcome->kind) {
    case booking_write::Outcome::Kind::Written: msg::exclaim(QStringLiteral("予約は復元されました。"), kTitle); break;
    case booking_write::Outcome::Kind::KeyTaken:
        msg::exclaim(QStringLiteral("同じ予約者の予約が同じ開始時間に登録されています。"), kTitle);
        break;
    default: msg::exclaim(QStringLiteral("取消記録は登録されていません。"), kTitle); break;
    }
    FillList();
    OfferFreedTime(desk(), *outcome, kTitle);
}

void 取消履歴::無断_Click()
{
    const std::optional<QDate> day = input::date(予約日->text());
    const std::optional<input::TimeOfDay> start = input::timeFromText(開始時間->text());
    if (対象番号->text().trimmed().isEmpty() || 予約者NO->text().trimmed().isEmpty()) {
        msg::exclaim(QStringLiteral("予約対象NOと予約者NOに入力してください"), kTitle);
        return;
    }
    if (!day || !start) {
        msg::exclaim(!day ? QStringLiteral("予約日に正しく入力してください") : QStringLiteral("開始時間に正しく入力してください"), kTitle);
        return;
    }
    const records::ReservationKey key{対象番号->text().trimmed(), *day, *start, 予約者NO->text().trimmed()};
    const store::Database db = database();
    const std::optional<records::Reservation> r = records::findReservation(db, key);
    if (!r) {
        msg::exclaim(QStringLiteral("予約は登録されていません。"), kTitle);
        return;
    }
    // Only a reservation whose time is over can have been missed.
    const QDateTime now = appclock::now();
    if (r->date > now.date() || (r->date == now.date() && r->end.minutes() > now.time().hour() * 60 + now.time().minute())) {
        msg::exclaim(QStringLiteral("終わっていない予約は無断不来にできません。"), kTitle);
        return;
    }
    if (!msg::ask(QStringLiteral("指定予約を無断不来として取り消します。"), kTitle))
        return;
    if (!records::cancelReservation(db, key, records::CancelKind::NoShow)) {
        msg::exclaim(QStringLiteral("予約は登録されていません。"), kTitle);
        return;
    }
    msg::exclaim(QStringLiteral("予約は無断不来として取消しされました。"), kTitle);
    FillList();
}

void 取消履歴::終了_Click()
{
    close();
}
