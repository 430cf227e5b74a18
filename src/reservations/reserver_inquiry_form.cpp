#include "reservations/reserver_inquiry_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/targets.h"
#include "reservations/cancel_kind_caption.h"
#include "reservations/time_inquiry_form.h"
#include "rules/reserver_lookup.h"
#include "rules/series.h"
#include "store/database.h"
#include "ui/database_watch.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/list_grid.h"
#include "ui/message_box.h"
#include "ui/palette.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace {

const QString kTitle = QStringLiteral("予約者照会");
// Longer than any name, kana or number the desk keeps.
constexpr int kLongestSearch = 100;

const QStringList kCandidateHeaders = {QStringLiteral("予約者NO"), QStringLiteral("予約者名"), QStringLiteral("カナ"),
                                       QStringLiteral("電話番号")};
const std::vector<int> kCandidateWidths = {1400, 2000, 2000, 1800};
const QStringList kBookingHeaders = {QStringLiteral("予約日"), QStringLiteral("開始"), QStringLiteral("終了"), QStringLiteral("予約対象"),
                                     QStringLiteral("備考")};
const std::vector<int> kBookingWidths = {1300, 700, 700, 1400, 1900};
const QStringList kCancellationHeaders = {QStringLiteral("取消日時"), QStringLiteral("区分"),     QStringLiteral("予約日"),
                                          QStringLiteral("開始"),     QStringLiteral("予約対象"), QStringLiteral("理由")};
const std::vector<int> kCancellationWidths = {2000, 1300, 1300, 700, 1400, 3000};
const QStringList kSeriesHeaders = {QStringLiteral("予約対象"), QStringLiteral("定期"), QStringLiteral("期間"), QStringLiteral("予約")};
const std::vector<int> kSeriesWidths = {1100, 3000, 2600, 900};

void fillBookings(FlexGrid* g, const std::vector<records::Reservation>& bookings)
{
    ui::headListGrid(g, int(bookings.size()), kBookingHeaders, kBookingWidths);
    for (size_t i = 0; i < bookings.size(); ++i) {
        const records::Reservation& r = bookings[i];
        const QString cells[] = {input::dateText(r.date), input::timeText(r.start), input::timeText(r.end),
                                 r.abbrev.isEmpty() ? r.target : r.abbrev, r.remark};
        for (int col = 0; col < int(std::size(cells)); ++col)
            g->setTextMatrix(int(i) + 1, col, cells[col]);
    }
}

} // namespace

