#include "reservations/time_inquiry_form.h"

#include "base/app_state.h"
#include "base/input.h"
#include "reservations/entry_form.h"
#include "rules/overlap_settings.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/grid_window.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/business_status.h"
#include "views/reservation_status.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("時間表示");
const QString kNoReservationChosen = QStringLiteral("予約者を選択して下さい｡ ");
const QString kNoSlotChosen = QStringLiteral("時間帯を選択して下さい｡ ");
constexpr int kListRows = 20; // rows of 予約一覧 before it grows
constexpr int kListColumns = 5;
constexpr int kListWidths[kListColumns] = {1300, 1500, 900, 900, 2000}; // twips

QString targetName(const QString& number)
{
    store::Table targets = store::Database::open().table("設定");
    targets.setIndex("Key_設定");
    targets.seek("=", {number});
    return targets.eof() || targets.noMatch() ? QString() : targets.text("設定_名称");
}

void paintCell(FlexGrid* grid, int row, int col, const QColor& colour)
{
    grid->setRow(row);
    grid->setCol(col);
    grid->setCellBackColor(colour);
}

// Cells of a row from `firstCol` to the last column.
void paintRow(FlexGrid* grid, int row, int firstCol, const QColor& colour)
{
    grid->setRow(row);
    grid->setCol(firstCol);
    grid->setRowSel(row);
    grid->setColSel(grid->cols() - 1);
    grid->setCellBackColor(colour);
}

} // namespace

