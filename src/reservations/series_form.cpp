#include "reservations/series_form.h"

#include "base/input.h"
#include "base/weekdays.h"
#include "reservations/booking_questions.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

namespace {

const QString kTitle = QStringLiteral("定期予約登録");
const QString kTick = QStringLiteral("✓");
constexpr int kColumns = 3;
constexpr int kWidths[kColumns] = {1900, 2600, 700}; // twips
constexpr int kListedInQuestion = 12;                // dates named under a question before "ほか"

QString dateWithWeekday(const QDate& date)
{
    return input::dateText(date) + QStringLiteral("（") + weekdays::name(weekdays::numberOf(date)) + QStringLiteral("）");
}

// A state that keeps a date from being booked as it is stands out.
QColor stateColour(series::DateState state)
{
    switch (state) {
    case series::DateState::Free: return ui::qbColor(0);
    case series::DateState::Own: return ui::qbColor(1);
    default: return ui::qbColor(4);
    }
}

// What kept a date from being written, as the operator is told.
QString Refusal(const booking_write::Outcome& outcome, const booking_write::Change& change)
{
    using Kind = booking_write::Outcome::Kind;
    const QString date = input::dateText(change.result.date);
    if (outcome.kind == Kind::Gone)
        return QStringLiteral("%1 の予約は他の端末で削除されています。").arg(date);
    if (outcome.kind == Kind::KeyTaken && change.read)
        return QStringLiteral("%1 の予約は他の定期予約の日程です。").arg(date);
    if (outcome.kind == Kind::KeyTaken)
        return QStringLiteral("%1 には同じ予約者NO「%2」で別の予約者「%3」の予約があります。")
            .arg(date, outcome.now->reserverNo, outcome.holder);
    return QStringLiteral("%1 の予約は他の端末で変更されています。").arg(date);
}

} // namespace

