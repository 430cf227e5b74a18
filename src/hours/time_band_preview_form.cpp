#include "hours/time_band_preview_form.h"

#include "rules/holidays_in_force.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/grid_window.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "views/business_status.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("時間帯表示");
}

時間帯表示::時間帯表示(const 時間TBL::TimeTableRequest& request)
    : Form(kCaption, kCaption), 対象略称名(displayBox(QStringLiteral("対象略称名"))), 時間帯(grid(QStringLiteral("時間帯"))),
      終了(button(QStringLiteral("終了"), QStringLiteral("終了"))), request_(request)
{
    対象略称名->setMinimumWidth(calendar_layout::boxWidth(対象略称名, 20));
    ui::onClick(終了, [this] { 終了_Click(); });

    auto* target = new QHBoxLayout;
    target->addWidget(label(QStringLiteral("予約対象")));
    target->addWidget(対象略称名);
    target->addStretch();

    auto* page = new QVBoxLayout(this);
    page->addLayout(target);
    page->addWidget(時間帯, 1);
    page->addLayout(buttonRow({終了}));
    // A window made larger than the grid needs keeps the grid and its button together at the top.
    page->addStretch();
}

void 時間帯表示::Form_Load()
{
    setWindowTitle(kCaption);
    対象略称名->setText(request_.CurrentTargetAbbrev);
    const Settings& s = settings();
    const TimeTable table = 時間TBL::BuildTimeTable(database(), request_);
    // The rows are the dates of a week or a month, in order.
    const national_holidays::HolidayNames holidays =
        table.Columns.empty()
            ? national_holidays::HolidayNames()
            : national_holidays::holidayNamesBetween(database(), table.Columns.front().ColumnDate, table.Columns.back().ColumnDate);
    営業状色付::ShowBusinessStatus(時間帯, table, 予約TBL::BuildSlotTimes(s.DisplayStartHour, s.DisplayEndHour, s.UnitMinutes), holidays);

    ui::fitWindowToGrid(this, 時間帯);
    // The current cell, which the focus marks, at the start of the first day.
    時間帯->setRow(営業状色付::kFirstDataRow);
    時間帯->setCol(1);
}

void 時間帯表示::終了_Click()
{
    if (msg::ask(QStringLiteral("時間帯の表示を終了します"), kCaption))
        close();
}

void 時間帯表示::escape()
{
    終了_Click();
}
