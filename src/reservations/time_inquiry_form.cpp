#include "reservations/time_inquiry_form.h"

#include "base/kinds.h"
#include "base/clock.h"
#include "base/input.h"
#include "reservations/booking_questions.h"
#include "reservations/entry_form.h"
#include "reservations/waiting_entry_form.h"
#include "reservations/waiting_offer.h"
#include "rules/booking_limit.h"
#include "rules/holidays_in_force.h"
#include "rules/overlap_settings.h"
#include "rules/series.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "rules/waiting_list.h"
#include "records/cancellations.h"
#include "records/reservations.h"
#include "records/series.h"
#include "records/targets.h"
#include "store/database.h"
#include "ui/calendar_layout.h"
#include "ui/database_watch.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/grid_window.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/business_status.h"
#include "views/reservation_status.h"
#include "views/slot_tooltip.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString& kTitle = kTimeInquiryTitle;
const QString kNoReservationChosen = QStringLiteral("予約者を選択して下さい｡ ");
const QString kNoSlotChosen = QStringLiteral("時間帯を選択して下さい｡ ");
constexpr int kListRows = 20;      // rows of 予約一覧 before it grows
constexpr int kDateBoxWidth = 110; // pixels: a date "yyyy/mm/dd"
constexpr int kListColumns = 6;
constexpr int kListWidths[kListColumns] = {1300, 1500, 900, 900, 2000, 600}; // twips

QString targetName(const store::Database& db, const QString& number)
{
    const std::optional<records::Target> target = records::findTarget(db, number);
    return target ? target->name : QString();
}

} // namespace

