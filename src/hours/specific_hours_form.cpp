#include "hours/specific_hours_form.h"

#include "base/input.h"
#include "records/hours.h"
#include "store/database.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/target_list.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("特定日時間登録");
constexpr int kDateGridRows = 50; // the header and 49 dates; more dates make the grid grow
const QDate kListedAfter(1999, 1, 1);

} // namespace

特定時間登::特定時間登()
    : HoursEntryForm(QStringLiteral("特定時間登"), QStringLiteral("特定日営業時間登録"), kTitle,
                     QStringLiteral("特定日時間は更新(登録)されました。"))
{
    対象略称 = comboBox(QStringLiteral("対象略称"));
    登録日付 = grid(QStringLiteral("登録日付"));
    日付 = textBox(QStringLiteral("日付"));
    makeTimeEntry();

    ui::onClick(対象略称, [this] { 対象略称_Click(); });
    ui::onClick(登録日付, [this] { 登録日付_Click(); });
    ui::onLostFocus(日付, [this] { 日付_LostFocus(); });

    InitDateGrid();
    layOut();
}

void 特定時間登::layOut()
{
    対象略称->setMinimumContentsLength(16);
    日付->setFixedWidth(calendar_layout::boxWidth(日付, 12));
    登録日付->setFixedWidth(登録日付->sizeHint().width() + 登録日付->verticalScrollBar()->sizeHint().width());
    // 表示 sits beside the date it shows.
    setTabOrder(日付, 表示);

    auto* target = new QHBoxLayout;
    target->addWidget(label(QStringLiteral("対象略称")));
    target->addWidget(対象略称);
    target->addStretch();

    auto* date = new QHBoxLayout;
    date->addWidget(label(QStringLiteral("日付")));
    date->addWidget(日付);
    date->addWidget(label(QStringLiteral("(YYYY/MM/DD)")));
    date->addWidget(表示);
    date->addStretch();

    auto* entry = new QVBoxLayout;
    entry->addLayout(timeEntryLayout());
    entry->addStretch();
    entry->addLayout(commandButtons());

    auto* bands = new QHBoxLayout;
    auto* slotColumn = new QVBoxLayout;
    slotColumn->addWidget(label(QStringLiteral("時間帯")));
    slotColumn->addWidget(時間帯, 1);
    bands->addLayout(slotColumn);
    bands->addSpacing(8);
    bands->addLayout(entry, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(date);
    right->addLayout(bands, 1);

    auto* body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(登録日付);
    body->addLayout(right, 1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->addLayout(target);
    page->addLayout(body, 1);
}

void 特定時間登::Form_Load()
{
    loadTimeEntry(3);
    newDate_ = false;
    InitDateGrid();
    CMB対象::FillTargetCombo(database(), 対象略称);
    対象略称->setCurrentIndex(-1);
    日付->clear();
}

void 特定時間登::InitDateGrid()
{
    登録日付->startLayout(kDateGridRows, 1, 1, 0);
    登録日付->setColWidth(0, 1450);
    登録日付->setRow(0);
    登録日付->setCol(0);
    登録日付->setCellFontSize(10);
    登録日付->setText(QStringLiteral("登録済特定日"));
    dateCount_ = 0;
    highlightedDate_ = 0;
}

void 特定時間登::対象略称_Click()
{
    newDate_ = false;
    const QString abbrev = 対象略称->currentText();
    // An abbreviation no target has stands for the common target.
    const std::optional<records::Target> found = CMB対象::FindTargetByAbbrev(database(), abbrev);
    chooseTarget(found ? found->number : records::kCommonTarget, abbrev);

    // The dates after 1999/01/01 that have bands, each once, in date order.
    InitDateGrid();
    for (const QDate& date : records::specificDates(database(), chosenTarget(), kListedAfter)) {
        ++dateCount_;
        if (dateCount_ >= 登録日付->rows())
            登録日付->setRows(dateCount_ + 1);
        登録日付->setRow(dateCount_);
        登録日付->setCol(0);
        登録日付->setCellFontSize(10);
        登録日付->setText(input::dateText(date));
    }
}

void 特定時間登::登録日付_Click()
{
    newDate_ = false;
    const int row = 登録日付->row();
    if (row < 1 || row > dateCount_) {
        msg::exclaim(QStringLiteral("日付が有効範囲外です｡ "), QString());
        return;
    }
    if (highlightedDate_ > 0)
        登録日付->paintRow(highlightedDate_, 0, 0, ui::qbColor(15));
    登録日付->paintRow(row, 0, 0, ui::qbColor(10));
    highlightedDate_ = row;
    specificDate_ = input::date(登録日付->text(row, 0)).value_or(QDate());
    日付->setText(input::dateText(specificDate_));
    check_.pass(日付);
    RefreshSlotGrid();
    clearTimeEntry();
}

void 特定時間登::日付_LostFocus()
{
    const std::optional<QDate> date = input::date(日付->text());
    if (!date) {
        check_.fail(日付, QStringLiteral("日付に正しく(YYYY/MM/DD)入力してください"));
        return;
    }
    日付->setText(input::dateText(*date));
    check_.pass(日付);
    if (*date == specificDate_)
        return;
    specificDate_ = *date;
    RefreshSlotGrid();
    newDate_ = true;
}

void 特定時間登::checkDay()
{
    日付_LostFocus();
}

void 特定時間登::afterSave()
{
    // A save on a date typed in may have added it to the list.
    if (newDate_)
        対象略称_Click();
}

bool 特定時間登::mayShowPreview() const
{
    return hasChosenTarget();
}
