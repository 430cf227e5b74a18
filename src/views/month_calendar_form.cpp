#include "views/month_calendar_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "views/target_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MonthCalendarForm::MonthCalendarForm(const QString& formName, const QString& caption, const QString& title, int mode, bool displayButton)
    : Form(formName, caption), title_(title), 対象略称(comboBox(QStringLiteral("対象略称"))), 表示年(textBox(QStringLiteral("表示年"))),
      表示月(textBox(QStringLiteral("表示月"))), 表示(displayButton ? button(QStringLiteral("表示"), QStringLiteral("表示")) : nullptr),
      前月(button(QStringLiteral("前月"), calendar_layout::kPreviousArrow)),
      次月(button(QStringLiteral("次月"), calendar_layout::kNextArrow)), 日付(grid(QStringLiteral("日付"))),
      休業日(grid(QStringLiteral("休業日"))), 設定日(textBox(QStringLiteral("設定日"))), months_(表示年, 表示月, title),
      picker_(*this, mode, 日付, 休業日, title,
              {[this](int day) { return months_.dayOfTypedMonth(day); }, [this](const QDate& date) { takeDate(date); }})
{
    calendar_layout::styleStepButtons(前月, 次月);
    対象略称->setMinimumContentsLength(16);
    表示年->setFixedWidth(calendar_layout::boxWidth(表示年, 6));
    表示月->setFixedWidth(calendar_layout::boxWidth(表示月, 3));
    設定日->setFixedWidth(calendar_layout::boxWidth(設定日, 12));

    ui::onClick(対象略称, [this] { 対象略称_Click(); });
    ui::onLostFocus(表示年, [this] { 表示年_LostFocus(); });
    ui::onLostFocus(表示月, [this] { 表示月_LostFocus(); });
    ui::onClick(前月, [this] { 前月_Click(); });
    ui::onClick(次月, [this] { 次月_Click(); });
    ui::onClick(日付, [this] { 日付_Click(); });
    ui::onClick(休業日, [this] { 休業日_Click(); });
}

QHBoxLayout* MonthCalendarForm::monthRow(const QString& caption)
{
    auto* row = new QHBoxLayout;
    if (!caption.isEmpty())
        row->addWidget(label(caption));
    row->addWidget(表示年);
    row->addWidget(label(QStringLiteral("年")));
    row->addWidget(表示月);
    row->addWidget(label(QStringLiteral("月")));
    if (表示)
        row->addWidget(表示);
    row->addSpacing(12);
    row->addWidget(前月);
    row->addWidget(次月);
    row->addStretch();
    return row;
}

QHBoxLayout* MonthCalendarForm::dateRow(const QString& caption)
{
    auto* row = new QHBoxLayout;
    row->addWidget(label(caption));
    row->addWidget(設定日);
    row->addWidget(label(QStringLiteral("(YYYY/MM/DD)")));
    row->addStretch();
    return row;
}

void MonthCalendarForm::startAtThisMonth()
{
    const QDate today = appclock::today();
    const QDate month(today.year(), today.month(), 1);
    months_.show(month);
    picker_.state().CalendarMonthStart = month;
}

void MonthCalendarForm::chooseTarget(const records::Target& handed)
{
    CMB対象::FillTargetCombo(database(), 対象略称);
    target_ = handed;
    const int shown = handed.abbrev.isEmpty() ? -1 : 対象略称->findText(handed.abbrev);
    対象略称->setCurrentIndex(shown);
    if (shown >= 0 && handed.number.isEmpty())
        target_ = CMB対象::FindTargetByAbbrev(database(), handed.abbrev).value_or(handed);
    picker_.state().Target = shown >= 0 ? target_.number : QString();
}

void MonthCalendarForm::対象略称_Click()
{
    // An abbreviation no target has leaves the common calendar shown, under the last name chosen.
    if (const std::optional<records::Target> found = CMB対象::FindTargetByAbbrev(database(), 対象略称->currentText()))
        target_ = *found;
    else
        target_.number = records::kCommonTarget;
    picker_.state().Target = target_.number;
    picker_.draw();
    対象略称->setCurrentText(target_.abbrev);
}

void MonthCalendarForm::表示年_LostFocus()
{
    if (months_.checkYear())
        followTypedMonth();
}

void MonthCalendarForm::表示月_LostFocus()
{
    if (months_.checkMonth())
        followTypedMonth();
}

void MonthCalendarForm::前月_Click()
{
    if (const std::optional<QDate> month = months_.steppedMonth(-1))
        showMonth(*month);
}

void MonthCalendarForm::次月_Click()
{
    if (const std::optional<QDate> month = months_.steppedMonth(1))
        showMonth(*month);
}

void MonthCalendarForm::日付_Click()
{
    picker_.calendarClicked();
}

void MonthCalendarForm::休業日_Click()
{
    picker_.listClicked();
}

void MonthCalendarForm::showMonth(const QDate& month)
{
    months_.show(month);
    picker_.state().CalendarMonthStart = month;
    picker_.draw();
}

void MonthCalendarForm::takeDate(const QDate& date)
{
    設定日->setText(input::dateText(date));
}

void MonthCalendarForm::followTypedMonth()
{
    if (const std::optional<QDate> month = months_.typedMonth())
        picker_.state().CalendarMonthStart = *month;
}
