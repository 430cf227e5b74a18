#include "reservations/status_inquiry_form.h"

#include "app/app_state.h"
#include "app/clock.h"
#include "closures/calendar_layout.h"
#include "closures/closure_calendar.h"
#include "master/target_list.h"
#include "reservations/time_inquiry_form.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/input.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("予約状照会");
}

予約状照会::予約状照会()
    : Form(QStringLiteral("予約状照会"), QStringLiteral("予約状況照会")),
      Label11(label(QStringLiteral("対象略称"), nullptr, QStringLiteral("Label11"))),
      対象略称(comboBox(QStringLiteral("対象略称"))),
      Label対象略称(label(QStringLiteral("(照会する予約対象)"), nullptr, QStringLiteral("Label対象略称"))),
      表示年(textBox(QStringLiteral("表示年"))),
      表示月(textBox(QStringLiteral("表示月"))),
      前月(button(QStringLiteral("前月"), calendar_layout::kPreviousArrow)),
      次月(button(QStringLiteral("次月"), calendar_layout::kNextArrow)),
      日付(grid(QStringLiteral("日付"))),
      休業日(grid(QStringLiteral("休業日"))),
      設定日(textBox(QStringLiteral("設定日"))),
      照会(button(QStringLiteral("照会"), QStringLiteral("照会"))),
      終了(button(QStringLiteral("終了"), QStringLiteral("終了"))),
      months_(表示年, 表示月, kTitle),
      picker_(Grid休業::StatusInquiry, 日付, 休業日, kTitle,
              {[this](int day) { return months_.dayOfTypedMonth(day); },
               [this](const QDate& date) { 設定日->setText(input::dateText(date)); }})
{
    layOut();
    照会->setDefault(true);

    ui::onClick(対象略称, [this] { 対象略称_Click(); });
    ui::onLostFocus(表示年, [this] { 表示年_LostFocus(); });
    ui::onLostFocus(表示月, [this] { 表示月_LostFocus(); });
    ui::onClick(前月, [this] { 前月_Click(); });
    ui::onClick(次月, [this] { 次月_Click(); });
    ui::onClick(日付, [this] { 日付_Click(); });
    ui::onClick(休業日, [this] { 休業日_Click(); });
    ui::onClick(照会, [this] { 照会_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 予約状照会::layOut()
{
    calendar_layout::styleStepButtons(前月, 次月);
    対象略称->setMinimumContentsLength(16);
    表示年->setFixedWidth(calendar_layout::boxWidth(表示年, 6));
    表示月->setFixedWidth(calendar_layout::boxWidth(表示月, 3));
    設定日->setFixedWidth(calendar_layout::boxWidth(設定日, 12));

    auto* target = new QHBoxLayout;
    target->addWidget(Label11);
    target->addWidget(対象略称);
    target->addWidget(Label対象略称);
    target->addStretch();

    auto* month = new QHBoxLayout;
    month->addWidget(label(QStringLiteral("表示年月")));
    month->addWidget(表示年);
    month->addWidget(label(QStringLiteral("年")));
    month->addWidget(表示月);
    month->addWidget(label(QStringLiteral("月")));
    month->addSpacing(12);
    month->addWidget(前月);
    month->addWidget(次月);
    month->addStretch();

    auto* date = new QHBoxLayout;
    date->addWidget(label(QStringLiteral("照会日")));
    date->addWidget(設定日);
    date->addWidget(label(QStringLiteral("(YYYY/MM/DD)")));
    date->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(month);
    left->addWidget(日付, 0, Qt::AlignLeft);
    left->addLayout(date);
    left->addStretch();

    auto* list = new QVBoxLayout;
    list->addWidget(label(QStringLiteral("休日・行事")));
    list->addWidget(休業日);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(list);

    auto* page = new QVBoxLayout(this);
    page->addLayout(target);
    page->addLayout(body);
    page->addLayout(calendar_layout::buttonRow({照会, 終了}));
}

bool 予約状照会::byTarget() const
{
    return app().modes.InquiryKind == 1;
}

void 予約状照会::Form_Load()
{
    const QDate today = appclock::today();
    const QDate month(today.year(), today.month(), 1);
    months_.show(month);
    picker_.state().CalendarMonthStart = month;

    TargetSelection& targets = app().targets;
    Label11->setVisible(byTarget());
    対象略称->setVisible(byTarget());
    Label対象略称->setVisible(byTarget());
    if (byTarget()) {
        CMB対象::FillTargetCombo(対象略称);
        対象略称->setCurrentIndex(対象略称->findText(targets.CurrentTargetAbbrev));
        picker_.state().Target = targets.CurrentTarget;
    } else {
        CMB対象::FillTargetList();
        // The day of every target: the calendar shows the common closures.
        picker_.state().Target = QStringLiteral("00000");
    }
    picker_.draw();
    calendar_layout::fitGrids(日付, 休業日);
}

void 予約状照会::対象略称_Click()
{
    CMB対象::FindTargetByAbbrev(対象略称->currentText());
    picker_.state().Target = app().targets.CurrentTarget;
    picker_.draw();
    対象略称->setCurrentText(app().targets.CurrentTargetAbbrev);
}

void 予約状照会::表示年_LostFocus()
{
    if (months_.checkYear())
        followTypedMonth();
}

void 予約状照会::表示月_LostFocus()
{
    if (months_.checkMonth())
        followTypedMonth();
}

void 予約状照会::前月_Click()
{
    if (const std::optional<QDate> month = months_.steppedMonth(-1))
        showMonth(*month);
}

void 予約状照会::次月_Click()
{
    if (const std::optional<QDate> month = months_.steppedMonth(1))
        showMonth(*month);
}

void 予約状照会::日付_Click()
{
    picker_.calendarClicked();
}

void 予約状照会::休業日_Click()
{
    picker_.listClicked();
}

void 予約状照会::照会_Click()
{
    const std::optional<QDate> date = input::date(設定日->text());
    if (!date) {
        msg::exclaim(QStringLiteral("照会日付を選択して下さい。"), kTitle);
        return;
    }
    BookingHandOff& booking = app().booking;
    booking.SelectedDate = *date;
    booking.SelectedLastDate = *date;
    if (byTarget()) {
        if (対象略称->currentText().isEmpty()) {
            msg::exclaim(QStringLiteral("照会対象略称を選択して下さい。"), kTitle);
            return;
        }
        CMB対象::FindTargetByAbbrev(対象略称->currentText());
        booking.SelectedLastDate = date->addDays(6);
    }
    forms::showModal<時間照会>();
}

void 予約状照会::終了_Click()
{
    close();
}

void 予約状照会::showMonth(const QDate& month)
{
    months_.show(month);
    picker_.state().CalendarMonthStart = month;
    picker_.draw();
}

void 予約状照会::followTypedMonth()
{
    // The month typed is shown with the next target choice or month step.
    if (const std::optional<QDate> month = months_.typedMonth())
        picker_.state().CalendarMonthStart = *month;
}
