#include "closures/national_holidays_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "base/weekdays.h"
#include "records/holidays.h"
#include "rules/holiday_hours.h"
#include "rules/national_holidays.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "ui/work_progress.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("祝日登録");
constexpr int kColumns = 4;
constexpr int kWidths[kColumns] = {1200, 450, 3300, 650}; // twips
constexpr int kListRows = 22;                             // a year's holidays with room to spare
constexpr int kHighlight = 10;
constexpr int kCleared = 15;
constexpr int kTakenAway = 8; // grey: a computed day the operator took away

QString originCaption(national_holidays::Origin origin)
{
    switch (origin) {
    case national_holidays::Origin::Computed: return QStringLiteral("計算");
    case national_holidays::Origin::Added: return QStringLiteral("追加");
    case national_holidays::Origin::Removed: return QStringLiteral("取消");
    }
    return {};
}

bool inComputedYears(int year)
{
    return year >= national_holidays::kFirstYear && year <= national_holidays::kLastYear;
}

QString yearRangeMessage()
{
    return QStringLiteral("年に%1から%2までを入力してください").arg(national_holidays::kFirstYear).arg(national_holidays::kLastYear);
}

// The computed holiday on the date, if any.
std::optional<national_holidays::Holiday> computedOn(const QDate& date)
{
    for (const national_holidays::Holiday& holiday : national_holidays::holidaysOfYear(date.year())) {
        if (holiday.date == date)
            return holiday;
    }
    return std::nullopt;
}

// Stores the correction of the date, keeping a remark stored with an earlier one.
void saveCorrection(const store::Database& db, const QDate& date, const QString& name, records::HolidayCorrectionKind kind)
{
    const std::optional<records::HolidayCorrection> earlier = records::findHolidayCorrection(db, date);
    records::saveHolidayCorrection(db, {date, name, kind, earlier ? earlier->remark : QString()});
}

} // namespace