時間照会::時間照会() : Form(QStringLiteral("時間照会"), kTitle)
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
    選択 = button("選択", "選択");
    削除 = button("削除", "削除");
    QPushButton* close = button("終了", "終了");

    for (QLineEdit* box : {表示開始日, 表示終了日})
        box->setFixedWidth(110);
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
    ui::onClick(選択, [this] { 選択_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    auto* target = new QHBoxLayout(予約対象別照会);
    target->setContentsMargins(0, 0, 0, 0);
    target->addWidget(label("対象略称", 予約対象別照会));
    target->addWidget(対象略称);

    auto* dates = new QHBoxLayout;
    dates->addWidget(表示Label);
    dates->addWidget(表示開始日);
    dates->addWidget(範囲);
    dates->addWidget(表示終了日);
    dates->addSpacing(32);
    dates->addWidget(予約対象別照会);
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
    for (QPushButton* b : {予約, 選択, 削除, close}) {
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
    for (QPushButton* button : {予約, 選択, 削除})
        button->setEnabled(false);
    const BookingHandOff& b = app().booking;
    const bool byTarget = app().modes.InquiryKind == 1;
    表示開始日->setText(input::dateText(b.SelectedDate));
    表示Label->setText(byTarget ? QStringLiteral("表示開始日") : QStringLiteral("照会日"));
    for (QWidget* w : std::initializer_list<QWidget*>{予約対象別照会, 範囲, 表示終了日})
        w->setVisible(byTarget);
    if (byTarget) {
        表示終了日->setText(input::dateText(b.SelectedLastDate));
        対象略称->setText(app().targets.CurrentTargetAbbrev);
    }

    // Built from the inquiry's first date, which is handed to the modules: the working date that
    // the other forms read stays today.
    時間TBL::TimeTableRequest tableRequest = 時間TBL::CurrentRequest();
    tableRequest.WorkingDate = b.SelectedDate;
    app().timeTable = 時間TBL::BuildTimeTable(tableRequest);
    予約TBL::CountRequest countRequest = 予約TBL::CurrentCountRequest();
    countRequest.WorkingDate = b.SelectedDate;
    app().counts = 予約TBL::BuildReservationCounts(countRequest);
    基本設定::LoadOverlapSettings();
    営業状色付::ShowBusinessStatus(時間帯);
    予約状色付::ColourReservationStatus(時間帯);
    ui::fitWindowToGrid(this, 時間帯);
}

void 時間照会::時間帯_Click()
{
    const int row = 時間帯->row();
    const int col = 時間帯->col();
    const std::optional<int> column = 営業状色付::TimeTableColumnAt(app().timeTable, row);
    const std::optional<int> slot = app().counts.Slots.slotAtColumn(col);
    if (!column || !slot) {
        msg::exclaim(QStringLiteral("指定時間帯が有効範囲外です｡ "), kTitle);
        return;
    }
    if (時間帯->cellBackColor(row, col) == app().settings.OffHoursColour) {
        msg::exclaim(QStringLiteral("指定時間帯は休業時間です｡ "), kTitle);
        return;
    }
    RestoreSlotCell();
    slotRow_ = row;
    slotCol_ = col;
    column_ = *column;
    slot_ = *slot;
    MarkSlotCell();

    TakeChosenTarget();
    const SlotTimes& daySlots = app().counts.Slots;
    slotStart_ = daySlots.startText(slot_);
    slotEnd_ = daySlots.endText(slot_);
    BookingHandOff& b = app().booking;
    b.SlotDate = input::dateText(app().timeTable.Columns[size_t(column_)].ColumnDate);
    b.SlotStart = slotStart_;
    b.SlotEnd = slotEnd_;
    for (QPushButton* button : {予約, 選択, 削除})
        button->setEnabled(true);
    SetUpReservationList();
    FillReservationList();
}

bool 時間照会::RequireChosenSlot()
{
    const std::vector<std::vector<int>>& counts = app().counts.ReservationCount;
    if (column_ >= 0 && size_t(column_) < app().timeTable.Columns.size() && size_t(column_) < counts.size()
        && slot_ >= 0 && size_t(slot_) < counts[size_t(column_)].size())
        return true;
    msg::exclaim(kNoSlotChosen, kTitle);
    return false;
}

void 時間照会::TakeChosenTarget()
{
    const TimeTableColumn& chosen = app().timeTable.Columns[size_t(column_)];
    TargetSelection& t = app().targets;
    t.CurrentTarget = chosen.Target;
    t.CurrentTargetAbbrev = chosen.TargetAbbrev;
    t.CurrentTargetName = targetName(chosen.Target);
    OverlapState& overlap = app().overlap;
    overlap.OverlapFlag = overlap.RowOverlapFlag.value(column_, QStringLiteral("0"));
    overlap.OverlapLimit = size_t(column_) < overlap.RowOverlapLimit.size() ? overlap.RowOverlapLimit[size_t(column_)] : 0;
}

void 時間照会::RestoreSlotCell()
{
    if (slotRow_ > 0)
        paintCell(時間帯, slotRow_, slotCol_, slotColour_);
}

void 時間照会::MarkSlotCell()
{
    slotColour_ = 時間帯->cellBackColor(slotRow_, slotCol_);
    paintCell(時間帯, slotRow_, slotCol_, ui::qbColor(10));
}

void 時間照会::SetUpReservationList()
{
    FlexGrid* g = 予約一覧;
    g->startLayout(kListRows + 1, kListColumns, 1, 0);
    paintRow(g, 0, 0, ui::qbColor(14));
    const QString headers[kListColumns] = {QStringLiteral("予約者NO"), QStringLiteral("予約者名"), QStringLiteral("予約開始"),
                                           QStringLiteral("予約終了"), QStringLiteral("備考")};
    for (int col = 0; col < kListColumns; ++col) {
        g->setTextMatrix(0, col, headers[col]);
        g->setColWidth(col, kListWidths[col]);
    }
    g->setRow(0);
    g->setCol(0);
    listRow_ = 0;
    listRows_ = 0;
    app().booking.SlotReserverNo.clear();
    app().booking.SlotReserverName.clear();
    予約時間->setText(slotStart_);
    const OverlapState& overlap = app().overlap;
    設定人数->setText(overlap.OverlapFlag == QLatin1String("1") ? QString::number(overlap.OverlapLimit)
                                                               : QStringLiteral("重複不可"));
}

void 時間照会::FillReservationList()
{
    時間内予約者->show();
    const QString target = app().targets.CurrentTarget;
    const QString date = app().booking.SlotDate;
    const SlotTimes& daySlots = app().counts.Slots;
    store::Table reservations = store::Database::open().table("予約");
    reservations.setIndex("Key_予約");
    for (reservations.seek(">=", {target, date, "00:00", ""}); !reservations.eof(); reservations.moveNext()) {
        if (reservations.text("予約_設定番号") != target || reservations.text("予約_年月日") != date)
            break;
        const input::TimeOfDay start = reservations.time("予約_開始時間");
        const input::TimeOfDay end = reservations.time("予約_終了時間", true);
        if (start.minutes() >= daySlots.end(slot_)) // in start order: the rest start later still
            break;
        const auto [first, last] = daySlots.covering(start.minutes(), end.minutes());
        if (slot_ < first || slot_ >= last)
            continue;
        const int row = ++listRows_;
        if (row >= 予約一覧->rows())
            予約一覧->setRows(row + 1);
        const QString cells[kListColumns] = {reservations.text("予約_予約者NO"), reservations.text("予約_予約者名"),
                                             input::timeText(start), input::timeText(end),
                                             reservations.text("予約_備考")};
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
    BookingHandOff& b = app().booking;
    b.SlotReserverNo = 予約一覧->text(row, 0);
    b.SlotReserverName = 予約一覧->text(row, 1);
    b.SlotStart = 予約一覧->text(row, 2);
    b.SlotEnd = 予約一覧->text(row, 3);
}

void 時間照会::RestoreListRow()
{
    if (listRow_ > 0)
        paintRow(予約一覧, listRow_, 0, ui::qbColor(15));
}

void 時間照会::MarkListRow()
{
    paintRow(予約一覧, listRow_, 0, ui::qbColor(10));
}

void 時間照会::予約_Click()
{
    if (!RequireChosenSlot())
        return;
    BookingHandOff& b = app().booking;
    // A new reservation is for the chosen slot, whatever reservation the list points at.
    b.SlotReserverNo.clear();
    b.SlotReserverName.clear();
    b.SlotStart = slotStart_;
    b.SlotEnd = slotEnd_;
    TakeChosenTarget();
    const OverlapState& overlap = app().overlap;
    const int count = app().counts.ReservationCount[size_t(column_)][size_t(slot_)];
    if (overlap.OverlapFlag != QLatin1String("1")) {
        if (count > 0 && !msg::ask(QStringLiteral("予約者が重複しています､登録を行いますか"), kTitle))
            return;
    } else if (count >= overlap.OverlapLimit
               && !msg::ask(QStringLiteral("予約人数がｵｰﾊﾞｰしています､登録を行いますか"), kTitle)) {
        return;
    }
    OpenEntryForm(2);
    MarkSlotCell();
}

void 時間照会::選択_Click()
{
    if (!RequireChosenSlot())
        return;
    if (app().booking.SlotReserverNo.isEmpty()) {
        msg::exclaim(kNoReservationChosen, kTitle);
        return;
    }
    TakeChosenTarget();
    OpenEntryForm(1);
}

void 時間照会::OpenEntryForm(int entryState)
{
    app().booking.EntryState = entryState;
    forms::showModal<予約者登>();
    // The state tells only the last thing the form did; the row is counted again whatever it was.
    AdjustSlotCounts();
    SetUpReservationList();
    FillReservationList();
}

void 時間照会::削除_Click()
{
    if (!RequireChosenSlot())
        return;
    BookingHandOff& b = app().booking;
    if (b.SlotReserverNo.isEmpty()) {
        msg::exclaim(kNoReservationChosen, kTitle);
        return;
    }
    b.EntryState = 3;
    if (!msg::ask(QStringLiteral("指定予約を取り消します。"), kTitle))
        return;
    store::Table reservations = store::Database::open().table("予約");
    reservations.setIndex("key_予約");
    reservations.seek("=", {app().targets.CurrentTarget, b.SlotDate, b.SlotStart, b.SlotReserverNo});
    if (reservations.eof() || reservations.noMatch()) {
        msg::exclaim(QStringLiteral("予約は登録されていません。"), kTitle);
        return;
    }
    reservations.remove();
    AdjustSlotCounts();
    SetUpReservationList();
    FillReservationList();
    msg::exclaim(QStringLiteral("予約は取消しされました。"), kTitle);
}

void 時間照会::AdjustSlotCounts()
{
    const TimeTable& table = app().timeTable;
    const TimeTableColumn& chosen = table.Columns[size_t(column_)];
    SlotCounts& counts = app().counts;
    {
        store::Table reservations = store::Database::open().table("予約");
        counts.ReservationCount[size_t(column_)] =
            予約TBL::CountReservations(reservations, counts.Slots, chosen.Target, chosen.ColumnDate);
    }
    // The row as the form showed it when it opened: open time white, closed time painted, then
    // the counts. A slot that empties gets back the colour of its business status.
    paintRow(時間帯, slotRow_, 1, ui::qbColor(15));
    営業状色付::ColourStatusRow(時間帯, table, column_, counts.Slots, app().settings.OffHoursColour);
    予約状色付::PaintRowCounts(時間帯, column_, counts.ReservationCount[size_t(column_)], app().overlap.OverlapLimit);
    slotColour_ = 時間帯->cellBackColor(slotRow_, slotCol_);
}

void 時間照会::終了_Click()
{
    if (msg::ask(QStringLiteral("時間帯の表示を終了します"), kTitle))
        close();
}

void 時間照会::escape()
{
    終了_Click();
}