時間照会::時間照会(const InquiryRequest& request) : Form(QStringLiteral("時間照会"), kTitle), request_(request)
{
    表示Label = label(QString(), nullptr, "表示Label");
    表示開始日 = displayBox("表示開始日");
    範囲 = label("～", nullptr, "範囲");
    表示終了日 = displayBox("表示終了日");
    予約対象別照会 = frame("予約対象別照会", QString());
    予約対象別照会->setStyleSheet("QGroupBox { border: none; margin: 0; }");
    予約対象別照会->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    対象略称 = displayBox("対象略称", 予約対象別照会);
    時間帯 = grid("時間帯");
    時間内予約者 = frame("時間内予約者", "時間内予約者");
    予約時間 = displayBox("予約時間", 時間内予約者);
    設定人数 = displayBox("設定人数", 時間内予約者);
    予約一覧 = grid("予約一覧", 時間内予約者);
    予約 = button("予約", "予約");
    待ち登録 = button("待ち登録", "キャンセル待ち");
    選択 = button("選択", "選択");
    削除 = button("削除", "削除");
    移動 = button("移動", "移動");
    移動->setCheckable(true); // pressed while in move mode
    QPushButton* close = button("終了", "終了");
    前期間 = button("前期間", calendar_layout::kPreviousArrow);
    次期間 = button("次期間", calendar_layout::kNextArrow);
    今日 = button("今日", "今日");
    calendar_layout::styleStepButtons(前期間, 次期間);
    移動案内 = label("移動先の時間帯を選択して下さい｡ Escキーで中止します｡", nullptr, "移動案内");
    移動案内->hide();

    for (QLineEdit* box : {表示開始日, 表示終了日})
        box->setFixedWidth(kDateBoxWidth);
    対象略称->setFixedWidth(200);
    予約時間->setFixedWidth(70);
    設定人数->setFixedWidth(90);
    // Every column beside the scroll bar, and the header with eight reservations in view.
    予約一覧->setRows(9);
    予約一覧->setCols(kListColumns);
    for (int col = 0; col < kListColumns; ++col)
        予約一覧->setColWidth(col, kListWidths[col]);
    予約一覧->setFixedSize(予約一覧->sizeHint() + QSize(予約一覧->verticalScrollBar()->sizeHint().width(), 0));
    // Hidden until a slot is chosen, without the window changing its layout.
    QSizePolicy keepSpace(QSizePolicy::Fixed, QSizePolicy::Fixed);
    keepSpace.setRetainSizeWhenHidden(true);
    時間内予約者->setSizePolicy(keepSpace);

    ui::onClick(時間帯, [this] { 時間帯_Click(); });
    ui::onClick(予約一覧, [this] { 予約一覧_Click(); });
    ui::onClick(予約, [this] { 予約_Click(); });
    ui::onClick(待ち登録, [this] { 待ち登録_Click(); });
    ui::onClick(選択, [this] { 選択_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });
    ui::onClick(移動, [this] { 移動_Click(); });
    ui::onClick(前期間, [this] { 前期間_Click(); });
    ui::onClick(次期間, [this] { 次期間_Click(); });
    ui::onClick(今日, [this] { 今日_Click(); });
    // A booking of a series names its series.
    予約一覧->setToolTipSource([this](int row, int) {
        return row >= 1 && size_t(row) <= listedSeries_.size() && !listedSeries_[size_t(row - 1)].isEmpty()
                   ? QStringLiteral("定期：") + listedSeries_[size_t(row - 1)]
                   : QString();
    });
    時間帯->setToolTipSource([this](int row, int col) {
        QString tip;
        ui::guarded([&] { tip = SlotToolTip(row, col); });
        return tip;
    });
    new DatabaseWatch(this, [this] { FollowDatabase(); });

    auto* target = new QHBoxLayout(予約対象別照会);
    target->setContentsMargins(0, 0, 0, 0);
    target->addWidget(label("対象略称", 予約対象別照会));
    target->addWidget(対象略称);

    auto* dates = new QHBoxLayout;
    dates->addWidget(表示Label);
    dates->addWidget(表示開始日);
    dates->addWidget(範囲);
    dates->addWidget(表示終了日);
    dates->addWidget(前期間);
    dates->addWidget(次期間);
    dates->addWidget(今日);
    dates->addSpacing(32);
    dates->addWidget(予約対象別照会);
    dates->addSpacing(32);
    dates->addWidget(移動案内);
    dates->addStretch();

    auto* slotFacts = new QHBoxLayout;
    slotFacts->addWidget(label("予約時間", 時間内予約者));
    slotFacts->addWidget(予約時間);
    slotFacts->addSpacing(24);
    slotFacts->addWidget(label("重複設定人数", 時間内予約者));
    slotFacts->addWidget(設定人数);
    slotFacts->addStretch();
    auto* inSlot = new QVBoxLayout(時間内予約者);
    inSlot->addLayout(slotFacts);
    inSlot->addWidget(予約一覧, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {予約, 待ち登録, 選択, 削除, 移動, close}) {
        b->setMinimumSize(kCommandButton);
        buttons->addWidget(b);
    }

    auto* lower = new QHBoxLayout;
    lower->setSpacing(16);
    lower->addWidget(時間内予約者);
    lower->addLayout(buttons);
    lower->addStretch();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 12, 12, 12);
    page->setSpacing(10);
    page->addLayout(dates);
    page->addWidget(時間帯, 1);
    page->addLayout(lower);
    // A window made larger than the grid needs keeps the grid and the list together at the top.
    page->addStretch();
}

void 時間照会::Form_Load()
{
    // Nothing chosen until the grid is built and a slot of it is clicked.
    slotRow_ = slotCol_ = 0;
    column_ = slot_ = -1;
    時間内予約者->hide();
    for (QPushButton* button : {予約, 待ち登録, 選択, 削除, 移動})
        button->setEnabled(false);
    const bool byTarget = request_.kind == InquiryKind::ByTarget;
    表示Label->setText(byTarget ? QStringLiteral("表示開始日") : QStringLiteral("照会日"));
    // The title of one day names its holiday: wide enough for a name of seven characters, so that
    // the arrows beside it stay where they are from day to day.
    const int oneDayWidth = 表示開始日->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00(月・一二三四五六七)")) + 12;
    表示開始日->setFixedWidth(byTarget ? kDateBoxWidth : oneDayWidth);
    for (QWidget* w : std::initializer_list<QWidget*>{予約対象別照会, 範囲, 表示終了日})
        w->setVisible(byTarget);
    if (byTarget) {
        表示開始日->setText(input::dateText(request_.firstDate));
        表示終了日->setText(input::dateText(request_.lastDate));
        対象略称->setText(request_.target.abbrev);
    }
    ShowSlotGrid();
    ui::fitWindowToGrid(this, 時間帯);
}

