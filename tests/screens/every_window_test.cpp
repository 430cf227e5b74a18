// Every window of the program, opened from the menu on the demo database as an operator opens it
// (nested windows through the windows that open them), on a 1366x768 screen: each must open and
// draw without a message, fit the screen and show its texts whole. A picture of each is saved in
// $KELVORA_SCREENSHOTS_DIR (scripts/screenshots.sh points it at docs/screenshots), otherwise in
// the test's scratch folder.

#include "app/first_start.h"
#include "app/menu.h"
#include "base/clock.h"
#include "closures/individual_closures_form.h"
#include "closures/national_holidays_form.h"
#include "closures/regular_holidays_form.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "hours/time_band_preview_form.h"
#include "maintenance/period_end_form.h"
#include "maintenance/warning_form.h"
#include "master/basic_info_form.h"
#include "master/master_settings_form.h"
#include "master/targets_form.h"
#include "records/cancellations.h"
#include "reservations/bulk_delete_form.h"
#include "reservations/cancellation_history_form.h"
#include "reservations/entry_form.h"
#include "reservations/reserver_form.h"
#include "reservations/reserver_inquiry_form.h"
#include "reservations/series_form.h"
#include "reservations/status_inquiry_form.h"
#include "reservations/time_inquiry_form.h"
#include "reservations/waiting_entry_form.h"
#include "reservations/waiting_list_form.h"
#include "sheets/occupancy_form.h"
#include "sheets/sheet_form.h"
#include "support/fixture.h"
#include "support/modal_script.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/palette.h"
#include "ui/work_progress.h"
#include "window_picture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QRadioButton>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <QThread>
#include <algorithm>

namespace {

class EveryWindowTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1366, 768))
            << "run on the desk screen: QT_QPA_PLATFORM=offscreen:configfile=tests/screens/desk_screen.json";
        // The demo data are dated around today, so the program runs on today's date.
        ASSERT_TRUE(QFile::remove("Kelvora.mdb"));
        ASSERT_EQ(QProcess::execute(KELVORA_DB_TOOL, {"demo", "Kelvora.mdb"}), 0);
        appclock::setFixedNow(QDateTime());
        menu = openMenu();
    }

    // Checks the window as drawn now and saves its picture.
    void picture(QWidget* window, const QString& name)
    {
        window->show();
        QApplication::processEvents();
        EXPECT_TRUE(messages().empty()) << name.toStdString() << " opened with: " << messageTexts().join(" / ").toStdString();
        const QStringList problems = problemsOf(window);
        EXPECT_TRUE(problems.isEmpty()) << name.toStdString() << ":\n  " << problems.join("\n  ").toStdString();
        const QString folder = qEnvironmentVariable("KELVORA_SCREENSHOTS_DIR", this->folder());
        EXPECT_TRUE(savePicture(window, folder, name)) << name.toStdString() << " drew nothing or was not saved";
        ++pictures;
    }

    void press(QWidget* window, const QString& name)
    {
        QPushButton* button = window->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << "no button " << name.toStdString();
        button->click();
    }

    void choose(QWidget* window, const QString& comboName, const QString& text)
    {
        auto* combo = window->findChild<QComboBox*>(comboName);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString() << " is not in " << comboName.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    // Clicks a day on the month calendar 日付, stepping back a month when it is not shown.
    void pickDay(QWidget* window, const QDate& date)
    {
        auto* calendar = window->findChild<FlexGrid*>("日付");
        if (window->findChild<QLineEdit*>("表示月")->text().toInt() != date.month())
            press(window, "前月");
        for (int row = 1; row < calendar->rows(); ++row) {
            for (int col = 0; col < calendar->cols(); ++col) {
                if (calendar->text(row, col) == QString::number(date.day()))
                    return calendar->clickCell(row, col);
            }
        }
        FAIL() << "day " << date.day() << " is not on the calendar";
    }

    // Sets master item 2 (how daily hours are keyed) through the master settings form.
    void setDailyHoursKind(int kind)
    {
        ModalScript script;
        script.form<マスター登>([kind](マスター登* form) {
            form->pickItem(2);
            form->findChild<QLineEdit*>("登録内容")->setText(QString::number(kind));
            form->確定_Click();
            form->close();
        });
        press(menu, "マスター登録");
        ASSERT_TRUE(script.finished());
        ASSERT_EQ(menu->settings().DailyHoursKind, kind);
        clearMessages();
    }

    // The first slot cell of the time inquiry for which `wanted` holds.
    void clickSlot(時間照会* inquiry, const std::function<bool(FlexGrid*, int, int)>& wanted)
    {
        auto* grid = inquiry->findChild<FlexGrid*>("時間帯");
        for (int row = grid->fixedRows(); row < grid->rows(); ++row) {
            for (int col = grid->fixedCols(); col < grid->cols(); ++col) {
                if (wanted(grid, row, col))
                    return grid->clickCell(row, col);
            }
        }
        FAIL() << "no such slot on the time inquiry";
    }
    // Every slot shows its count, 0 included; open time is white.
    static bool booked(FlexGrid* grid, int row, int col) { return grid->text(row, col).toInt() > 0; }
    static bool full(FlexGrid* grid, int row, int col) { return grid->cellBackColor(row, col) == ui::qbColor(12); }
    static bool free(FlexGrid* grid, int row, int col)
    {
        return grid->text(row, col) == "0" && grid->cellBackColor(row, col) == ui::qbColor(15);
    }

    // The time inquiry with the mouse resting on the chosen slot.
    void pictureWithToolTip(時間照会* inquiry, const QString& name)
    {
        QApplication::processEvents(); // the focus and activation a tooltip would hide on, first
        auto* grid = inquiry->findChild<FlexGrid*>("時間帯");
        const QRect cell = grid->cellRect(grid->row(), grid->col());
        QHelpEvent hover(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &hover);
        EXPECT_TRUE(QToolTip::isVisible());
        picture(inquiry, name);
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    }

    QDate monday() const
    {
        const QDate today = appclock::today();
        return today.addDays(1 - today.dayOfWeek());
    }

    // The status inquiry by target, on Monday of this week for the large room.
    QWidget* statusInquiryByTarget()
    {
        press(menu, "対象照会");
        QWidget* status = forms::find<予約状照会>();
        choose(status, "対象略称", "会議室B");
        pickDay(status, monday());
        return status;
    }

    QWidget* statusInquiryByDay()
    {
        press(menu, "日別照会");
        QWidget* status = forms::find<予約状照会>();
        pickDay(status, monday());
        return status;
    }

    メニュー* menu = nullptr;
    int pictures = 0;
};

