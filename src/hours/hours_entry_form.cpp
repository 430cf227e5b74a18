#include "hours/hours_entry_form.h"

#include "base/kinds.h"
#include "base/clock.h"
#include "base/input.h"
#include "hours/time_band_preview_form.h"
#include "records/hours.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/hours_grid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <iterator>

namespace {

struct Column {
    const char* header;
    int twips;
};
const Column kSlotColumns[] = {{"SEQ", 400}, {"開始時間", 800}, {"終了時間", 800}, {"区", 300}, {"備考", 2700}};
constexpr int kSlotColumnCount = int(std::size(kSlotColumns));
constexpr int kSlotGridRows = 101; // the header and 100 bands; more bands make the grid grow
constexpr int kVisibleRows = 16;

const QString kNoTarget = QStringLiteral("予約対象を選択して下さい。");

// "hh:mm" into an hour box and a minute box.
void showTime(QLineEdit* hour, QLineEdit* minute, const QString& time)
{
    hour->setText(time.left(2));
    minute->setText(time.right(2));
}

// The time of day in an hour box and a minute box.
std::optional<input::TimeOfDay> typedTime(const QLineEdit* hour, const QLineEdit* minute, bool endOfDay)
{
    return input::timeOfDay(hour->text(), minute->text(), endOfDay);
}

} // namespace

HoursEntryForm::HoursEntryForm(const QString& formName, const QString& caption, const QString& title, const QString& savedMessage)
    : Form(formName, caption), title_(title), savedMessage_(savedMessage)
{}