祝日登録::祝日登録()
    : Form(kTitle, kTitle), 年(textBox(QStringLiteral("年"))), 前年(button(QStringLiteral("前年"), calendar_layout::kPreviousArrow)),
      翌年(button(QStringLiteral("翌年"), calendar_layout::kNextArrow)), 予想(label(QString(), nullptr, QStringLiteral("予想"))),
      祝日一覧(grid(QStringLiteral("祝日一覧"))), 日付(textBox(QStringLiteral("日付"))), 名称(textBox(QStringLiteral("名称"))),
      追加(button(QStringLiteral("追加"), QStringLiteral("追加"))), 取消(button(QStringLiteral("取消"), QStringLiteral("取消"))),
      戻す(button(QStringLiteral("戻す"), QStringLiteral("戻す"))), 年度(textBox(QStringLiteral("年度"))),
      曜日(comboBox(QStringLiteral("曜日"))), 特定日に登録(button(QStringLiteral("特定日に登録"), QStringLiteral("特定日に登録"))),
      終了(button(QStringLiteral("終了"), QStringLiteral("終了")))
{
    for (int weekday = 1; weekday <= 7; ++weekday)
        曜日->addItem(weekdays::name(weekday) + QStringLiteral("曜"));
    layOut();

    ui::onLostFocus(年, [this] { 年_LostFocus(); });
    ui::onClick(前年, [this] { 前年_Click(); });
    ui::onClick(翌年, [this] { 翌年_Click(); });
    ui::onClick(祝日一覧, [this] { 祝日一覧_Click(); });
    ui::onClick(追加, [this] { 追加_Click(); });
    ui::onClick(取消, [this] { 取消_Click(); });
    ui::onClick(戻す, [this] { 戻す_Click(); });
    ui::onClick(特定日に登録, [this] { 特定日に登録_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 祝日登録::layOut()
{
    calendar_layout::styleStepButtons(前年, 翌年);
    年->setFixedWidth(calendar_layout::boxWidth(年, 6));
    年度->setFixedWidth(calendar_layout::boxWidth(年度, 6));
    日付->setFixedWidth(calendar_layout::boxWidth(日付, 12));
    名称->setMinimumWidth(calendar_layout::boxWidth(名称, 24));
    予想->setWordWrap(true);
    // Hidden for a year that is no forecast, without the list moving.
    QSizePolicy keepSpace = 予想->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    予想->setSizePolicy(keepSpace);

    auto* year = new QHBoxLayout;
    year->addWidget(年);
    year->addWidget(label(QStringLiteral("年")));
    year->addSpacing(12);
    year->addWidget(前年);
    year->addWidget(翌年);
    year->addStretch();

    auto* entry = new QGridLayout;
    entry->addWidget(label(QStringLiteral("日付")), 0, 0);
    auto* date = new QHBoxLayout;
    date->addWidget(日付);
    date->addWidget(label(QStringLiteral("(YYYY/MM/DD)")));
    date->addStretch();
    entry->addLayout(date, 0, 1);
    entry->addWidget(label(QStringLiteral("名称")), 1, 0);
    entry->addWidget(名称, 1, 1);
    auto* corrections = new QHBoxLayout;
    for (QPushButton* b : {追加, 取消, 戻す}) {
        b->setMinimumSize(kCommandButton);
        corrections->addWidget(b);
    }
    corrections->addStretch();
    entry->addLayout(corrections, 2, 1);

    QGroupBox* hours = frame(QStringLiteral("祝日営業"), QStringLiteral("祝日の営業時間"));
    特定日に登録->setMinimumSize(kCommandButton.width() + 20, kCommandButton.height());
    auto* fiscalYear = new QHBoxLayout;
    fiscalYear->addWidget(年度);
    fiscalYear->addWidget(label(QStringLiteral("年度の祝日に"), hours));
    fiscalYear->addStretch();
    auto* weekday = new QHBoxLayout;
    weekday->addWidget(曜日);
    weekday->addWidget(label(QStringLiteral("の営業時間を特定日営業時間として"), hours));
    weekday->addStretch();
    auto* hoursButton = new QHBoxLayout;
    hoursButton->addStretch();
    hoursButton->addWidget(特定日に登録);
    auto* hoursColumn = new QVBoxLayout(hours);
    hoursColumn->addLayout(fiscalYear);
    hoursColumn->addLayout(weekday);
    hoursColumn->addLayout(hoursButton);

    auto* right = new QVBoxLayout;
    right->addLayout(entry);
    right->addSpacing(16);
    right->addWidget(hours);
    right->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(year);
    left->addWidget(祝日一覧, 1);

    auto* body = new QHBoxLayout;
    body->setSpacing(20);
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(body, 1);
    page->addWidget(予想);
    page->addLayout(buttonRow({終了}));
}

void 祝日登録::Form_Load()
{
    const int thisYear = appclock::today().year();
    年度->setText(QString::number(thisYear));
    曜日->setCurrentIndex(0); // Sunday's hours, which a holiday most often keeps
    曜日->setEnabled(settings().DailyHoursKind == 1);
    showYear(std::clamp(thisYear, national_holidays::kFirstYear, national_holidays::kLastYear));
    // A year's holidays in view at once, measured as the list is drawn.
    祝日一覧->ensurePolished();
    祝日一覧->setFixedWidth(祝日一覧->sizeHint().width() + 祝日一覧->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    祝日一覧->setMinimumHeight(祝日一覧->sizeHint().height());
}

void 祝日登録::年_LostFocus()
{
    yearCheck_.clear();
    const std::optional<int> year = input::wholeNumber16(年->text());
    if (!year || !inComputedYears(*year)) {
        yearCheck_.fail(年, yearRangeMessage());
        yearCheck_.reportFailure(kTitle);
        return;
    }
    yearCheck_.pass(年);
    if (*year != year_)
        showYear(*year);
}

void 祝日登録::前年_Click()
{
    if (!inComputedYears(year_ - 1)) {
        msg::exclaim(QStringLiteral("年の範囲を超えています"), kTitle);
        return;
    }
    showYear(year_ - 1);
}

void 祝日登録::翌年_Click()
{
    if (!inComputedYears(year_ + 1)) {
        msg::exclaim(QStringLiteral("年の範囲を超えています"), kTitle);
        return;
    }
    showYear(year_ + 1);
}

void 祝日登録::showYear(int year)
{
    year_ = year;
    年->setText(QString::number(year));
    yearCheck_.pass(年);
    FillHolidayList();
}

void 祝日登録::FillHolidayList()
{
    listed_ = national_holidays::holidaysBetween(database(), QDate(year_, 1, 1), QDate(year_, 12, 31));
    listRow_ = 0;
    FlexGrid* g = 祝日一覧;
    g->startLayout(std::max(int(listed_.size()), kListRows) + 1, kColumns, 1, 0);
    g->paintRow(0, 0, -1, ui::qbColor(14));
    const QString headers[kColumns] = {QStringLiteral("日付"), QStringLiteral("曜"), QStringLiteral("名称"), QStringLiteral("区分")};
    for (int col = 0; col < kColumns; ++col) {
        g->setTextMatrix(0, col, headers[col]);
        g->setColWidth(col, kWidths[col]);
    }
    for (size_t i = 0; i < listed_.size(); ++i) {
        const national_holidays::DayOfRecord& day = listed_[i];
        const int row = int(i) + 1;
        g->setTextMatrix(row, 0, input::dateText(day.date));
        g->setTextMatrix(row, 1, weekdays::name(weekdays::numberOf(day.date)));
        g->setTextMatrix(row, 2, day.name);
        g->setTextMatrix(row, 3, originCaption(day.origin));
        if (!day.inForce()) {
            g->setRow(row);
            g->setCol(0);
            g->setColSel(kColumns - 1);
            g->setCellForeColor(ui::qbColor(kTakenAway));
        }
    }
    g->setRow(0);
    g->setCol(0);

    予想->setText(QStringLiteral("※ %1年の祝日は予想です。春分の日と秋分の日は、前年2月に官報で公表されて確定します。").arg(year_));
    予想->setVisible(national_holidays::isForecast(year_));
}

void 祝日登録::MarkListRow(int row)
{
    if (listRow_ != 0)
        祝日一覧->paintRow(listRow_, 0, -1, ui::qbColor(kCleared));
    listRow_ = row;
    if (row != 0)
        祝日一覧->paintRow(row, 0, -1, ui::qbColor(kHighlight));
}

void 祝日登録::祝日一覧_Click()
{
    const int row = 祝日一覧->row();
    if (row < 1 || row > int(listed_.size())) {
        msg::exclaim(QStringLiteral("祝日指定が有効範囲外です。"), kTitle);
        return;
    }
    MarkListRow(row);
    const national_holidays::DayOfRecord& day = listed_[size_t(row - 1)];
    日付->setText(input::dateText(day.date));
    名称->setText(day.name);
    entryCheck_.clear();
    entryCheck_.pass(日付);
    entryCheck_.pass(名称);
}

std::optional<QDate> 祝日登録::checkedDate()
{
    entryCheck_.clear();
    const std::optional<QDate> date = input::date(日付->text());
    if (!date)
        entryCheck_.fail(日付, QStringLiteral("日付に正しく(YYYY/MM/DD)入力してください"));
    else if (!inComputedYears(date->year()))
        entryCheck_.fail(日付, QStringLiteral("日付に%1年から%2年までの日付を入力してください")
                                   .arg(national_holidays::kFirstYear)
                                   .arg(national_holidays::kLastYear));
    if (entryCheck_.reportFailure(kTitle))
        return std::nullopt;
    entryCheck_.pass(日付);
    日付->setText(input::dateText(*date));
    return date;
}

std::optional<QDate> 祝日登録::checkedFiscalYear()
{
    yearCheck_.clear();
    const QString year = 年度->text();
    const std::optional<QDate> first = input::dateOfParts({year, settings().FiscalYearStart});
    if (!input::isNumeric(year) || !first) {
        yearCheck_.fail(年度, QStringLiteral("年度に正しい数字を入力してください"));
        yearCheck_.reportFailure(kTitle);
        return std::nullopt;
    }
    yearCheck_.pass(年度);
    return first;
}

void 祝日登録::showChanged(const QDate& date)
{
    showYear(date.year());
    for (size_t i = 0; i < listed_.size(); ++i) {
        if (listed_[i].date == date)
            MarkListRow(int(i) + 1);
    }
}

void 祝日登録::追加_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date)
        return;
    const QString name = 名称->text().trimmed();
    if (name.isEmpty()) {
        entryCheck_.fail(名称, QStringLiteral("名称を入力してください"));
        entryCheck_.reportFailure(kTitle);
        return;
    }
    entryCheck_.pass(名称);
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;
    saveCorrection(database(), *date, name, records::HolidayCorrectionKind::Added);
    showChanged(*date);
    msg::exclaim(QStringLiteral("祝日は更新(登録)されました。"), kTitle);
}

void 祝日登録::取消_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date)
        return;
    const std::optional<national_holidays::Holiday> computed = computedOn(*date);
    if (!computed) {
        msg::exclaim(QStringLiteral("取り消せるのは計算による祝日です。追加した日は「戻す」で除いてください。"), kTitle);
        return;
    }
    const std::optional<records::HolidayCorrection> correction = records::findHolidayCorrection(database(), *date);
    if (correction && correction->kind == records::HolidayCorrectionKind::Removed) {
        msg::exclaim(QStringLiteral("指定祝日は取消済みです。"), kTitle);
        return;
    }
    if (!msg::ask(QStringLiteral("指定祝日を取り消します。"), kTitle))
        return;
    saveCorrection(database(), *date, computed->name, records::HolidayCorrectionKind::Removed);
    showChanged(*date);
    msg::exclaim(QStringLiteral("祝日は取消しされました。"), kTitle);
}