TEST_F(EveryWindowTest, Menu)
{
    picture(menu, "menu");
}

TEST_F(EveryWindowTest, MasterSettingsAndBasicInformation)
{
    ModalScript script;
    script
        .form<マスター登>([this](マスター登* form) {
            form->pickItem(4);
            picture(form, "master_settings");
            form->close();
        })
        .form<基本登>([this](基本登* form) {
            picture(form, "basic_info");
            form->close();
        });
    press(menu, "マスター登録");
    press(menu, "基本情報");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(pictures, 2);
}

TEST_F(EveryWindowTest, Targets)
{
    press(menu, "予約設定登録");
    QWidget* targets = forms::find<対象登>();
    targets->findChild<FlexGrid*>("対象登録")->clickCell(2, 1);
    picture(targets, "targets");
}

TEST_F(EveryWindowTest, RegularHoursWithTheirPreview)
{
    press(menu, "営業時間登録");
    QWidget* hours = forms::find<営業時間登>();
    hours->findChild<FlexGrid*>("対象登録")->clickCell(1, 1);
    picture(hours, "business_hours");
    press(hours, "表示");
    picture(forms::find<時間帯表示>(), "time_band_preview");
}

TEST_F(EveryWindowTest, DailyHoursInBothCycles)
{
    press(menu, "日別営業時間登録");
    QWidget* hours = forms::find<営業時間登>();
    hours->findChild<FlexGrid*>("対象登録")->clickCell(1, 1);
    picture(hours, "daily_hours_by_weekday");

    setDailyHoursKind(2);
    press(menu, "日別営業時間登録");
    hours->findChild<FlexGrid*>("対象登録")->clickCell(1, 1);
    hours->findChild<QLineEdit*>("日付")->setText("15");
    press(hours, "日別表示");
    picture(hours, "daily_hours_by_day_of_month");
}

