#include "maintenance/period_end_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/calendar.h"
#include "records/cancellations.h"
#include "records/waiting_list.h"
#include "records/hours.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "records/series.h"
#include "store/database.h"
#include "ui/busy_cursor.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/work_progress.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

namespace {

const QString kTitle = QStringLiteral("期末処理");
const QString kDefaultYearStart = QStringLiteral("04/01");

// The first day of the business year that holds `today`, for a year start "MM/DD"; nothing when
// the year start has no "/" or does not make a date. A day before this year's start, in the same
// month too, belongs to the business year that began last year.
std::optional<QDate> businessYearStart(const QString& yearStart, const QDate& today)
{
    if (!yearStart.contains(u'/'))
        return std::nullopt;
    const std::optional<QDate> thisYear = input::dateOfParts({QString::number(today.year()), yearStart});
    if (!thisYear || today >= *thisYear)
        return thisYear;
    return input::dateOfParts({QString::number(today.year() - 1), yearStart});
}

} // namespace

期末処理::期末処理() : Form(QStringLiteral("期末処理"), kTitle)
{
    取消日 = textBox(QStringLiteral("取消日"));
    取消日->setMaximumWidth(130);
    確定 = button(QStringLiteral("確定"), QStringLiteral("確定"));
    終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    auto* date = new QHBoxLayout;
    date->addWidget(label(QStringLiteral("取消日範囲")));
    date->addWidget(取消日);
    date->addWidget(label(QStringLiteral("取消範囲日以前のデータを削除します")));
    date->addStretch();

    QLabel* warning = label(QStringLiteral("一旦削除すると復元は出来ません"));
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);

    QBoxLayout* buttons = buttonRow({確定, 終了});

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(20, 20, 20, 16);
    page->setSpacing(12);
    page->addLayout(date);
    page->addWidget(warning);
    page->addWidget(label(QStringLiteral("日付を確認して下さい")));
    page->addSpacing(8);
    page->addLayout(buttons);

    ui::onLostFocus(取消日, [this] { 取消日_LostFocus(); });
    ui::onClick(確定, [this] { 確定_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 期末処理::Form_Load()
{
    check_.clear();
    lowerBound_ = QDate(1990, 1, 1);
    ProposeCutoffDate();
}

void 期末処理::ProposeCutoffDate()
{
    const Settings& s = settings();
    const QDate today = appclock::today();
    // A year start without "/" (or one that makes no date) is taken as the default, 1 April.
    const QDate start = businessYearStart(s.FiscalYearStart, today).value_or(*businessYearStart(kDefaultYearStart, today));
    取消日->setText(input::dateText(start.addMonths(-s.RetentionMonths)));
}

void 期末処理::CheckCutoffDate()
{
    check_.clear();
    const std::optional<QDate> typed = input::date(取消日->text());
    if (input::normalized(取消日->text()).isEmpty()) {
        check_.fail(取消日, QStringLiteral("取消日に入力してください"));
    } else if (!typed) {
        check_.fail(取消日, QStringLiteral("取消日に正しく入力してください"));
    } else {
        cutOffDate_ = *typed;
        取消日->setText(input::dateText(*typed));
        check_.pass(取消日);
    }
}

void 期末処理::取消日_LostFocus()
{
    CheckCutoffDate();
}

void 期末処理::確定_Click()
{
    CheckCutoffDate();
    if (check_.reportFailure(kTitle))
        return;
    if (!msg::ask(QStringLiteral("保持期限の過ぎたデータを削除します。"), kTitle))
        return;
    try {
        ui::BusyCursor busy;
        ui::WorkProgress progress(kTitle, ui::WorkProgress::Stop::Allowed);
        store::Database db = database();
        store::Transaction transaction(db);
        PurgeCalendar(db, progress.report(QStringLiteral("カレンダーを削除しています")));
        PurgeReservations(db, progress.report(QStringLiteral("予約を削除しています")));
        PurgeReservers(db, progress.report(QStringLiteral("予約者を削除しています")));
        PurgeSpecificDays(db, progress.report(QStringLiteral("特定日の営業時間を削除しています")));
        transaction.commit();
    } catch (const store::Cancelled&) {
        msg::exclaim(QStringLiteral("期末削除処理を中止しました。データは削除されていません。"), kTitle);
        return;
    }
    msg::plain(QStringLiteral("期末削除処理は終了しました"), kTitle);
}

void 期末処理::終了_Click()
{
    close();
}

void 期末処理::PurgeCalendar(const store::Database& db, const store::Progress& progress) const
{
    records::removeCalendarDaysBetween(db, lowerBound_, cutOffDate_, progress);
}

void 期末処理::PurgeReservations(const store::Database& db, const store::Progress& progress) const
{
    records::removeReservationsBetween(db, lowerBound_, cutOffDate_, progress);
    // The cancelled reservations of those dates go with them; the purge itself cancels nothing.
    records::removeCancellationsBetween(db, lowerBound_, cutOffDate_, progress);
    // So do the dates of series, and a series whose dates are all gone.
    records::removeSeriesDatesBetween(db, lowerBound_, cutOffDate_, progress);
    // So do the waiting lists of those days.
    records::removeWaitingEntriesBetween(db, lowerBound_, cutOffDate_, progress);
}

void 期末処理::PurgeReservers(const store::Database& db, const store::Progress& progress) const
{
    records::removeReserversLastBookedBetween(db, lowerBound_, cutOffDate_, progress);
}

void 期末処理::PurgeSpecificDays(const store::Database& db, const store::Progress& progress) const
{
    records::removeSpecificBandsBetween(db, lowerBound_, cutOffDate_, progress);
}