void HoursEntryForm::makeTimeEntry()
{
    時間帯 = grid(QStringLiteral("時間帯"));
    開始時 = textBox(QStringLiteral("開始時"));
    開始分 = textBox(QStringLiteral("開始分"));
    終了時 = textBox(QStringLiteral("終了時"));
    終了分 = textBox(QStringLiteral("終了分"));
    Frame2 = frame(QStringLiteral("Frame2"), QString());
    営業 = option(QStringLiteral("営業"), QStringLiteral("営業時間"), Frame2);
    休日 = option(QStringLiteral("休日"), QStringLiteral("休業時間"), Frame2);
    備考 = textBox(QStringLiteral("備考"));
    確定 = button(QStringLiteral("確定"), QStringLiteral("確定"));
    確定->setDefault(true); // Enter saves, after the usual question
    削除 = button(QStringLiteral("削除"), QStringLiteral("削除"));
    表示 = button(QStringLiteral("表示"), QStringLiteral("表示"));
    終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    for (QLineEdit* box : {開始時, 開始分, 終了時, 終了分}) {
        box->setFixedWidth(calendar_layout::boxWidth(box, 3));
        box->setMaxLength(2);
    }
    auto* options = new QHBoxLayout(Frame2);
    options->addWidget(営業);
    options->addWidget(休日);

    InitSlotGrid();
    時間帯->setFixedWidth(時間帯->sizeHint().width() + 時間帯->verticalScrollBar()->sizeHint().width());
    時間帯->setMinimumHeight(時間帯->cellRect(kVisibleRows, 0).bottom());

    ui::onClick(時間帯, [this] { 時間帯_Click(); });
    ui::onLostFocus(開始時, [this] { 開始時_LostFocus(); });
    ui::onLostFocus(開始分, [this] { 開始分_LostFocus(); });
    ui::onLostFocus(終了時, [this] { 終了時_LostFocus(); });
    ui::onLostFocus(終了分, [this] { 終了分_LostFocus(); });
    ui::onClick(確定, [this] { 確定_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(表示, [this] { 表示_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

QGridLayout* HoursEntryForm::timeEntryLayout()
{
    auto* entry = new QGridLayout;
    const auto timeRow = [&](int row, const QString& caption, QLineEdit* hour, QLineEdit* minute) {
        entry->addWidget(label(caption), row, 0);
        entry->addWidget(hour, row, 1);
        entry->addWidget(label(QStringLiteral("時")), row, 2);
        entry->addWidget(minute, row, 3);
        entry->addWidget(label(QStringLiteral("分")), row, 4);
    };
    timeRow(0, QStringLiteral("開始時間"), 開始時, 開始分);
    timeRow(1, QStringLiteral("終了時間"), 終了時, 終了分);
    entry->addWidget(label(QStringLiteral("営業区分")), 2, 0);
    entry->addWidget(Frame2, 2, 1, 1, 5);
    entry->addWidget(label(QStringLiteral("備考")), 3, 0);
    entry->addWidget(備考, 3, 1, 1, 5);
    entry->setColumnStretch(5, 1);
    return entry;
}

QBoxLayout* HoursEntryForm::commandButtons()
{
    return buttonRow({確定, 削除, 終了});
}

void HoursEntryForm::loadTimeEntry(int kind)
{
    kind_ = kind;
    check_.clear();
    chosenTarget_.clear();
    chosenAbbrev_.clear();
    hoursDay_ = 0;
    specificDate_ = QDate();
    slotRows_ = 0;
    highlightedSlotRow_ = 0;
    InitSlotGrid();
    clearTimeEntry();
    営業->setChecked(true);
}

void HoursEntryForm::InitSlotGrid()
{
    時間帯->startLayout(kSlotGridRows, kSlotColumnCount, 1, 0);
    for (int col = 0; col < kSlotColumnCount; ++col) {
        時間帯->setTextMatrix(0, col, QString::fromUtf8(kSlotColumns[col].header));
        時間帯->setColWidth(col, kSlotColumns[col].twips);
    }
    時間帯->setRow(0);
    時間帯->setCol(0);
    時間帯->setCellFontSize(9);
}

void HoursEntryForm::clearTimeEntry()
{
    for (QLineEdit* box : {開始時, 開始分, 終了時, 終了分, 備考})
        box->clear();
    // Emptied boxes start afresh: what is typed next is not shown as failing.
    for (QLineEdit* box : {開始時, 開始分, 終了時, 終了分})
        check_.pass(box);
}

void HoursEntryForm::chooseTarget(const QString& number, const QString& abbrev)
{
    chosenTarget_ = number;
    chosenAbbrev_ = abbrev;
}

records::HoursKey HoursEntryForm::hoursKey() const
{
    return {records::HoursKind(kind_), chosenTarget_, settings().DailyHoursKind, hoursDay_, specificDate_};
}

bool HoursEntryForm::requireChosenTarget()
{
    if (hasChosenTarget())
        return true;
    msg::exclaim(kNoTarget, title_);
    return false;
}

bool HoursEntryForm::RefreshSlotGrid()
{
    slotRows_ = 0;
    highlightedSlotRow_ = 0;
    InitSlotGrid();
    records::HoursKey key = hoursKey();
    const Grid時間帯::HoursGridFill fill = Grid時間帯::FillHoursGrid(database(), 時間帯, key);
    hoursDay_ = key.day;
    slotRows_ = fill.LastRow;
    const bool overlap = fill.OverlapFlag == 1;
    if (overlap) {
        loadSlotRow(fill.OverlapRow);
        for (QLineEdit* box : {開始時, 開始分, 終了時, 終了分})
            ui::paintText(box, 12);
        msg::exclaim(QStringLiteral("開始･終了時間の整合性を確認してください"), title_);
    }
    afterRefresh(slotRows_);
    return overlap;
}

void HoursEntryForm::loadSlotRow(int row)
{
    showTime(開始時, 開始分, 時間帯->text(row, 1));
    showTime(終了時, 終了分, 時間帯->text(row, 2));
    (時間帯->text(row, 3) == QStringLiteral("休") ? 休日 : 営業)->setChecked(true);
    備考->setText(時間帯->text(row, 4));
}

void HoursEntryForm::時間帯_Click()
{
    const int row = 時間帯->row();
    if (row < 1 || row > slotRows_) {
        msg::exclaim(QStringLiteral("指定時間帯が有効範囲外です｡ "), QString());
        return;
    }
    if (highlightedSlotRow_ > 0)
        時間帯->paintRow(highlightedSlotRow_, 0, -1, ui::qbColor(15));
    時間帯->paintRow(row, 0, -1, ui::qbColor(10));
    highlightedSlotRow_ = row;
    loadSlotRow(row);
    時間帯->setRow(row);
    時間帯->setCol(4);
    時間帯->setCellAlignment(FlexGrid::LeftBottom);
}

bool HoursEntryForm::checkNumeric(QLineEdit* box, const QString& message)
{
    if (input::isNumeric(box->text())) {
        check_.pass(box);
        return true;
    }
    check_.fail(box, message);
    return false;
}

void HoursEntryForm::checkTime(QLineEdit* hour, QLineEdit* minute, bool endOfDay, const QString& message)
{
    if (typedTime(hour, minute, endOfDay)) {
        check_.pass(hour);
        check_.pass(minute);
        return;
    }
    check_.failReplacing(hour, message);
    ui::paintText(minute, 12);
}

void HoursEntryForm::開始時_LostFocus()
{
    checkNumeric(開始時, QStringLiteral("開始時に正しく入力してください"));
}

void HoursEntryForm::開始分_LostFocus()
{
    if (checkNumeric(開始分, QStringLiteral("開始分に正しく入力してください")))
        checkTime(開始時, 開始分, false, QStringLiteral("開始時間に正しく入力してください"));
}

void HoursEntryForm::終了時_LostFocus()
{
    checkNumeric(終了時, QStringLiteral("終了時に正しく入力してください"));
}

void HoursEntryForm::終了分_LostFocus()
{
    // The end of the day, 24:00, ends the last band of a day.
    if (checkNumeric(終了分, QStringLiteral("終了分に正しく入力してください")))
        checkTime(終了時, 終了分, true, QStringLiteral("終了時間に正しく入力してください"));
}

void HoursEntryForm::CheckTimeRange()
{
    const std::optional<input::TimeOfDay> start = input::timeOfDay(開始時->text(), 開始分->text());
    const std::optional<input::TimeOfDay> end = input::timeOfDay(終了時->text(), 終了分->text(), true);
    if (!start || !end)
        return;
    showTime(開始時, 開始分, input::timeText(*start));
    showTime(終了時, 終了分, input::timeText(*end));

    const Settings& s = settings();
    if (start->minutes() >= end->minutes()) {
        check_.fail(終了分, QStringLiteral("開始･終了時間の大小関係を正しく入力してください"));
        for (QLineEdit* box : {開始時, 開始分, 終了時})
            ui::paintText(box, 12);
        return;
    }
    // Only the hour is held against the first hour shown: 8:30 passes a display from 8.
    if (start->hour < s.DisplayStartHour) {
        check_.fail(開始時, QStringLiteral("開始時間は表示開始時間より早い時間は入力出来ません"));
        ui::paintText(開始分, 12);
        return;
    }
    if (end->hour > s.DisplayEndHour || (end->hour == s.DisplayEndHour && end->minute > 0)) {
        check_.fail(終了時, QStringLiteral("終了時間は表示終了時間より遅い時間は入力出来ません"));
        ui::paintText(終了分, 12);
        return;
    }
    for (QLineEdit* box : {開始時, 開始分, 終了時, 終了分})
        check_.pass(box);
}

bool HoursEntryForm::ValidateInput()
{
    check_.clear();
    checkDay();
    開始時_LostFocus();
    開始分_LostFocus();
    終了時_LostFocus();
    終了分_LostFocus();
    if (!check_.failed())
        CheckTimeRange();
    return !check_.reportFailure(title_);
}

void HoursEntryForm::確定_Click()
{
    if (!requireChosenTarget() || !ValidateInput())
        return;
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), title_))
        return;
    records::saveBand(database(), hoursKey(),
                      {*typedTime(開始時, 開始分, false), *typedTime(終了時, 終了分, true), 休日->isChecked(), 備考->text()});
    const bool overlap = RefreshSlotGrid();
    afterSave();
    // An overlap warning has been shown instead.
    if (!overlap)
        msg::exclaim(savedMessage_, title_);
    showPreview(false);
}

void HoursEntryForm::削除_Click()
{
    if (!requireChosenTarget())
        return;
    // A band can be deleted even when the boxes fail a check, such as a band that ends after
    // the hours now shown: the start time is what identifies it.
    ValidateInput();
    if (!msg::ask(QStringLiteral("指定時間を削除します。。"), title_))
        return;
    const std::optional<input::TimeOfDay> start = typedTime(開始時, 開始分, false);
    if (!start || !records::removeBand(database(), hoursKey(), *start)) {
        msg::exclaim(QStringLiteral("指定時間は登録されていません。"), title_);
        return;
    }
    RefreshSlotGrid();
    showPreview(false);
}

void HoursEntryForm::表示_Click()
{
    if (!mayShowPreview()) {
        msg::exclaim(kNoTarget, title_);
        return;
    }
    showPreview(true);
}

時間TBL::TimeTableRequest HoursEntryForm::previewRequest() const
{
    時間TBL::TimeTableRequest request;
    request.TimeTableMode = int(TimeTableMode::HoursEntry);
    request.HoursFormKind = kind_;
    request.DailyHoursKind = settings().DailyHoursKind;
    request.CurrentTarget = chosenTarget_;
    request.CurrentTargetAbbrev = chosenAbbrev_;
    request.WorkingDate = appclock::today();
    request.SystemDate = appclock::today();
    return request;
}

void HoursEntryForm::showPreview(bool open)
{
    時間帯表示* shown = forms::find<時間帯表示>();
    if (shown) {
        shown->showRequest(previewRequest());
        if (!forms::load(shown))
            return;
    }
    if (open)
        forms::showModeless<時間帯表示>(desk(), previewRequest());
}

void HoursEntryForm::終了_Click()
{
    close();
}