TEST_F(EveryWindowTest, SpecificDateHours)
{
    press(menu, "特定日営業時間登録");
    QWidget* hours = forms::find<特定時間登>();
    choose(hours, "対象略称", "テニスコート");
    hours->findChild<FlexGrid*>("登録日付")->clickCell(1, 0);
    picture(hours, "specific_hours");
}

TEST_F(EveryWindowTest, StatusInquiryAndTimeInquiryByTarget)
{
    QWidget* status = statusInquiryByTarget();
    picture(status, "status_inquiry_by_target");
    ModalScript script;
    script.form<時間照会>([this](時間照会* inquiry) {
        clickSlot(inquiry, booked);
        picture(inquiry, "time_inquiry_by_target");
        inquiry->close();
    });
    press(status, "照会");
    EXPECT_TRUE(script.finished());
}

TEST_F(EveryWindowTest, StatusInquiryAndTimeInquiryByDay)
{
    QWidget* status = statusInquiryByDay();
    picture(status, "status_inquiry_by_day");
    ModalScript script;
    script.form<時間照会>([this](時間照会* inquiry) {
        clickSlot(inquiry, booked);
        picture(inquiry, "time_inquiry_by_day");
        inquiry->close();
    });
    press(status, "照会");
    EXPECT_TRUE(script.finished());
}

TEST_F(EveryWindowTest, TimeInquiryTooltipAndMoveMode)
{
    QWidget* status = statusInquiryByTarget();
    ModalScript script;
    script.form<時間照会>([this](時間照会* inquiry) {
        clickSlot(inquiry, booked);
        pictureWithToolTip(inquiry, "time_inquiry_tooltip");
        inquiry->findChild<FlexGrid*>("予約一覧")->clickCell(1, 1);
        press(inquiry, "移動");
        picture(inquiry, "time_inquiry_move_mode");
        inquiry->close();
    });
    press(status, "照会");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(pictures, 2);
}

TEST_F(EveryWindowTest, EntryOfNewAndExistingReservations)
{
    QWidget* status = statusInquiryByTarget();
    ModalScript script;
    script
        .form<時間照会>([this](時間照会* inquiry) {
            clickSlot(inquiry, free);
            press(inquiry, "予約");
            clickSlot(inquiry, booked);
            inquiry->findChild<FlexGrid*>("予約一覧")->clickCell(1, 1);
            press(inquiry, "選択");
            inquiry->close();
        })
        .form<予約者登>([this](予約者登* entry) {
            picture(entry, "entry_new");
            entry->close();
        })
        .form<予約者登>([this](予約者登* entry) {
            picture(entry, "entry_existing");
            entry->close();
        });
    press(status, "照会");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(pictures, 2);
}

TEST_F(EveryWindowTest, SeriesMadeFromABookingAndShownInTheTimeInquiry)
{
    QWidget* status = statusInquiryByTarget();
    {
        ModalScript making;
        making
            .form<時間照会>([this](時間照会* inquiry) {
                clickSlot(inquiry, booked);
                inquiry->findChild<FlexGrid*>("予約一覧")->clickCell(1, 1);
                press(inquiry, "選択");
                inquiry->close();
            })
            .form<予約者登>([this](予約者登* entry) {
                press(entry, "定期予約");
                entry->close();
            })
            .form<定期予約登録>([this](定期予約登録* form) {
                press(form, "日程作成");
                picture(form, "series");
                press(form, "登録");
                EXPECT_TRUE(messageTexts().last().startsWith("定期予約を登録しました。")) << messageTexts().join(" / ").toStdString();
                clearMessages();
            });
        press(status, "照会");
        EXPECT_TRUE(making.finished());
    }

    ModalScript showing;
    showing.form<時間照会>([this](時間照会* inquiry) {
        clickSlot(inquiry, booked);
        QApplication::processEvents();
        auto* list = inquiry->findChild<FlexGrid*>("予約一覧");
        EXPECT_EQ(list->text(1, 5), "定");
        const QRect cell = list->cellRect(1, 5);
        QHelpEvent hover(QEvent::ToolTip, cell.center(), list->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list->viewport(), &hover);
        EXPECT_TRUE(QToolTip::isVisible());
        picture(inquiry, "time_inquiry_series");
        QToolTip::hideText();
        inquiry->close();
    });
    press(status, "照会");
    EXPECT_TRUE(showing.finished());
    EXPECT_EQ(pictures, 2);
}