予約者照会::予約者照会() : Form(QStringLiteral("予約者照会"), kTitle)
{
    検索 = textBox(QStringLiteral("検索"));
    検索->setMaxLength(kLongestSearch);
    検索->setMinimumWidth(260);
    QPushButton* 検索開始 = button(QStringLiteral("検索開始"), QStringLiteral("検索開始"));
    検索開始->setDefault(true); // Enter in the box searches
    候補件数 = label(QString(), nullptr, QStringLiteral("候補件数"));
    候補一覧 = grid(QStringLiteral("候補一覧"));
    候補一覧->setMinimumSize(ui::listGridWidth(候補一覧, kCandidateWidths), 150);

    QGroupBox* particulars = frame(QStringLiteral("予約者"), QStringLiteral("予約者"));
    予約者NO = displayBox(QStringLiteral("予約者NO"), particulars);
    予約者名 = displayBox(QStringLiteral("予約者名"), particulars);
    予約者カナ = displayBox(QStringLiteral("予約者カナ"), particulars);
    電話番号 = displayBox(QStringLiteral("電話番号"), particulars);
    携帯番号 = displayBox(QStringLiteral("携帯番号"), particulars);
    住所 = displayBox(QStringLiteral("住所"), particulars);
    最新予約日 = displayBox(QStringLiteral("最新予約日"), particulars);
    備考 = displayBox(QStringLiteral("備考"), particulars);
    auto* fields = new QGridLayout(particulars);
    // Two columns of four: who they are, and how to reach them.
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"予約者NO", 予約者NO}, {"予約者名", 予約者名}, {"カナ", 予約者カナ},       {"住所", 住所},
        {"電話番号", 電話番号}, {"携帯番号", 携帯番号}, {"最新予約日", 最新予約日}, {"備考", 備考}};
    for (int i = 0; i < int(std::size(rows)); ++i) {
        fields->addWidget(label(QString::fromUtf8(rows[i].first), particulars), i % 4, i / 4 * 2);
        fields->addWidget(rows[i].second, i % 4, i / 4 * 2 + 1);
        rows[i].second->setMinimumWidth(170);
    }

    予約一覧 = grid(QStringLiteral("予約一覧"));
    過去予約一覧 = grid(QStringLiteral("過去予約一覧"));
    for (FlexGrid* g : {予約一覧, 過去予約一覧})
        g->setMinimumSize(ui::listGridWidth(g, kBookingWidths), 150);
    取消件数 = label(QString(), nullptr, QStringLiteral("取消件数"));
    取消一覧 = grid(QStringLiteral("取消一覧"));
    取消一覧->setMinimumSize(ui::listGridWidth(取消一覧, kCancellationWidths), 120);
    定期一覧 = grid(QStringLiteral("定期一覧"));
    定期一覧->setMinimumSize(ui::listGridWidth(定期一覧, kSeriesWidths), 120);
    QPushButton* 照会 = button(QStringLiteral("照会"), QStringLiteral("照会"));
    QPushButton* 終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    auto* search = new QHBoxLayout;
    search->addWidget(label(QStringLiteral("検索")));
    search->addWidget(検索);
    search->addWidget(検索開始);
    search->addWidget(label(QStringLiteral("電話番号（下4桁以上）・カナ・予約者名・予約者NO")));
    search->addStretch();

    auto* found = new QVBoxLayout;
    found->addWidget(候補件数);
    found->addWidget(候補一覧, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(found, 1);
    top->addWidget(particulars);

    const auto titled = [this](const QString& caption, QWidget* above, QWidget* grid) {
        auto* column = new QVBoxLayout;
        column->addWidget(above ? above : label(caption));
        column->addWidget(grid, 1);
        return column;
    };
    auto* bookings = new QHBoxLayout;
    bookings->addLayout(titled(QStringLiteral("今日以降の予約"), nullptr, 予約一覧));
    bookings->addLayout(titled(QStringLiteral("過去の予約（新しい順）"), nullptr, 過去予約一覧));

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(10);
    page->addLayout(search);
    page->addLayout(top, 1);
    page->addLayout(bookings, 1);
    auto* kept = new QHBoxLayout;
    kept->addLayout(titled(QString(), 取消件数, 取消一覧));
    kept->addLayout(titled(QStringLiteral("定期予約"), nullptr, 定期一覧));
    page->addLayout(kept, 1);
    page->addLayout(buttonRow({照会, 終了}));

    ui::onClick(検索開始, [this] { 検索開始_Click(); });
    ui::onClick(候補一覧, [this] { 候補一覧_Click(); });
    ui::onClick(予約一覧, [this] { 予約一覧_Click(); });
    ui::onClick(過去予約一覧, [this] { 過去予約一覧_Click(); });
    ui::onClick(照会, [this] { 照会_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
    new DatabaseWatch(this, [this] { FollowDatabase(); });
    ui::headListGrid(候補一覧, 0, kCandidateHeaders, kCandidateWidths);
    Clear();
}

void 予約者照会::検索開始_Click()
{
    if (input::searchKey(検索->text()).isEmpty()) {
        msg::exclaim(QStringLiteral("電話番号、カナ、予約者名または予約者NOを入力して下さい。"), kTitle);
        検索->setFocus();
        return;
    }
    FillCandidates();
    if (candidates_.empty()) {
        msg::exclaim(QStringLiteral("該当する予約者はありません"), kTitle);
        検索->setFocus();
        return;
    }
    // One match is the reserver looked for: shown at once.
    if (candidates_.size() == 1) {
        候補一覧->setRow(1);
        候補一覧_Click();
    }
}

void 予約者照会::FillCandidates()
{
    const reserver_lookup::Found found = reserver_lookup::findReservers(database(), 検索->text());
    candidates_ = found.reservers;
    Clear();
    ui::headListGrid(候補一覧, int(candidates_.size()), kCandidateHeaders, kCandidateWidths);
    for (size_t i = 0; i < candidates_.size(); ++i) {
        const records::Reserver& r = candidates_[i];
        const QString cells[] = {r.number, r.name, r.kana, r.phone.isEmpty() ? r.mobile : r.phone};
        for (int col = 0; col < int(std::size(cells)); ++col)
            候補一覧->setTextMatrix(int(i) + 1, col, cells[col]);
    }
    候補件数->setText(found.more
                          ? QStringLiteral("候補が多いため先頭の %1 件を表示しています。詳しく入力して下さい。").arg(candidates_.size())
                          : QStringLiteral("候補 %1 件").arg(candidates_.size()));
}

void 予約者照会::候補一覧_Click()
{
    const int row = 候補一覧->row();
    if (row < 1 || row > int(candidates_.size()))
        return;
    for (int r = 1; r <= int(candidates_.size()); ++r)
        候補一覧->paintRow(r, 0, -1, ui::qbColor(r == row ? 10 : 15));
    ShowReserver(candidates_[size_t(row - 1)]);
}

void 予約者照会::Clear()
{
    shown_.reset();
    coming_.clear();
    past_.clear();
    chosenBooking_.reset();
    chosenGrid_ = nullptr;
    chosenRow_ = 0;
    for (QLineEdit* box : {予約者NO, 予約者名, 予約者カナ, 電話番号, 携帯番号, 住所, 最新予約日, 備考})
        box->clear();
    fillBookings(予約一覧, {});
    fillBookings(過去予約一覧, {});
    ui::headListGrid(取消一覧, 0, kCancellationHeaders, kCancellationWidths);
    取消件数->setText(QStringLiteral("取消・無断不来"));
    ui::headListGrid(定期一覧, 0, kSeriesHeaders, kSeriesWidths);
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): a copy, as FollowDatabase passes shown_, which Clear() resets
void 予約者照会::ShowReserver(records::Reserver reserver)
{
    Clear();
    const store::Database db = database();
    // The card as of one moment, though another desk books meanwhile.
    store::Transaction reading(db, store::Transaction::ForReading);
    const records::Reserver r = records::findReserver(db, reserver.number).value_or(reserver);
    shown_ = r;
    予約者NO->setText(r.number);
    予約者名->setText(r.name);
    予約者カナ->setText(r.kana);
    電話番号->setText(r.phone);
    携帯番号->setText(r.mobile);
    住所->setText(r.address);
    最新予約日->setText(r.lastBooked ? input::dateText(*r.lastBooked) : QString());
    備考->setText(r.remark);

    const QDate today = appclock::today();
    for (records::Reservation& booking : records::reservationsOfReserver(db, r.number))
        (booking.date >= today ? coming_ : past_).push_back(std::move(booking));
    std::reverse(past_.begin(), past_.end());
    fillBookings(予約一覧, coming_);
    fillBookings(過去予約一覧, past_);

    const std::vector<records::Cancellation> cancelled = records::listCancellations(db, {{}, {}, {}, r.number});
    ShowSeries(db, r.number);
    reading.commit();
    ui::headListGrid(取消一覧, int(cancelled.size()), kCancellationHeaders, kCancellationWidths);
    std::map<records::CancelKind, int> counts;
    for (size_t i = 0; i < cancelled.size(); ++i) {
        const records::Cancellation& c = cancelled[i];
        ++counts[c.kind];
        const QString cells[] = {c.at.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                                 cancelKindCaption(c.kind),
                                 input::dateText(c.reservation.date),
                                 input::timeText(c.reservation.start),
                                 c.reservation.abbrev.isEmpty() ? c.reservation.target : c.reservation.abbrev,
                                 c.reason};
        for (int col = 0; col < int(std::size(cells)); ++col)
            取消一覧->setTextMatrix(int(i) + 1, col, cells[col]);
    }
    QStringList byKind;
    for (records::CancelKind kind : {records::CancelKind::Request, records::CancelKind::NoShow, records::CancelKind::Correction})
        byKind << QStringLiteral("%1 %2件").arg(cancelKindCaption(kind).mid(2)).arg(counts[kind]);
    取消件数->setText(QStringLiteral("取消・無断不来 %1件（%2）").arg(cancelled.size()).arg(byKind.join(QStringLiteral("・"))));
}

void 予約者照会::ShowSeries(const store::Database& db, const QString& reserverNo)
{
    const std::vector<records::Series> kept = records::seriesOfReserver(db, reserverNo);
    ui::headListGrid(定期一覧, int(kept.size()), kSeriesHeaders, kSeriesWidths);
    for (size_t i = 0; i < kept.size(); ++i) {
        const records::Series& s = kept[i];
        const std::vector<records::SeriesDate> dates = records::datesOfSeries(db, s.number);
        const auto booked = std::count_if(dates.begin(), dates.end(), [](const records::SeriesDate& d) { return d.holdsBooking(); });
        const std::optional<records::Target> target = records::findTarget(db, s.target);
        const QString cells[] = {target && !target->abbrev.isEmpty() ? target->abbrev : s.target, series::Describe(s),
                                 input::dateText(s.first) + QStringLiteral("～") + input::dateText(s.last),
                                 QStringLiteral("%1件").arg(booked)};
        for (int col = 0; col < int(std::size(cells)); ++col)
            定期一覧->setTextMatrix(int(i) + 1, col, cells[col]);
    }
}

void 予約者照会::ChooseBooking(FlexGrid* grid, const std::vector<records::Reservation>& listed, int row)
{
    if (row < 1 || row > int(listed.size()))
        return;
    if (chosenGrid_ && chosenRow_ > 0)
        chosenGrid_->paintRow(chosenRow_, 0, -1, ui::qbColor(15));
    chosenGrid_ = grid;
    chosenRow_ = row;
    chosenBooking_ = listed[size_t(row - 1)];
    grid->paintRow(row, 0, -1, ui::qbColor(10));
}

void 予約者照会::予約一覧_Click()
{
    ChooseBooking(予約一覧, coming_, 予約一覧->row());
}

void 予約者照会::過去予約一覧_Click()
{
    ChooseBooking(過去予約一覧, past_, 過去予約一覧->row());
}

void 予約者照会::照会_Click()
{
    if (!chosenBooking_) {
        msg::exclaim(QStringLiteral("予約を選択して下さい。"), kTitle);
        return;
    }
    const records::Reservation booking = *chosenBooking_;
    const std::optional<records::Target> target = records::findTarget(database(), booking.target);
    if (!target) {
        msg::exclaim(QStringLiteral("予約対象「%1」は登録されていません。").arg(booking.target), kTitle);
        return;
    }
    forms::showModal<時間照会>(desk(), InquiryRequest{InquiryKind::ByTarget, booking.date, booking.date.addDays(6), *target, {}});
    // The time inquiry may have booked, moved or cancelled the reserver's bookings.
    FollowDatabase();
}

void 予約者照会::FollowDatabase()
{
    if (!shown_)
        return;
    const std::optional<records::ReservationKey> chosen = chosenBooking_ ? std::optional(chosenBooking_->key()) : std::nullopt;
    ShowReserver(*shown_);
    if (!chosen)
        return;
    for (auto [grid, listed] : {std::pair{予約一覧, &coming_}, std::pair{過去予約一覧, &past_}}) {
        const auto found = std::find_if(listed->begin(), listed->end(), [&](const records::Reservation& r) { return r.key() == *chosen; });
        if (found != listed->end())
            ChooseBooking(grid, *listed, int(found - listed->begin()) + 1);
    }
}

void 予約者照会::終了_Click()
{
    close();
}