void 時間照会::ShowSlotGrid()
{
    const bool byTarget = request_.kind == InquiryKind::ByTarget;
    時間TBL::TimeTableRequest tableRequest;
    tableRequest.TimeTableMode = int(byTarget ? TimeTableMode::ByTarget : TimeTableMode::ByDay);
    tableRequest.InquiryKind = int(request_.kind);
    tableRequest.DailyHoursKind = settings().DailyHoursKind;
    tableRequest.CurrentTarget = request_.target.number;
    tableRequest.CurrentTargetAbbrev = request_.target.abbrev;
    tableRequest.WorkingDate = request_.firstDate;
    tableRequest.SelectedDate = request_.firstDate;
    tableRequest.TargetList = request_.targets.numbers;
    tableRequest.TargetAbbrevList = request_.targets.abbrevs;
    const 予約TBL::CountRequest countRequest{int(request_.kind), request_.target.number, request_.firstDate, request_.targets.numbers,
                                             予約TBL::SlotTimesOf(settings())};
    // Everything the grid shows, read at once: a server is asked once.
    const store::ReadAhead together(database(), 予約TBL::GridRanges(countRequest, request_.firstDate, request_.lastDate));
    table_ = 時間TBL::BuildTimeTable(database(), tableRequest);
    counts_ = 予約TBL::BuildReservationCounts(database(), countRequest);
    counts_.WaitingCount = waiting_list::CountForColumns(database(), counts_.Slots, table_.Columns);
    const national_holidays::HolidayNames holidays =
        national_holidays::holidayNamesBetween(database(), request_.firstDate, byTarget ? request_.lastDate : request_.firstDate);
    if (!byTarget)
        表示開始日->setText(営業状色付::DayTitle(request_.firstDate, holidays.on(request_.firstDate)));
    営業状色付::ShowBusinessStatus(時間帯, table_, counts_.Slots, holidays);
    rowOverlap_ = 予約状色付::ColourReservationStatus(database(), 時間帯, table_, counts_);
}

void 時間照会::FollowDatabase()
{
    const std::optional<records::ReservationKey> chosen =
        listRow_ >= 1 && size_t(listRow_) <= listed_.size() ? std::optional(listed_[size_t(listRow_ - 1)].key()) : std::nullopt;
    ShowSlotGrid();
    if (slotRow_ == 0 || size_t(column_) >= table_.Columns.size())
        return;
    TakeChosenTarget();
    MarkSlotCell();
    SetUpReservationList();
    FillReservationList();
    for (size_t i = 0; chosen && i < listed_.size(); ++i) {
        if (listed_[i].key() == *chosen) {
            listRow_ = int(i) + 1;
            MarkListRow();
        }
    }
}

void 時間照会::時間帯_Click()
{
    const int row = 時間帯->row();
    const int col = 時間帯->col();
    const std::optional<int> column = 営業状色付::TimeTableColumnAt(table_, row);
    const std::optional<int> slot = counts_.Slots.slotAtColumn(col);
    if (!column || !slot) {
        msg::exclaim(QStringLiteral("指定時間帯が有効範囲外です｡ "), kTitle);
        return;
    }
    if (時間帯->cellBackColor(row, col) == ui::offHoursColour()) {
        msg::exclaim(QStringLiteral("指定時間帯は休業時間です｡ "), kTitle);
        return;
    }
    if (moving_)
        MoveTo(*column, *slot);
    else
        ChooseSlot(row, col, *column, *slot);
}

