#include "hours/business_hours_form.h"

#include "base/input.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/target_list.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kTitle = QStringLiteral("時間帯登録");
constexpr int kTargetGridRows = CMB対象::kMaxTargets + 1;

struct Weekday {
    const char* name;
    const char* caption;
    void (営業時間登::*click)();
};
const Weekday kWeekdays[] = {{"日曜", "日", &営業時間登::日曜_Click}, {"月曜", "月", &営業時間登::月曜_Click},
                             {"火曜", "火", &営業時間登::火曜_Click}, {"水曜", "水", &営業時間登::水曜_Click},
                             {"木曜", "木", &営業時間登::木曜_Click}, {"金曜", "金", &営業時間登::金曜_Click},
                             {"土曜", "土", &営業時間登::土曜_Click}};

} // namespace

営業時間登::営業時間登(records::HoursKind kind)
    : HoursEntryForm(QStringLiteral("営業時間登"), QStringLiteral("営業時間登録"), kTitle,
                     QStringLiteral("予約対象は更新(登録)されました。")),
      requestedKind_(int(kind))
{
    対象登録 = grid(QStringLiteral("対象登録"));
    曜日 = frame(QStringLiteral("曜日"), QStringLiteral("曜日"));
    for (int day = 1; day <= 7; ++day) {
        const Weekday& w = kWeekdays[day - 1];
        QRadioButton* o = option(QString::fromUtf8(w.name), QString::fromUtf8(w.caption), 曜日);
        ui::onClick(o, [this, click = w.click] { (this->*click)(); });
        weekdayOptions_[size_t(day - 1)] = o;
    }
    特定日 = frame(QStringLiteral("特定日"), QStringLiteral("特定日"));
    日付 = textBox(QStringLiteral("日付"), 特定日);
    日別表示 = button(QStringLiteral("日別表示"), QStringLiteral("日別表示"));
    makeTimeEntry();

    ui::onClick(対象登録, [this] { 対象登録_Click(); });
    ui::onLostFocus(日付, [this] { 日付_LostFocus(); });
    ui::onClick(日別表示, [this] { 日別表示_Click(); });

    InitTargetGrid();
    layOut();
}

void 営業時間登::layOut()
{
    対象登録->setFixedWidth(対象登録->sizeHint().width() + 対象登録->verticalScrollBar()->sizeHint().width());
    日付->setFixedWidth(calendar_layout::boxWidth(日付, 4));
    // 表示 sits under the remark, above the row of command buttons.
    setTabOrder(備考, 表示);

    auto* weekdays = new QHBoxLayout(曜日);
    for (QRadioButton* o : weekdayOptions_)
        weekdays->addWidget(o);

    auto* day = new QHBoxLayout(特定日);
    day->addWidget(label(QStringLiteral("日付"), 特定日));
    day->addWidget(日付);
    day->addWidget(label(QStringLiteral("(DD)"), 特定日));
    day->addStretch();

    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(特定日);
    dayRow->addWidget(日別表示);
    dayRow->addStretch();

    auto* preview = new QHBoxLayout;
    preview->addWidget(表示);
    preview->addStretch();

    auto* entry = new QVBoxLayout;
    entry->addWidget(曜日);
    entry->addLayout(dayRow);
    entry->addSpacing(8);
    entry->addLayout(timeEntryLayout());
    entry->addSpacing(8);
    entry->addLayout(preview);
    entry->addStretch();
    entry->addLayout(commandButtons());

    const auto captioned = [this](const QString& caption, QWidget* grid) {
        auto* column = new QVBoxLayout;
        column->addWidget(label(caption));
        column->addWidget(grid, 1);
        return column;
    };
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(16);
    page->addLayout(captioned(QStringLiteral("予約対象"), 対象登録));
    page->addLayout(captioned(QStringLiteral("時間帯"), 時間帯));
    page->addLayout(entry, 1);
}

void 営業時間登::openFor(const Desk& desk, records::HoursKind kind)
{
    if (営業時間登* open = forms::find<営業時間登>(); open && !open->laidOutFor(int(kind), desk.settings.DailyHoursKind)) {
        open->requestedKind_ = int(kind);
        if (!forms::load(open))
            return; // its loading failed, and it is closed
    }
    forms::showModeless<営業時間登>(desk, kind);
}