定期予約登録::定期予約登録(const records::Reservation& booking, const records::Target& target, SeriesOutcome& outcome)
    : Form(QStringLiteral("定期予約登録"), kTitle), booking_(booking), target_(target), outcome_(outcome)
{
    予約対象 = displayBox("予約対象");
    予約者 = displayBox("予約者");
    開始日 = displayBox("開始日");
    時間 = displayBox("時間");

    QGroupBox* repeat = frame("繰り返し", "繰り返し");
    毎週 = option("毎週", "毎週", repeat);
    間隔 = textBox("間隔", repeat);
    for (const char* day : {"月", "火", "水", "木", "金", "土", "日"})
        weekdayBoxes_.push_back(checkBox(QString::fromUtf8(day), QString::fromUtf8(day), repeat));
    毎月日付 = option("毎月日付", "毎月日付", repeat);
    日付説明 = label(QString(), repeat, "日付説明");
    月末に合わせる = checkBox("月末に合わせる", "月末に合わせる", repeat);
    毎月曜日 = option("毎月曜日", "毎月曜日", repeat);
    曜日説明 = label(QString(), repeat, "曜日説明");
    最終 = checkBox("最終", "最終", repeat);

    QGroupBox* ending = frame("終了", "終了");
    終了日指定 = option("終了日指定", "終了日", ending);
    終了日 = textBox("終了日", ending);
    回数指定 = option("回数指定", "回数", ending);
    回数 = textBox("回数", ending);

    祝日を除く = checkBox("祝日を除く", "祝日を除く");
    休業日を除く = checkBox("休業日を除く", "休業日を除く");
    日程作成 = button("日程作成", "日程作成");
    日程一覧 = grid("日程一覧");
    件数 = label(QString(), nullptr, "件数");
    登録 = button("登録", "登録");
    QPushButton* close = button("終了", "終了");

    予約対象->setMinimumWidth(260);
    予約者->setMinimumWidth(260);
    開始日->setFixedWidth(140);
    時間->setFixedWidth(110);
    間隔->setFixedWidth(40);
    終了日->setFixedWidth(110);
    回数->setFixedWidth(50);
    日程一覧->setCols(kColumns);
    int gridWidth = 2 * 日程一覧->frameWidth() + 24;
    for (int col = 0; col < kColumns; ++col) {
        日程一覧->setColWidth(col, kWidths[col]);
        gridWidth += ui::twips(kWidths[col]);
    }
    日程一覧->setMinimumSize(gridWidth, 420);

    for (QRadioButton* choice : {毎週, 毎月日付, 毎月曜日, 終了日指定, 回数指定})
        ui::onClick(choice, [this] {
            ShowRepeatChoices();
            ClearSchedule();
        });
    for (QCheckBox* box : weekdayBoxes_)
        ui::onClick(box, [this] { ClearSchedule(); });
    for (QCheckBox* box : {月末に合わせる, 最終, 祝日を除く, 休業日を除く})
        ui::onClick(box, [this] { ClearSchedule(); });
    for (QLineEdit* box : {間隔, 終了日, 回数})
        ui::onChange(box, [this] { ClearSchedule(); });
    ui::onClick(日程作成, [this] { 日程作成_Click(); });
    ui::onClick(日程一覧, [this] { 日程一覧_Click(); });
    ui::onClick(登録, [this] { 登録_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    auto* booked = new QGridLayout;
    booked->setSpacing(8);
    booked->addWidget(label("予約対象"), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    booked->addWidget(予約対象, 0, 1);
    booked->addWidget(label("予約者"), 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    booked->addWidget(予約者, 1, 1);
    auto* when = new QHBoxLayout;
    when->addWidget(開始日);
    when->addSpacing(16);
    when->addWidget(label("時間"));
    when->addWidget(時間);
    when->addStretch();
    booked->addWidget(label("開始日"), 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    booked->addLayout(when, 2, 1);

    auto* weekly = new QHBoxLayout;
    weekly->addWidget(毎週);
    weekly->addSpacing(12);
    weekly->addWidget(label("間隔", repeat));
    weekly->addWidget(間隔);
    weekly->addWidget(label("週ごと", repeat));
    weekly->addStretch();
    auto* days = new QHBoxLayout;
    days->addSpacing(24);
    for (QCheckBox* box : weekdayBoxes_)
        days->addWidget(box);
    days->addStretch();
    auto* byDay = new QHBoxLayout;
    byDay->addWidget(毎月日付);
    byDay->addWidget(日付説明);
    byDay->addSpacing(12);
    byDay->addWidget(月末に合わせる);
    byDay->addStretch();
    auto* byWeekday = new QHBoxLayout;
    byWeekday->addWidget(毎月曜日);
    byWeekday->addWidget(曜日説明);
    byWeekday->addSpacing(12);
    byWeekday->addWidget(最終);
    byWeekday->addStretch();
    auto* repeats = new QVBoxLayout(repeat);
    repeats->addLayout(weekly);
    repeats->addLayout(days);
    repeats->addSpacing(6);
    repeats->addLayout(byDay);
    repeats->addLayout(byWeekday);

    auto* ends = new QGridLayout(ending);
    ends->addWidget(終了日指定, 0, 0);
    ends->addWidget(終了日, 0, 1);
    ends->addWidget(回数指定, 1, 0);
    auto* times = new QHBoxLayout;
    times->addWidget(回数);
    times->addWidget(label("回", ending));
    times->addStretch();
    ends->addLayout(times, 1, 1);
    ends->addWidget(label("開始日から3年以内・200回まで", ending), 2, 0, 1, 2);
    ends->setColumnStretch(1, 1);

    auto* leaveOut = new QHBoxLayout;
    leaveOut->addWidget(祝日を除く);
    leaveOut->addSpacing(16);
    leaveOut->addWidget(休業日を除く);
    leaveOut->addStretch();

    auto* left = new QVBoxLayout;
    left->setSpacing(10);
    left->addLayout(booked);
    left->addWidget(repeat);
    left->addWidget(ending);
    left->addLayout(leaveOut);
    auto* make = new QHBoxLayout;
    make->addStretch();
    日程作成->setMinimumSize(kCommandButton);
    make->addWidget(日程作成);
    left->addLayout(make);
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(label("日程一覧（行をクリックすると登録の✓が切り替わります）"));
    right->addWidget(日程一覧, 1);
    right->addWidget(件数);

    auto* body = new QHBoxLayout;
    body->setSpacing(20);
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(12);
    page->addLayout(body, 1);
    page->addLayout(buttonRow({登録, close}));
}

void 定期予約登録::Form_Load()
{
    check_.clear();
    const QDate first = booking_.date;
    予約対象->setText(QStringLiteral("%1 %2 %3").arg(target_.number, target_.abbrev, target_.name));
    予約者->setText(QStringLiteral("%1 %2").arg(booking_.reserverNo, booking_.reserverName));
    開始日->setText(dateWithWeekday(first));
    時間->setText(input::timeText(booking_.start) + QStringLiteral("～") + input::timeText(booking_.end));
    毎週->setChecked(true);
    間隔->setText(QStringLiteral("1"));
    for (size_t i = 0; i < weekdayBoxes_.size(); ++i)
        weekdayBoxes_[i]->setChecked(int(i) + 1 == first.dayOfWeek());
    日付説明->setText(QStringLiteral("（毎月%1日）").arg(first.day()));
    曜日説明->setText(QStringLiteral("（毎月第%1%2曜）").arg((first.day() - 1) / 7 + 1).arg(weekdays::name(weekdays::numberOf(first))));
    月末に合わせる->setChecked(true);
    // A fifth weekday most months lack: the last one is what a regular means.
    最終->setChecked(first.day() > 28);
    終了日指定->setChecked(true);
    終了日->setText(input::dateText(first.addYears(1).addDays(-1)));
    回数->clear();
    祝日を除く->setChecked(false);
    休業日を除く->setChecked(true);
    ShowRepeatChoices();
    ClearSchedule();
}

void 定期予約登録::ShowRepeatChoices()
{
    const QDate first = booking_.date;
    間隔->setEnabled(毎週->isChecked());
    for (QCheckBox* box : weekdayBoxes_)
        box->setEnabled(毎週->isChecked());
    月末に合わせる->setEnabled(毎月日付->isChecked() && recurrence::monthEndOffered(first));
    最終->setEnabled(毎月曜日->isChecked() && recurrence::lastWeekdayOffered(first));
    終了日->setEnabled(終了日指定->isChecked());
    回数->setEnabled(回数指定->isChecked());
}

std::optional<recurrence::Rule> 定期予約登録::ReadRule()
{
    using recurrence::Field;
    recurrence::Rule rule;
    rule.first = booking_.date;
    rule.repeat = 毎週->isChecked()       ? recurrence::Repeat::Weekly
                  : 毎月日付->isChecked() ? recurrence::Repeat::MonthlyByDay
                                          : recurrence::Repeat::MonthlyByWeekday;
    if (rule.repeat == recurrence::Repeat::Weekly) {
        rule.intervalWeeks = input::wholeNumber16(間隔->text()).value_or(0);
        for (size_t i = 0; i < weekdayBoxes_.size(); ++i)
            rule.weekdays[(i + 1) % 7 + 1] = weekdayBoxes_[i]->isChecked();
    }
    rule.monthEnd = 月末に合わせる->isEnabled() && 月末に合わせる->isChecked();
    rule.lastWeekday = 最終->isEnabled() && 最終->isChecked();
    if (終了日指定->isChecked())
        rule.end = recurrence::Until{input::date(終了日->text()).value_or(QDate())};
    else
        rule.end = recurrence::Count{input::wholeNumber16(回数->text()).value_or(0)};

    check_.clear();
    for (QWidget* box : std::initializer_list<QWidget*>{間隔, 最終, 終了日, 回数})
        check_.pass(box);
    if (const std::optional<recurrence::Problem> problem = recurrence::check(rule)) {
        QWidget* box = problem->field == Field::Interval      ? static_cast<QWidget*>(間隔)
                       : problem->field == Field::Weekdays    ? weekdayBoxes_[size_t(rule.first.dayOfWeek() - 1)]
                       : problem->field == Field::LastWeekday ? 最終
                       : problem->field == Field::EndDate     ? 終了日
                       : problem->field == Field::Count       ? 回数
                                                              : static_cast<QWidget*>(日程作成);
        check_.fail(box, problem->message);
        check_.reportFailure(kTitle);
        return std::nullopt;
    }
    if (終了日指定->isChecked())
        終了日->setText(input::dateText(std::get<recurrence::Until>(rule.end).date));
    return rule;
}

void 定期予約登録::ClearSchedule()
{
    listed_.reset();
    日程一覧->startLayout(1, kColumns, 1, 0);
    日程一覧->paintRow(0, 0, -1, ui::qbColor(14));
    const QString headers[kColumns] = {QStringLiteral("日付"), QStringLiteral("状態"), QStringLiteral("登録")};
    for (int col = 0; col < kColumns; ++col) {
        日程一覧->setTextMatrix(0, col, headers[col]);
        日程一覧->setColWidth(col, kWidths[col]);
    }
    件数->setText(QStringLiteral("日程作成で日程を作成してください。"));
    登録->setEnabled(false);
}

void 定期予約登録::日程作成_Click()
{
    const std::optional<recurrence::Rule> rule = ReadRule();
    if (!rule)
        return;
    series::Plan plan{booking_, *rule, 祝日を除く->isChecked(), 休業日を除く->isChecked()};
    std::vector<series::PlannedDate> dates = series::Preview(database(), settings(), plan);
    ClearSchedule();
    listed_ = series::Registration{plan, std::move(dates)};
    FillSchedule();
    登録->setEnabled(true);
}

void 定期予約登録::FillSchedule()
{
    const std::vector<series::PlannedDate>& dates = listed_->dates;
    日程一覧->setRows(int(dates.size()) + 1);
    for (size_t i = 0; i < dates.size(); ++i) {
        const int row = int(i) + 1;
        日程一覧->setTextMatrix(row, 0, dateWithWeekday(dates[i].date));
        日程一覧->setTextMatrix(row, 1, series::StateText(dates[i]));
        日程一覧->setTextMatrix(row, 2, dates[i].book ? kTick : QString());
        日程一覧->setRow(row);
        日程一覧->setCol(1);
        日程一覧->setCellForeColor(stateColour(dates[i].state));
        日程一覧->setCol(2);
        日程一覧->setCellAlignment(FlexGrid::CenterCenter);
    }
    日程一覧->setRow(0);
    日程一覧->setCol(0);
    ShowCounts();
}

void 定期予約登録::ShowCounts()
{
    const std::vector<series::PlannedDate>& dates = listed_->dates;
    const auto ticked = std::count_if(dates.begin(), dates.end(), [](const series::PlannedDate& d) { return d.book; });
    QString text = QStringLiteral("日程 %1件（登録 %2件／除外 %3件）").arg(dates.size()).arg(ticked).arg(qsizetype(dates.size()) - ticked);
    const recurrence::Expansion cut = recurrence::expand(listed_->plan.rule);
    if (cut.cut == recurrence::Cut::ByYears)
        text += QStringLiteral("　開始日から%1年までの日程です").arg(recurrence::kMaxYears);
    else if (cut.cut == recurrence::Cut::ByDates)
        text += QStringLiteral("　%1件までの日程です").arg(recurrence::kMaxDates);
    件数->setText(text);
}

void 定期予約登録::日程一覧_Click()
{
    const int row = 日程一覧->row();
    if (!listed_ || row < 1 || row > int(listed_->dates.size()))
        return;
    series::PlannedDate& date = listed_->dates[size_t(row - 1)];
    date.book = !date.book;
    日程一覧->setTextMatrix(row, 2, date.book ? kTick : QString());
    ShowCounts();
}

QString 定期予約登録::DatesOf(const booking_write::Outcome& outcome, const std::vector<booking_write::Change>& changes) const
{
    QStringList lines;
    for (size_t index : outcome.concerned) {
        if (lines.size() == kListedInQuestion) {
            lines << QStringLiteral("ほか %1件").arg(outcome.concerned.size() - size_t(kListedInQuestion));
            break;
        }
        const records::Reservation& r = changes[index].result;
        lines << BookingText(r.date, r.start, r.end, r.abbrev);
    }
    return lines.join(QLatin1Char('\n'));
}

void 定期予約登録::登録_Click()
{
    if (!listed_) {
        msg::exclaim(QStringLiteral("日程作成で日程を作成してください。"), kTitle);
        return;
    }
    const series::Registration registration = *listed_;
    const std::vector<booking_write::Change> changes = series::BookingChanges(registration);
    if (changes.empty()) {
        msg::exclaim(QStringLiteral("登録する日程がありません。"), kTitle);
        return;
    }
    // A date a question's No leaves out is left out of the series, and the rest is booked.
    std::map<QDate, QString> leftOut;
    series::Registered registered;
    const qsizetype planned = qsizetype(registration.dates.size());
    Asking asking;
    asking.title = kTitle;
    asking.detail = [&](const booking_write::Outcome& asked) { return DatesOf(asked, changes); };
    asking.confirm = [&] {
        const qsizetype booking = qsizetype(changes.size() - leftOut.size());
        return msg::ask(QStringLiteral("定期予約を登録します。（登録 %1件／除外 %2件）").arg(booking).arg(planned - booking), kTitle);
    };
    asking.leaveOut = [&](const booking_write::Outcome& asked) {
        for (size_t index : asked.concerned)
            leftOut[changes[index].result.date] = series::LeftOutReason(asked.question);
    };
    asking.write = [&](const std::vector<booking_write::Change>& still, const std::vector<booking_write::Consent>& consents) {
        registered = series::Register(database(), settings(), registration, leftOut, still, consents);
        return registered.outcome;
    };
    const std::optional<booking_write::Outcome> outcome = WriteAsking(database(), settings(), changes, {}, asking);
    if (!outcome) {
        if (leftOut.size() == changes.size())
            msg::exclaim(QStringLiteral("登録する日程がありません。"), kTitle);
        return;
    }
    if (outcome->kind != booking_write::Outcome::Kind::Written) {
        msg::exclaim(Refusal(*outcome, changes[outcome->concerned.front()]) +
                         QStringLiteral("定期予約は登録されませんでした。日程を作成し直します。"),
                     kTitle);
        日程作成_Click();
        return;
    }
    outcome_.registered = true;
    msg::exclaim(QStringLiteral("定期予約を登録しました。（登録 %1件／除外 %2件）").arg(registered.booked).arg(registered.leftOut), kTitle);
    close();
}

void 定期予約登録::終了_Click()
{
    close();
}
