#include "closures/regular_holidays_form.h"

#include "base/weekdays.h"
#include "base/clock.h"
#include "base/input.h"
#include "records/calendar.h"
#include "records/targets.h"
#include "rules/holidays_in_force.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/work_progress.h"
#include "views/closure_calendar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("定休日設定");

QDate firstOfMonth(const QDate& date)
{
    return QDate(date.year(), date.month(), 1);
}

} // namespace

定休日登録::定休日登録()
    : Form(QStringLiteral("定休日登録"), QStringLiteral("定休日登録")), 年度(textBox(QStringLiteral("年度"))),
      開始日(textBox(QStringLiteral("開始日"))), 終了日(textBox(QStringLiteral("終了日"))),
      前月(button(QStringLiteral("前月"), calendar_layout::kPreviousArrow)), 表示月(label(QString(), nullptr, QStringLiteral("表示月"))),
      次月(button(QStringLiteral("次月"), calendar_layout::kNextArrow)), 日付(grid(QStringLiteral("日付"))),
      休業日(grid(QStringLiteral("休業日"))), 曜日(frame(QStringLiteral("曜日"), QStringLiteral("曜日"))),
      特定日(frame(QStringLiteral("特定日"), QStringLiteral("日付指定"))), 定休日付(textBox(QStringLiteral("定休日付"), 特定日)),
      Frame2(frame(QStringLiteral("Frame2"), QStringLiteral("休日区分"))),
      休日(option(QStringLiteral("休日"), QStringLiteral("休業日"), Frame2)),
      勤務(option(QStringLiteral("勤務"), QStringLiteral("営業日"), Frame2)), 休日名(textBox(QStringLiteral("休日名"))),
      設定日(textBox(QStringLiteral("設定日"))), 確定(button(QStringLiteral("確定"), QStringLiteral("確定"))),
      削除(button(QStringLiteral("削除"), QStringLiteral("削除"))), 終了(button(QStringLiteral("終了"), QStringLiteral("終了"))),
      picker_(*this, Grid休業::RegularHolidays, 日付, 休業日, kTitle,
              {[this](int day) {
                   const QDate month = picker_.state().CalendarMonthStart;
                   return std::optional<QDate>(QDate(month.year(), month.month(), day));
               },
               [this](const QDate& date) {
                   定休日付->setText(QString::number(date.day()));
                   dayCheck_.pass(定休日付);
                   設定日->setText(input::dateText(date));
               },
               休日名, 休日, 勤務})
{
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const QString name = weekdays::name(weekday);
        weekdayBoxes_.push_back(checkBox(name, name, 曜日));
    }
    祝日 = checkBox(QStringLiteral("祝日"), QStringLiteral("祝日を休業日にする"));
    layOut();
    休日->setChecked(true);
    確定->setDefault(true); // Enter registers the year's holidays, after the usual question
    // The weekdays, made last, are chosen right after the calendar they sit under.
    QWidget* previous = 休業日;
    for (QCheckBox* box : weekdayBoxes_) {
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, 祝日);

    ui::onLostFocus(年度, [this] { 年度_LostFocus(); });
    ui::onLostFocus(定休日付, [this] { 定休日付_LostFocus(); });
    ui::onClick(前月, [this] { 前月_Click(); });
    ui::onClick(次月, [this] { 次月_Click(); });
    ui::onClick(日付, [this] { 日付_Click(); });
    ui::onClick(休業日, [this] { 休業日_Click(); });
    ui::onClick(確定, [this] { 確定_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 定休日登録::layOut()
{
    calendar_layout::styleStepButtons(前月, 次月);
    年度->setFixedWidth(calendar_layout::boxWidth(年度, 6));
    for (QLineEdit* day : {開始日, 終了日}) {
        day->setReadOnly(true);
        day->setFocusPolicy(Qt::NoFocus);
        day->setFixedWidth(calendar_layout::boxWidth(day, 11));
    }
    定休日付->setFixedWidth(calendar_layout::boxWidth(定休日付, 4));
    休日名->setMinimumWidth(calendar_layout::boxWidth(休日名, 20));
    表示月->setAlignment(Qt::AlignCenter);
    表示月->setMinimumWidth(表示月->fontMetrics().horizontalAdvance(QStringLiteral("12月")) + 16);
    設定日->hide();

    auto* year = new QHBoxLayout;
    year->addWidget(label(QStringLiteral("年度")));
    year->addWidget(年度);
    year->addSpacing(16);
    year->addWidget(label(QStringLiteral("年度開始日")));
    year->addWidget(開始日);
    year->addWidget(label(QStringLiteral("～")));
    year->addWidget(終了日);
    year->addStretch();

    auto* month = new QHBoxLayout;
    month->addWidget(前月);
    month->addWidget(表示月);
    month->addWidget(次月);
    month->addStretch();

    auto* weekdays = new QHBoxLayout(曜日);
    for (QCheckBox* box : weekdayBoxes_)
        weekdays->addWidget(box);
    auto* day = new QHBoxLayout(特定日);
    day->addWidget(label(QStringLiteral("日付"), 特定日));
    day->addWidget(定休日付);
    day->addStretch();
    auto* options = new QHBoxLayout(Frame2);
    options->addWidget(休日);
    options->addWidget(勤務);
    auto* name = new QHBoxLayout;
    name->addWidget(label(QStringLiteral("登録名")));
    name->addWidget(休日名);

    auto* left = new QVBoxLayout;
    left->addLayout(month);
    left->addWidget(日付, 0, Qt::AlignLeft);
    left->addWidget(曜日);
    left->addWidget(特定日);
    left->addWidget(祝日);
    left->addWidget(Frame2);
    left->addLayout(name);
    left->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(休業日);

    auto* page = new QVBoxLayout(this);
    page->addLayout(year);
    page->addLayout(body);
    page->addLayout(buttonRow({確定, 削除, 終了}));
}

void 定休日登録::Form_Load()
{
    // The regular holidays are the common calendar's.
    picker_.state().Target = records::kCommonTarget;

    const bool byWeekday = settings().DailyHoursKind == 1;
    曜日->setVisible(byWeekday);
    特定日->setVisible(!byWeekday);

    年度->setText(QString::number(appclock::today().year()));
    年度_LostFocus();
    calendar_layout::fitGrids(日付, 休業日);
}

void 定休日登録::年度_LostFocus()
{
    yearCheck_.clear();
    const QString yearText = 年度->text();
    const std::optional<QDate> first = input::dateOfParts({yearText, settings().FiscalYearStart});
    if (!input::isNumeric(yearText) || !first) {
        yearCheck_.fail(年度, QStringLiteral("年度に正しい数字を入力してください"));
        yearCheck_.reportFailure(kTitle);
        return;
    }
    yearCheck_.pass(年度);
    CalendarState& state = picker_.state();
    // Leaving the box without changing the year keeps the month shown.
    if (*first == state.FiscalYearFirstDay)
        return;
    state.FiscalYearFirstDay = *first;
    state.FiscalYearLastDay = first->addYears(1).addDays(-1);
    開始日->setText(input::dateText(state.FiscalYearFirstDay));
    終了日->setText(input::dateText(state.FiscalYearLastDay));
    showFirstMonth();
}

void 定休日登録::定休日付_LostFocus()
{
    dayCheck_.clear();
    const QString text = 定休日付->text();
    if (!input::isNumeric(text)) {
        dayCheck_.fail(定休日付, QStringLiteral("日付に数字を入力してください"));
        return;
    }
    const std::optional<int> day = input::wholeNumber16(text);
    if (!day || *day < 1 || *day > 31) {
        dayCheck_.fail(定休日付, QStringLiteral("定休日付に正しい数字を入力してください"));
        return;
    }
    dayCheck_.pass(定休日付);
}

void 定休日登録::前月_Click()
{
    stepMonth(-1);
}

void 定休日登録::次月_Click()
{
    stepMonth(1);
}

void 定休日登録::日付_Click()
{
    picker_.calendarClicked();
}

void 定休日登録::休業日_Click()
{
    picker_.listClicked();
}

void 定休日登録::確定_Click()
{
    applyHolidays(Register);
}

void 定休日登録::削除_Click()
{
    applyHolidays(Delete);
}

void 定休日登録::終了_Click()
{
    close();
}

void 定休日登録::applyHolidays(HolidayAction action)
{
    // The year shown by 開始日 and 終了日 is the one written; a year typed wrong is refused.
    if (yearCheck_.reportFailure(kTitle))
        return;
    const CalendarState& state = picker_.state();
    const bool byWeekday = settings().DailyHoursKind == 1;
    const bool withHolidays = 祝日->isChecked();
    std::vector<QDate> dates;
    if (byWeekday) {
        const holiday_dates::Weekdays weekdays = CollectWeekdays();
        if (std::find(weekdays.begin(), weekdays.end(), true) == weekdays.end() && !withHolidays) {
            msg::exclaim(QStringLiteral("曜日を１個は選択して下さい。"), kTitle);
            return;
        }
        dates = holiday_dates::WeekdayDates(state.FiscalYearFirstDay, state.FiscalYearLastDay, weekdays);
    } else if (!withHolidays || !input::normalized(定休日付->text()).isEmpty()) {
        // With the holidays ticked, an empty day of the month registers the holidays alone.
        定休日付_LostFocus();
        if (dayCheck_.reportFailure(kTitle))
            return;
        const int day = *input::wholeNumber16(定休日付->text());
        dates = holiday_dates::MonthlyDates(state.FiscalYearFirstDay, state.FiscalYearLastDay, day);
    }
    const QString question = action == Register ? QStringLiteral("入力内容で更新します。") : QStringLiteral("ｶﾚﾝﾀﾞｰを削除します。");
    if (!msg::ask(question, kTitle))
        return;

    WriteHolidayDays(dates, action, withHolidays);
    showFirstMonth();
    QString kind = byWeekday ? QStringLiteral("曜日") : QStringLiteral("日付");
    if (withHolidays)
        kind = dates.empty() ? QStringLiteral("祝日") : kind + QStringLiteral("と祝日");
    msg::exclaim(action == Register ? kind + QStringLiteral("での定休日を登録･更新をしました。")
                                    : kind + QStringLiteral("での定休日を削除しました。"),
                 kTitle);
}

holiday_dates::Weekdays 定休日登録::CollectWeekdays() const
{
    holiday_dates::Weekdays weekdays{};
    for (size_t i = 0; i < weekdayBoxes_.size(); ++i)
        weekdays[i + 1] = weekdayBoxes_[i]->isChecked();
    return weekdays;
}

void 定休日登録::WriteHolidayDays(const std::vector<QDate>& dates, HolidayAction action, bool withHolidays)
{
    ui::WorkProgress progress(kTitle, ui::WorkProgress::Stop::NotAllowed);
    const store::Database db = database();
    store::Transaction transaction(db);
    if (action == Register)
        records::saveClosureDays(db, records::kCommonTarget, dates, {休日->isChecked(), 休日名->text()},
                                 progress.report(QStringLiteral("定休日を登録しています")));
    else
        records::removeClosureDays(db, records::kCommonTarget, dates, progress.report(QStringLiteral("定休日を削除しています")));
    if (withHolidays) {
        // Read inside the transaction, so the corrections another desk saves meanwhile count too.
        // Written after the regular days, a holiday that falls on one is closed under its own name.
        const CalendarState& state = picker_.state();
        const national_holidays::HolidayNames holidays =
            national_holidays::holidayNamesBetween(db, state.FiscalYearFirstDay, state.FiscalYearLastDay);
        std::vector<QDate> holidayDates;
        for (const auto& [date, name] : holidays.byDate()) {
            holidayDates.push_back(date);
            if (action == Register)
                records::saveClosureDays(db, records::kCommonTarget, {date}, {true, name});
        }
        if (action == Delete)
            records::removeClosureDays(db, records::kCommonTarget, holidayDates);
    }
    transaction.commit();
}

void 定休日登録::showFirstMonth()
{
    showMonth(firstOfMonth(picker_.state().FiscalYearFirstDay));
}

void 定休日登録::showMonth(const QDate& month)
{
    picker_.state().CalendarMonthStart = month;
    表示月->setText(QString::number(month.month()) + QStringLiteral("月"));
    picker_.draw();
}

void 定休日登録::stepMonth(int months)
{
    const CalendarState& state = picker_.state();
    const QDate month = state.CalendarMonthStart.addMonths(months);
    if (month < firstOfMonth(state.FiscalYearFirstDay) || month > state.FiscalYearLastDay) {
        msg::exclaim(QStringLiteral("年度の範囲を超えています"), kTitle);
        return;
    }
    showMonth(month);
}