bool 営業時間登::laidOutFor(int kind, int dailyHoursKind) const
{
    return kind == this->kind() && (kind != 2 || dailyHoursKind == dailyHoursKind_);
}

void 営業時間登::Form_Load()
{
    loadTimeEntry(requestedKind_);
    InitTargetGrid();

    dailyHoursKind_ = settings().DailyHoursKind;
    const bool daily = kind() == 2;
    const bool weekdays = dailyHoursKind_ == 1;
    曜日->setVisible(daily && weekdays);
    特定日->setVisible(daily && !weekdays);
    日別表示->setVisible(daily && !weekdays);
    setWindowTitle(!daily     ? QStringLiteral("営業時間登録")
                   : weekdays ? QStringLiteral("曜日別営業時間登録")
                              : QStringLiteral("日別営業時間登録"));

    lastTargetRow_ = CMB対象::FillTargetRows(database(), 対象登録) - 1;
    highlightedTargetRow_ = 0;
    日付->clear();
}

void 営業時間登::InitTargetGrid()
{
    対象登録->startLayout(kTargetGridRows, 2, 1, 0);
    対象登録->setTextMatrix(0, 0, QStringLiteral("番号"));
    対象登録->setTextMatrix(0, 1, QStringLiteral("略称"));
    対象登録->setColWidth(0, 600);
    対象登録->setColWidth(1, 1800);
    対象登録->setRow(0);
    対象登録->setCol(0);
    対象登録->setCellFontSize(10);
}

void 営業時間登::対象登録_Click()
{
    const int row = 対象登録->row();
    if (row < 1 || row > lastTargetRow_) {
        msg::exclaim(QStringLiteral("指定対象が有効範囲外です｡ "), QString());
        return;
    }
    if (highlightedTargetRow_ > 0)
        対象登録->paintRow(highlightedTargetRow_, 0, 1, ui::qbColor(15));
    対象登録->paintRow(row, 0, 1, ui::qbColor(10));
    highlightedTargetRow_ = row;
    chooseTarget(対象登録->text(row, 0), 対象登録->text(row, 1));
    日付->clear();
    RefreshSlotGrid();
    clearTimeEntry();
}

void 営業時間登::曜日_Click(int hoursDay)
{
    hoursDay_ = hoursDay;
    日付->setText(QString::number(hoursDay));
    RefreshSlotGrid();
}

void 営業時間登::日付_LostFocus()
{
    // The day is typed in the day-of-month cycle only; weekdays are chosen with the options,
    // which keep the day themselves.
    if (settings().DailyHoursKind != 2)
        return;
    const std::optional<double> day = input::number(日付->text());
    if (!day) {
        check_.fail(日付, QStringLiteral("日付に正しく入力してください"));
        return;
    }
    if (*day < 1 || *day > 31) {
        check_.fail(日付, QStringLiteral("日付に正しく(DD･2桁)入力してください"));
        return;
    }
    check_.pass(日付);
    hoursDay_ = int(std::nearbyint(*day));
}

void 営業時間登::日別表示_Click()
{
    if (!requireChosenTarget())
        return;
    check_.clear();
    日付_LostFocus();
    if (check_.reportFailure(title()))
        return;
    RefreshSlotGrid();
    日付->setText(QString::number(hoursDay_));
}

void 営業時間登::checkDay()
{
    if (kind() == 2)
        日付_LostFocus();
}

void 営業時間登::afterRefresh(int filledRows)
{
    if (kind() != 2)
        return;
    int& day = hoursDay_;
    if (日付->text().isEmpty() && filledRows > 0)
        日付->setText(QString::number(day));
    if (settings().DailyHoursKind != 1)
        return;
    // A target without weekday bands starts from Sunday.
    if (day == 0) {
        day = 1;
        日付->setText(QStringLiteral("1"));
    }
    if (day >= 1 && day <= 7)
        weekdayOptions_[size_t(day - 1)]->setChecked(true);
}

bool 営業時間登::mayShowPreview() const
{
    return hasChosenTarget();
}