void 時間照会::ChooseSlot(int row, int col, int column, int slot)
{
    RestoreSlotCell();
    slotRow_ = row;
    slotCol_ = col;
    column_ = column;
    slot_ = slot;
    MarkSlotCell();

    TakeChosenTarget();
    for (QPushButton* button : {予約, 待ち登録, 選択, 削除, 移動})
        button->setEnabled(true);
    SetUpReservationList();
    FillReservationList();
}

bool 時間照会::RequireChosenSlot()
{
    const std::vector<std::vector<int>>& counts = counts_.ReservationCount;
    if (column_ >= 0 && size_t(column_) < table_.Columns.size() && size_t(column_) < counts.size() && slot_ >= 0 &&
        size_t(slot_) < counts[size_t(column_)].size())
        return true;
    msg::exclaim(kNoSlotChosen, kTitle);
    return false;
}

void 時間照会::TakeChosenTarget()
{
    const TimeTableColumn& chosen = table_.Columns[size_t(column_)];
    chosenTarget_ = {chosen.Target, targetName(database(), chosen.Target), chosen.TargetAbbrev, QString()};
    chosenDate_ = chosen.ColumnDate;
    chosenOverlap_ = size_t(column_) < rowOverlap_.size() ? rowOverlap_[size_t(column_)] : 基本設定::Overlap();
}

void 時間照会::RestoreSlotCell()
{
    if (slotRow_ > 0)
        時間帯->paintRow(slotRow_, slotCol_, slotCol_, slotColour_);
}

void 時間照会::MarkSlotCell()
{
    slotColour_ = 時間帯->cellBackColor(slotRow_, slotCol_);
    時間帯->paintRow(slotRow_, slotCol_, slotCol_, ui::qbColor(10));
}

void 時間照会::SetUpReservationList()
{
    FlexGrid* g = 予約一覧;
    g->startLayout(kListRows + 1, kListColumns, 1, 0);
    g->paintRow(0, 0, -1, ui::qbColor(14));
    const QString headers[kListColumns] = {QStringLiteral("予約者NO"), QStringLiteral("予約者名"), QStringLiteral("予約開始"),
                                           QStringLiteral("予約終了"), QStringLiteral("備考"),     QStringLiteral("定期")};
    for (int col = 0; col < kListColumns; ++col) {
        g->setTextMatrix(0, col, headers[col]);
        g->setColWidth(col, kListWidths[col]);
    }
    g->setRow(0);
    g->setCol(0);
    listRow_ = 0;
    listRows_ = 0;
    listed_.clear();
    listedSeries_.clear();
    予約時間->setText(counts_.Slots.startText(slot_));
    設定人数->setText(chosenOverlap_.allowed ? QString::number(chosenOverlap_.limit) : QStringLiteral("重複不可"));
}

void 時間照会::FillReservationList()
{
    時間内予約者->show();
    for (records::Reservation& r : 予約TBL::ReservationsInSlot(database(), counts_.Slots, chosenTarget_.number, chosenDate_, slot_)) {
        const int row = ++listRows_;
        if (row >= 予約一覧->rows())
            予約一覧->setRows(row + 1);
        const std::optional<records::Series> repeated = series::SeriesOf(database(), r.key());
        const QString cells[kListColumns] = {r.reserverNo,           r.reserverName, input::timeText(r.start),
                                             input::timeText(r.end), r.remark,       repeated ? QStringLiteral("定") : QString()};
        listed_.push_back(std::move(r));
        listedSeries_.push_back(repeated ? series::Describe(*repeated) : QString());
        for (int col = 0; col < kListColumns; ++col)
            予約一覧->setTextMatrix(row, col, cells[col]);
        予約一覧->setRow(row);
        予約一覧->setCol(0);
        予約一覧->setColSel(kListColumns - 1);
        予約一覧->setCellAlignment(FlexGrid::LeftCenter); // numbers of reservers are not amounts
    }
}