// The full slot of the week (会議室B on Thursday) taken by a waiting customer before the week
// begins; the slot marked, then one of its bookings cancelled: the place is offered.
TEST_F(EveryWindowTest, WaitingListEntryAndOffer)
{
    setNow(QDateTime(monday(), QTime(8, 0)));
    QWidget* status = statusInquiryByTarget();
    ModalScript script;
    script
        .form<時間照会>([this](時間照会* inquiry) {
            clickSlot(inquiry, full);
            press(inquiry, "待ち登録");
            inquiry->close();
        })
        .form<キャンセル待ち登録>([this](キャンセル待ち登録* form) {
            form->findChild<QLineEdit*>("予約者カナ")->setText(QStringLiteral("タ"));
            form->findChild<QListWidget*>("予約者一覧")->setCurrentRow(0);
            form->予約者一覧_Click();
            form->findChild<QLineEdit*>("備考")->setText(QStringLiteral("午後ならいつでも可"));
            clearMessages();
            picture(form, "waiting_entry");
            press(form, "確定");
        })
        .form<時間照会>([this](時間照会* inquiry) {
            clickSlot(inquiry, full);
            clearMessages();
            pictureWithToolTip(inquiry, "time_inquiry_waiting");
            inquiry->findChild<FlexGrid*>("予約一覧")->clickCell(1, 1);
            press(inquiry, "削除");
            inquiry->close();
        })
        .form<キャンセル待ち一覧>([this](キャンセル待ち一覧* list) {
            list->findChild<FlexGrid*>("待ち一覧")->clickCell(1, 0);
            clearMessages();
            picture(list, "waiting_list");
            list->close();
        });
    press(status, "照会");
    press(status, "照会");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(pictures, 3);
}

TEST_F(EveryWindowTest, Reservers)
{
    press(menu, "予約者登録");
    auto* reservers = forms::find<予約者更新>();
    reservers->findChild<QListWidget*>("予約者一覧")->setCurrentRow(0);
    reservers->予約者一覧_Click();
    picture(reservers, "reservers");
}

TEST_F(EveryWindowTest, BulkDeletionPeriodEndAndReorganisation)
{
    press(menu, "予約一括削除");
    picture(forms::find<予約削除>(), "bulk_delete");
    press(menu, "期末削除");
    picture(forms::find<期末処理>(), "period_end");
    press(menu, "再編成");
    picture(forms::find<警告>(), "warning");
}

TEST_F(EveryWindowTest, DaySheets)
{
    press(menu, "予約一覧表");
    picture(forms::find<予約一覧表>(), "day_sheets");
}

TEST_F(EveryWindowTest, Occupancy)
{
    // The demo's bookings lie in this month: the chart of the rates, then the heat map.
    press(menu, "稼働状況");
    auto* form = forms::find<稼働状況>();
    const QString month = input::monthText(QDate::currentDate());
    form->findChild<QLineEdit*>("開始年月")->setText(month);
    form->findChild<QLineEdit*>("終了年月")->setText(month);
    press(form, "集計");
    picture(form, "occupancy");
    form->findChild<QRadioButton*>("曜日時間帯別")->click();
    picture(form, "occupancy_heat_map");
}