void 祝日登録::戻す_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date)
        return;
    const QString none = QStringLiteral("指定日の訂正は登録されていません。");
    if (!records::findHolidayCorrection(database(), *date)) {
        msg::exclaim(none, kTitle);
        return;
    }
    if (!msg::ask(QStringLiteral("指定日の訂正を取り消して計算どおりに戻します。"), kTitle))
        return;
    if (!records::removeHolidayCorrection(database(), *date)) {
        msg::exclaim(none, kTitle); // another desk undid it meanwhile
        return;
    }
    showChanged(*date);
    msg::exclaim(QStringLiteral("指定日を計算どおりに戻しました。"), kTitle);
}

void 祝日登録::特定日に登録_Click()
{
    const std::optional<QDate> first = checkedFiscalYear();
    if (!first)
        return;
    const bool byWeekday = settings().DailyHoursKind == 1;
    const holiday_hours::Request request{*first, first->addYears(1).addDays(-1), 曜日->currentIndex() + 1, settings().DailyHoursKind};
    const std::vector<QDate> dates = holiday_hours::HolidayDates(database(), request);
    if (dates.empty()) {
        msg::exclaim(QStringLiteral("指定年度に祝日はありません。"), kTitle);
        return;
    }
    const QString hours = byWeekday ? 曜日->currentText() + QStringLiteral("の営業時間") : QStringLiteral("通常の営業時間");
    QString question = QStringLiteral("%1年度（%2～%3）の祝日%4日に、%5を特定日営業時間として全対象に登録します。\n"
                                      "その日の登録済の特定日営業時間は置き換えます。")
                           .arg(年度->text().trimmed(), input::dateText(request.firstDay), input::dateText(request.lastDay))
                           .arg(dates.size())
                           .arg(hours);
    if (national_holidays::isForecast(request.lastDay.year()))
        question += QStringLiteral("\n予想の祝日を含みます。");
    if (!msg::ask(question, kTitle))
        return;
    holiday_hours::Copied copied;
    {
        ui::WorkProgress progress(kTitle, ui::WorkProgress::Stop::NotAllowed);
        copied = holiday_hours::CopyWeekdayHours(database(), request, progress.report(QStringLiteral("特定日営業時間を登録しています")));
    }
    if (copied.targets == 0)
        msg::exclaim(hours + QStringLiteral("が登録されていないため、登録しませんでした。"), kTitle);
    else
        msg::exclaim(QStringLiteral("祝日%1日の特定日営業時間を%2対象に登録しました。").arg(copied.dates).arg(copied.targets), kTitle);
}

void 祝日登録::終了_Click()
{
    close();
}