void 時間照会::予約一覧_Click()
{
    const int row = 予約一覧->row();
    if (row < 1 || row > listRows_) {
        msg::exclaim(QStringLiteral("指定対象が有効範囲外です｡ "), kTitle);
        return;
    }
    RestoreListRow();
    listRow_ = row;
    MarkListRow();
}

void 時間照会::RestoreListRow()
{
    if (listRow_ > 0)
        予約一覧->paintRow(listRow_, 0, -1, ui::qbColor(15));
}

void 時間照会::MarkListRow()
{
    予約一覧->paintRow(listRow_, 0, -1, ui::qbColor(10));
}

void 時間照会::予約_Click()
{
    if (!RequireChosenSlot())
        return;
    TakeChosenTarget();
    const int count = counts_.ReservationCount[size_t(column_)][size_t(slot_)];
    const BookingSlot slot = NewBookingSlot();
    if (!AcceptSlotCount(chosenOverlap_, count, BookingText(slot.date, slot.start, slot.end, chosenTarget_.abbrev), kTitle)) {
        OpenWaitingEntry(slot); // full, and not to be booked beyond its limit
        return;
    }
    // A new reservation is for the chosen slot, whatever reservation the list points at. The
    // entry form counts again when it saves, and asks again only if more were booked meanwhile.
    OpenEntryForm(slot);
}

void 時間照会::待ち登録_Click()
{
    if (!RequireChosenSlot())
        return;
    TakeChosenTarget();
    if (!予約上限::IsFull(counts_.ReservationCount[size_t(column_)][size_t(slot_)], chosenOverlap_)) {
        msg::exclaim(QStringLiteral("指定時間帯には空きがあります｡ "), kTitle);
        return;
    }
    OpenWaitingEntry(NewBookingSlot());
}

BookingSlot 時間照会::NewBookingSlot() const
{
    const int count = counts_.ReservationCount[size_t(column_)][size_t(slot_)];
    return {chosenTarget_,
            chosenDate_,
            *input::timeFromText(counts_.Slots.startText(slot_)),
            *input::timeFromText(counts_.Slots.endText(slot_), true),
            chosenOverlap_.allowed,
            false,
            QString(),
            QString(),
            予約上限::IsFull(count, chosenOverlap_) ? count : -1};
}

void 時間照会::OpenWaitingEntry(const BookingSlot& slot)
{
    if (!msg::ask(QStringLiteral("キャンセル待ちに登録しますか"), kTitle))
        return;
    forms::showModal<キャンセル待ち登録>(desk(), slot);
    // The slot's mark follows; the chosen cell stays marked.
    AdjustSlotCounts();
    MarkSlotCell();
}

void 時間照会::選択_Click()
{
    const records::Reservation* chosen = RequireChosenReservation();
    if (!chosen)
        return;
    TakeChosenTarget();
    OpenEntryForm(
        {chosenTarget_, chosenDate_, chosen->start, chosen->end, chosenOverlap_.allowed, true, chosen->reserverNo, chosen->reserverName});
}

const records::Reservation* 時間照会::RequireChosenReservation()
{
    if (!RequireChosenSlot())
        return nullptr;
    if (listRow_ >= 1 && size_t(listRow_) <= listed_.size())
        return &listed_[size_t(listRow_ - 1)];
    msg::exclaim(kNoReservationChosen, kTitle);
    return nullptr;
}

void 時間照会::OpenEntryForm(const BookingSlot& slot)
{
    EntryOutcome outcome;
    forms::showModal<予約者登>(desk(), slot, outcome);
    // The counts and the list of the chosen day, read at once.
    const store::ReadAhead day(database(), 予約TBL::DayRanges(chosenTarget_.number, chosenDate_));
    // The state tells only the last thing the form did, so any change means the row is counted
    // again from the file; a form closed without a change leaves the counts as they are. Either
    // way the chosen cell is marked again, after 選択 as after 予約.
    if (outcome.EntryState != 0)
        AdjustSlotCounts();
    else
        RestoreSlotCell();
    MarkSlotCell();
    SetUpReservationList();
    FillReservationList();
}