TEST_F(EveryWindowTest, CancellationHistory)
{
    // Three demo bookings cancelled, the last one chosen.
    const auto booked = rows("予約", "Key_予約", {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_予約者NO"});
    ASSERT_GE(booked.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const QStringList& b = booked[i];
        records::cancelReservation(db(), {b[0], *input::date(b[1]), *input::timeFromText(b[2]), b[3]}, records::CancelKind(int(i) + 1),
                                   i == 2 ? QStringLiteral("電話で連絡あり") : QString());
    }
    press(menu, "取消履歴");
    auto* history = forms::find<取消履歴>();
    history->findChild<FlexGrid*>("取消一覧")->clickCell(1, 0);
    picture(history, "cancellation_history");
}

TEST_F(EveryWindowTest, ReserverCard)
{
    // The first demo reserver, found by the end of the phone number, with their last booking
    // cancelled and their first one chosen.
    const auto booked = rows("予約", "Idx_予約者NO", {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_予約者NO"});
    ASSERT_GE(booked.size(), 3u);
    const QString who = booked.front()[3];
    const QStringList& last = *std::find_if(booked.rbegin(), booked.rend(), [&](const QStringList& b) { return b[3] == who; });
    records::cancelReservation(db(), {last[0], *input::date(last[1]), *input::timeFromText(last[2]), who}, records::CancelKind::Request,
                               QStringLiteral("電話で連絡あり"));
    press(menu, "予約者照会");
    auto* card = forms::find<予約者照会>();
    card->findChild<QLineEdit*>("検索")->setText(QStringLiteral("5601"));
    press(card, "検索開始");
    auto* chosen = card->findChild<FlexGrid*>(booked.front()[1] < input::dateText(appclock::today()) ? "過去予約一覧" : "予約一覧");
    ASSERT_GT(chosen->rows(), 1);
    chosen->clickCell(1, 0);
    picture(card, "reserver_card");
}

TEST_F(EveryWindowTest, FirstStart)
{
    FirstStartChoice choice;
    store::DeskDatabase where = store::deskDatabaseIn(folder());
    picture(new 初回起動(choice, where), "first_start");
}

TEST_F(EveryWindowTest, ProgressOfALongPieceOfWork)
{
    ui::WorkProgress progress(QStringLiteral("期末処理"), ui::WorkProgress::Stop::Allowed);
    const store::Progress report = progress.report(QStringLiteral("予約を削除しています"));
    report(1, 0);
    // The window shows once the work has run for a moment.
    QThread::msleep(500);
    report(123456, 0);
    QProgressDialog* dialog = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        dialog = dialog ? dialog : qobject_cast<QProgressDialog*>(window);
    ASSERT_NE(dialog, nullptr);
    picture(dialog, "progress");
}

TEST_F(EveryWindowTest, RegularHolidaysInBothCycles)
{
    press(menu, "定休日登");
    QWidget* holidays = forms::find<定休日登録>();
    picture(holidays, "regular_holidays_by_weekday");
    holidays->close();
    flushDeletes();

    setDailyHoursKind(2);
    press(menu, "定休日登");
    picture(forms::find<定休日登録>(), "regular_holidays_by_day_of_month");
}

TEST_F(EveryWindowTest, IndividualClosures)
{
    press(menu, "個別休業日登録");
    QWidget* closures = forms::find<個休業登録>();
    choose(closures, "対象略称", "会議室B");
    picture(closures, "individual_closures");
}

TEST_F(EveryWindowTest, AHolidayOnTheCalendarNamedOnHover)
{
    // May of next year: Golden Week, the 4th hovered.
    press(menu, "個別休業日登録");
    QWidget* closures = forms::find<個休業登録>();
    choose(closures, "対象略称", "会議室B");
    closures->findChild<QLineEdit*>("表示年")->setText(QString::number(appclock::today().year() + 1));
    closures->findChild<QLineEdit*>("表示月")->setText("5");
    press(closures, "表示");
    QApplication::processEvents();
    auto* calendar = closures->findChild<FlexGrid*>("日付");
    for (int row = 1; row < calendar->rows(); ++row) {
        for (int col = 0; col < calendar->cols(); ++col) {
            if (calendar->text(row, col) != "4")
                continue;
            const QPoint centre = calendar->cellRect(row, col).center();
            QHelpEvent hover(QEvent::ToolTip, centre, calendar->viewport()->mapToGlobal(centre));
            QApplication::sendEvent(calendar->viewport(), &hover);
        }
    }
    EXPECT_TRUE(QToolTip::isVisible());
    picture(closures, "holiday_on_calendar");
    QToolTip::hideText();
}

TEST_F(EveryWindowTest, NationalHolidaysOfThisYearAndOfAForecastYear)
{
    press(menu, "祝日登録");
    QWidget* holidays = forms::find<祝日登録>();
    holidays->findChild<FlexGrid*>("祝日一覧")->clickCell(5, 2);
    picture(holidays, "national_holidays");
    press(holidays, "翌年");
    press(holidays, "翌年");
    picture(holidays, "national_holidays_forecast");
}

} // namespace
