#include "closures/individual_closures_form.h"

#include "app/app_state.h"
#include "app/clock.h"
#include "closures/closure_calendar.h"
#include "closures/closure_days.h"
#include "closures/calendar_layout.h"
#include "master/target_list.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/input.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("個別休業日登録");
}

個休業登録::個休業登録()
    : Form(QStringLiteral("個休業登録"), kTitle),
      対象略称(comboBox(QStringLiteral("対象略称"))),
      表示年(textBox(QStringLiteral("表示年"))),
      表示月(textBox(QStringLiteral("表示月"))),
      表示(button(QStringLiteral("表示"), QStringLiteral("表示"))),
      前月(button(QStringLiteral("前月"), calendar_layout::kPreviousArrow)),
      次月(button(QStringLiteral("次月"), calendar_layout::kNextArrow)),
      日付(grid(QStringLiteral("日付"))),
      休業日(grid(QStringLiteral("休業日"))),
      設定日(textBox(QStringLiteral("設定日"))),
      Frame2(frame(QStringLiteral("Frame2"), QStringLiteral("休日区分"))),
      休日(option(QStringLiteral("休日"), QStringLiteral("休業日"), Frame2)),
      勤務(option(QStringLiteral("勤務"), QStringLiteral("営業日"), Frame2)),
      休日名(textBox(QStringLiteral("休日名"))),
      確定(button(QStringLiteral("確定"), QStringLiteral("確定"))),
      削除(button(QStringLiteral("削除"), QStringLiteral("削除"))),
      終了(button(QStringLiteral("終了"), QStringLiteral("終了"))),
      months_(表示年, 表示月, kTitle),
      picker_(Grid休業::IndividualClosures, 日付, 休業日, kTitle,
              {[this](int day) { return months_.dayOfTypedMonth(day); },
               [this](const QDate& date) {
                   設定日->setText(input::dateText(date));
                   dateCheck_.pass(設定日);
               },
               休日名, 休日, 勤務})
{
    layOut();
    休日->setChecked(true);

    ui::onClick(対象略称, [this] { 対象略称_Click(); });
    ui::onLostFocus(表示年, [this] { 表示年_LostFocus(); });
    ui::onLostFocus(表示月, [this] { 表示月_LostFocus(); });
    ui::onClick(表示, [this] { 表示_Click(); });
    ui::onClick(前月, [this] { 前月_Click(); });
    ui::onClick(次月, [this] { 次月_Click(); });
    ui::onClick(日付, [this] { 日付_Click(); });
    ui::onClick(休業日, [this] { 休業日_Click(); });
    確定->setDefault(true); // Enter registers the day, after the usual question
    ui::onClick(確定, [this] { 確定_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 個休業登録::layOut()
{
    calendar_layout::styleStepButtons(前月, 次月);
    対象略称->setMinimumContentsLength(16);
    表示年->setFixedWidth(calendar_layout::boxWidth(表示年, 6));
    表示月->setFixedWidth(calendar_layout::boxWidth(表示月, 3));
    設定日->setFixedWidth(calendar_layout::boxWidth(設定日, 12));
    休日名->setMinimumWidth(calendar_layout::boxWidth(休日名, 20));

    auto* target = new QHBoxLayout;
    target->addWidget(label(QStringLiteral("対象略称")));
    target->addWidget(対象略称);
    target->addStretch();

    auto* month = new QHBoxLayout;
    month->addWidget(表示年);
    month->addWidget(label(QStringLiteral("年")));
    month->addWidget(表示月);
    month->addWidget(label(QStringLiteral("月")));
    month->addWidget(表示);
    month->addSpacing(12);
    month->addWidget(前月);
    month->addWidget(次月);
    month->addStretch();

    auto* options = new QHBoxLayout(Frame2);
    options->addWidget(休日);
    options->addWidget(勤務);

    auto* entry = new QGridLayout;
    entry->addWidget(label(QStringLiteral("設定日")), 0, 0);
    auto* date = new QHBoxLayout;
    date->addWidget(設定日);
    date->addWidget(label(QStringLiteral("(YYYY/MM/DD)")));
    date->addStretch();
    entry->addLayout(date, 0, 1);
    entry->addWidget(Frame2, 1, 0, 1, 2);
    entry->addWidget(label(QStringLiteral("登録名")), 2, 0);
    entry->addWidget(休日名, 2, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(month);
    left->addWidget(日付, 0, Qt::AlignLeft);
    left->addLayout(entry);
    left->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(休業日);

    auto* page = new QVBoxLayout(this);
    page->addLayout(target);
    page->addLayout(body);
    page->addLayout(calendar_layout::buttonRow({確定, 削除, 終了}));
}

void 個休業登録::Form_Load()
{
    const QDate today = appclock::today();
    const QDate month(today.year(), today.month(), 1);
    months_.show(month);
    picker_.state().CalendarMonthStart = month;

    // The form opens on the target whose abbreviation it was handed; the menu hands only an
    // abbreviation (the target number empty), the targets form both.
    CMB対象::FillTargetCombo(対象略称);
    TargetSelection& targets = app().targets;
    const int shown = targets.CurrentTargetAbbrev.isEmpty() ? -1 : 対象略称->findText(targets.CurrentTargetAbbrev);
    対象略称->setCurrentIndex(shown);
    if (shown >= 0 && targets.CurrentTarget.isEmpty())
        CMB対象::FindTargetByAbbrev(targets.CurrentTargetAbbrev);
    picker_.state().Target = shown >= 0 ? targets.CurrentTarget : QString();

    picker_.draw();
    calendar_layout::fitGrids(日付, 休業日);
}

void 個休業登録::対象略称_Click()
{
    CMB対象::FindTargetByAbbrev(対象略称->currentText());
    picker_.state().Target = app().targets.CurrentTarget;
    picker_.draw();
    対象略称->setCurrentText(app().targets.CurrentTargetAbbrev);
}

void 個休業登録::表示年_LostFocus()
{
    if (months_.checkYear())
        followTypedMonth();
}

void 個休業登録::表示月_LostFocus()
{
    if (months_.checkMonth())
        followTypedMonth();
}

void 個休業登録::表示_Click()
{
    if (months_.checkYear() && months_.checkMonth())
        showMonth(*months_.typedMonth());
}

void 個休業登録::前月_Click()
{
    if (const std::optional<QDate> month = months_.steppedMonth(-1))
        showMonth(*month);
}

void 個休業登録::次月_Click()
{
    if (const std::optional<QDate> month = months_.steppedMonth(1))
        showMonth(*month);
}

void 個休業登録::日付_Click()
{
    picker_.calendarClicked();
}

void 個休業登録::休業日_Click()
{
    picker_.listClicked();
}

void 個休業登録::確定_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date || !hasTarget())
        return;
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;
    store::Table days = closure_days::openByKey(store::Database::open());
    closure_days::save(days, picker_.state().Target, *date, {休日->isChecked(), 休日名->text()});
    days.close();
    picker_.draw();
    msg::exclaim(QStringLiteral("ｶﾚﾝﾀﾞｰの登録･更新を終了しました。"), kTitle);
}

void 個休業登録::削除_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date || !hasTarget())
        return;
    if (!msg::ask(QStringLiteral("ｶﾚﾝﾀﾞｰを削除します。"), kTitle))
        return;
    store::Table days = closure_days::openByKey(store::Database::open());
    if (!closure_days::remove(days, picker_.state().Target, *date)) {
        msg::exclaim(QStringLiteral("ｶﾚﾝﾀﾞｰは登録されていません"), kTitle);
        return;
    }
    days.close();
    picker_.draw();
    msg::exclaim(QStringLiteral("ｶﾚﾝﾀﾞｰを削除しました。"), kTitle);
}

void 個休業登録::終了_Click()
{
    close();
}

void 個休業登録::showMonth(const QDate& month)
{
    months_.show(month);
    picker_.state().CalendarMonthStart = month;
    picker_.draw();
}

void 個休業登録::followTypedMonth()
{
    if (const std::optional<QDate> month = months_.typedMonth())
        picker_.state().CalendarMonthStart = *month;
}

bool 個休業登録::hasTarget()
{
    if (!picker_.state().Target.isEmpty())
        return true;
    msg::exclaim(QStringLiteral("対象略称を選択して下さい。"), kTitle);
    return false;
}

std::optional<QDate> 個休業登録::checkedDate()
{
    dateCheck_.clear();
    if (const std::optional<QDate> date = input::date(設定日->text())) {
        dateCheck_.pass(設定日);
        return date;
    }
    dateCheck_.fail(設定日, QStringLiteral("設定日に正しく(YYYY/MM/DD)入力してください"));
    dateCheck_.reportFailure(kTitle);
    return std::nullopt;
}