void 時間照会::削除_Click()
{
    const records::Reservation* chosen = RequireChosenReservation();
    if (!chosen)
        return;
    if (!msg::askAbout(QStringLiteral("指定予約を取り消します。"),
                       BookingText(chosen->date, chosen->start, chosen->end, chosenTarget_.abbrev, chosen->reserverName), kTitle))
        return;
    booking_write::Change cancel;
    cancel.kind = booking_write::Change::Kind::Cancel;
    cancel.read = *chosen;
    const booking_write::Outcome outcome = booking_write::Write(database(), settings(), {cancel}, {{}});
    if (outcome.kind != booking_write::Outcome::Kind::Written) {
        msg::exclaim(outcome.kind == booking_write::Outcome::Kind::Gone ? QStringLiteral("予約は登録されていません。")
                                                                        : QStringLiteral("予約は他の端末で変更されています。"),
                     kTitle);
        FollowDatabase();
        return;
    }
    AdjustSlotCounts();
    SetUpReservationList();
    FillReservationList();
    msg::exclaim(QStringLiteral("予約は取消しされました。"), kTitle);
    OfferFreedTime(desk(), outcome, kTitle);
}

void 時間照会::AdjustSlotCounts()
{
    RecountRow(column_);
    slotColour_ = 時間帯->cellBackColor(slotRow_, slotCol_);
}

void 時間照会::RecountRow(int column)
{
    const TimeTableColumn& shown = table_.Columns[size_t(column)];
    counts_.ReservationCount[size_t(column)] = 予約TBL::CountReservations(database(), counts_.Slots, shown.Target, shown.ColumnDate);
    counts_.WaitingCount[size_t(column)] = waiting_list::CountForDay(database(), counts_.Slots, shown.Target, shown.ColumnDate);
    // The row as the form showed it when it opened: open time white, closed time painted, then
    // the counts. A slot that empties gets back the colour of its business status.
    時間帯->paintRow(営業状色付::GridRowOf(column), 1, -1, ui::qbColor(15));
    営業状色付::ColourStatusRow(時間帯, table_, column, counts_.Slots);
    予約状色付::PaintRowCounts(時間帯, column, counts_.ReservationCount[size_t(column)], rowOverlap_[size_t(column)].limit,
                               counts_.WaitingCount[size_t(column)]);
}

void 時間照会::終了_Click()
{
    if (msg::ask(QStringLiteral("時間帯の表示を終了します"), kTitle))
        close();
}

void 時間照会::escape()
{
    if (moving_)
        LeaveMoveMode();
    else
        終了_Click();
}

QString 時間照会::SlotToolTip(int row, int col) const
{
    const std::optional<int> column = 営業状色付::TimeTableColumnAt(table_, row);
    const std::optional<int> slot = counts_.Slots.slotAtColumn(col);
    if (!column || !slot)
        return {};
    return slot_tooltip::text(database(), table_.Columns[size_t(*column)], counts_.Slots, *slot);
}

void 時間照会::前期間_Click()
{
    ShowPeriodFrom(request_.firstDate.addDays(request_.kind == InquiryKind::ByTarget ? -7 : -1));
}

void 時間照会::次期間_Click()
{
    ShowPeriodFrom(request_.firstDate.addDays(request_.kind == InquiryKind::ByTarget ? 7 : 1));
}

void 時間照会::今日_Click()
{
    ShowPeriodFrom(appclock::today());
}

void 時間照会::ShowPeriodFrom(const QDate& first)
{
    LeaveMoveMode();
    request_.firstDate = first;
    request_.lastDate = request_.kind == InquiryKind::ByTarget ? first.addDays(6) : first;
    Form_Load();
}
