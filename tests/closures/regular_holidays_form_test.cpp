// The regular holidays form: the fiscal year and its months, and the registration and deletion of
// holidays by weekday or by day of the month over the whole year.

#include "app/menu.h"
#include "closure_fixture.h"
#include "closures/individual_closures_form.h"
#include "closures/regular_holidays_form.h"
#include "ui/field_check.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class RegularHolidaysTest : public ClosureTest {
protected:
    定休日登録* openForm(int dailyHoursKind)
    {
        settings.DailyHoursKind = dailyHoursKind;
        form = open<定休日登録>();
        return form;
    }
    template <typename W> W* control(const QString& name) { return form->findChild<W*>(name); }
    QLineEdit* box(const QString& name) { return control<QLineEdit>(name); }
    FlexGrid* calendar() { return control<FlexGrid>("日付"); }
    FlexGrid* list() { return control<FlexGrid>("休業日"); }
    QString monthShown() { return control<QLabel>("表示月")->text(); }
    void press(const QString& name) { control<QPushButton>(name)->click(); }
    void showYear(const QString& year)
    {
        box("年度")->setText(year);
        form->年度_LostFocus();
    }
    // The dates of the common rows, in date order.
    QStringList commonDates()
    {
        QStringList dates;
        for (const QStringList& row : calendarRows())
            if (row[0] == "00000")
                dates << row[1];
        return dates;
    }

    定休日登録* form = nullptr;
};

TEST_F(RegularHolidaysTest, OpensOnThisFiscalYearWithTheFrameOfTheKindOfDailyHours)
{
    openForm(1);
    EXPECT_EQ(form->windowTitle(), "定休日登録");
    EXPECT_EQ(box("年度")->text(), "2026");
    EXPECT_EQ(box("開始日")->text(), "2026/04/01");
    EXPECT_EQ(box("終了日")->text(), "2027/03/31");
    EXPECT_EQ(monthShown(), "4月");
    EXPECT_EQ(calendar()->text(1, 3), "1"); // 2026/04/01 is a Wednesday
    EXPECT_TRUE(control<QGroupBox>("曜日")->isVisible());
    EXPECT_FALSE(control<QGroupBox>("特定日")->isVisible());
    EXPECT_FALSE(box("設定日")->isVisible());
    form->close();
    flushDeletes();

    openForm(2);
    EXPECT_FALSE(control<QGroupBox>("曜日")->isVisible());
    EXPECT_TRUE(control<QGroupBox>("特定日")->isVisible());
}

TEST_F(RegularHolidaysTest, SundaysOfTheYearUpToButNotIncludingItsLastDay)
{
    openForm(1);
    showYear("2029"); // 2029/04/01 and 2030/03/31 are Sundays
    control<QCheckBox>("日")->setChecked(true);
    box("休日名")->setText("定休日");
    press("確定");

    const QStringList dates = commonDates();
    ASSERT_EQ(dates.size(), 52);
    EXPECT_EQ(dates.first(), "2029/04/01");
    EXPECT_EQ(dates[1], "2029/04/08");
    EXPECT_EQ(dates.last(), "2030/03/24");
    EXPECT_EQ(calendarRows().front(), (QStringList{"00000", "2029/04/01", "1", "定休日"}));
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "曜日での定休日を登録･更新をしました。"}));
    EXPECT_EQ(messages().back().title, "定休日設定");
    EXPECT_EQ(monthShown(), "4月");
    EXPECT_EQ(list()->text(5, 0), "2029/04/29");
    EXPECT_EQ(calendar()->cellForeColor(1, 0), colour(12));
}

TEST_F(RegularHolidaysTest, RegisteringTwiceEditsTheSameRowsAndDeletingRemovesOnlyThem)
{
    addDay("00000", QDate(2026, 5, 5), 1, "こどもの日");   // a Tuesday
    addDay("00001", QDate(2026, 5, 3), 0, "対象の営業日"); // a Sunday
    openForm(1);
    control<QCheckBox>("日")->setChecked(true);
    control<QCheckBox>("土")->setChecked(true);
    press("確定");
    const int rowsAfterFirst = count("カレンダー");
    EXPECT_EQ(rowsAfterFirst, 2 + 104); // 52 Saturdays and 52 Sundays from 2026/04/01 to 2027/03/31

    control<QRadioButton>("勤務")->setChecked(true);
    box("休日名")->setText("営業");
    press("確定");
    EXPECT_EQ(count("カレンダー"), rowsAfterFirst);
    EXPECT_EQ(calendarRows()[1], (QStringList{"00000", "2026/04/05", "0", "営業"}));

    answer({false});
    press("削除");
    EXPECT_EQ(count("カレンダー"), rowsAfterFirst) << "No deletes nothing";
    press("削除");
    EXPECT_EQ(messageTexts().last(), "曜日での定休日を削除しました。");
    EXPECT_EQ(calendarRows(),
              (std::vector<QStringList>{{"00000", "2026/05/05", "1", "こどもの日"}, {"00001", "2026/05/03", "0", "対象の営業日"}}));
}

TEST_F(RegularHolidaysTest, TheHolidaysTickClosesEveryHolidayOfTheYearUnderItsOwnName)
{
    insert("祝日", {{"祝日_年月日", QDate(2026, 9, 22)}, {"祝日_名称", "国民の休日"}, {"祝日_区分", 2}}); // taken away
    openForm(1);
    EXPECT_EQ(control<QCheckBox>("祝日")->text(), "祝日を休業日にする");
    control<QCheckBox>("日")->setChecked(true);
    control<QCheckBox>("祝日")->setChecked(true);
    box("休日名")->setText("定休日");
    press("確定");
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "曜日と祝日での定休日を登録･更新をしました。"}));
    // 52 Sundays and the 19 holidays of the year, two of them on a Sunday, less the one taken away.
    EXPECT_EQ(count("カレンダー"), 52 + 19 - 2 - 1);
    const std::vector<QStringList> rows = calendarRows();
    const auto has = [&rows](const QStringList& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    EXPECT_TRUE(has({"00000", "2026/04/05", "1", "定休日"}));
    EXPECT_TRUE(has({"00000", "2026/05/03", "1", "憲法記念日"})) << "a holiday on a Sunday keeps its name";
    EXPECT_TRUE(has({"00000", "2027/03/22", "1", "振替休日"}));
    EXPECT_FALSE(has({"00000", "2026/09/22", "1", "国民の休日"}));

    // The holidays alone, deleted: the Sundays stay.
    control<QCheckBox>("日")->setChecked(false);
    press("削除");
    EXPECT_EQ(messageTexts().last(), "祝日での定休日を削除しました。");
    EXPECT_EQ(count("カレンダー"), 52 - 2);
}

TEST_F(RegularHolidaysTest, NoWeekdayTickedWritesNothing)
{
    openForm(1);
    press("確定");
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"曜日を１個は選択して下さい。", "曜日を１個は選択して下さい。"}));
    EXPECT_EQ(count("カレンダー"), 0);
}

TEST_F(RegularHolidaysTest, ADayOfTheMonthFallsInEveryMonthShortenedAfterAShortMonth)
{
    openForm(2);
    box("定休日付")->setText("15");
    press("確定");
    QStringList expected;
    for (int i = 0; i < 12; ++i)
        expected << QDate(2026, 4, 15).addMonths(i).toString("yyyy/MM/dd");
    EXPECT_EQ(commonDates(), expected);
    EXPECT_EQ(messageTexts().last(), "日付での定休日を登録･更新をしました。");

    press("削除");
    EXPECT_EQ(count("カレンダー"), 0);
    EXPECT_EQ(messageTexts().last(), "日付での定休日を削除しました。");

    // April has no 31st: the year starts on the 30th and keeps it, down to the 28th after February.
    box("定休日付")->setText("31");
    press("確定");
    EXPECT_EQ(commonDates(), (QStringList{"2026/04/30", "2026/05/30", "2026/06/30", "2026/07/30", "2026/08/30", "2026/09/30", "2026/10/30",
                                          "2026/11/30", "2026/12/30", "2027/01/30", "2027/02/28", "2027/03/28"}));
}

TEST_F(RegularHolidaysTest, AYearStartingAfterTheFirstShowsWholeMonthsAndWritesOnlyItsOwnDays)
{
    settings.FiscalYearStart = "04/15";
    openForm(2);
    EXPECT_EQ(box("開始日")->text(), "2026/04/15");
    EXPECT_EQ(box("終了日")->text(), "2027/04/14");
    EXPECT_EQ(calendar()->text(1, 3), "1") << "the first month is shown whole";

    box("定休日付")->setText("10");
    press("確定");
    const QStringList dates = commonDates();
    ASSERT_EQ(dates.size(), 12);
    EXPECT_EQ(dates.first(), "2026/05/10");
    EXPECT_EQ(dates.last(), "2027/04/10");

    for (int i = 0; i < 12; ++i)
        press("次月");
    EXPECT_EQ(monthShown(), "4月");
    EXPECT_EQ(list()->text(1, 0), "2027/04/10");
    EXPECT_EQ(messageTexts().last(), "日付での定休日を登録･更新をしました。");
    press("次月");
    EXPECT_EQ(messageTexts().last(), "年度の範囲を超えています");
}

TEST_F(RegularHolidaysTest, TheDayOfTheMonthIsChecked)
{
    openForm(2);
    for (const auto& [text, message] : std::vector<std::pair<QString, QString>>{{"", "日付に数字を入力してください"},
                                                                                {"十五", "日付に数字を入力してください"},
                                                                                {"0", "定休日付に正しい数字を入力してください"},
                                                                                {"32", "定休日付に正しい数字を入力してください"},
                                                                                {"1.5", "定休日付に正しい数字を入力してください"}}) {
        clearMessages();
        box("定休日付")->setText(text);
        form->定休日付_LostFocus();
        EXPECT_TRUE(messages().empty()) << "the message waits for the save";
        EXPECT_EQ(ui::textColourNumber(box("定休日付")), 12);
        press("確定");
        EXPECT_EQ(messageTexts(), QStringList{message}) << text.toStdString();
    }
    EXPECT_EQ(count("カレンダー"), 0);
}

TEST_F(RegularHolidaysTest, MonthSteppingStaysWithinTheFiscalYear)
{
    openForm(1);
    press("前月");
    EXPECT_EQ(messageTexts(), QStringList{"年度の範囲を超えています"});
    EXPECT_EQ(monthShown(), "4月");
    for (int i = 0; i < 11; ++i)
        press("次月");
    EXPECT_EQ(monthShown(), "3月");
    EXPECT_EQ(calendar()->text(1, 1), "1"); // 2027/03/01 is a Monday
    press("次月");
    EXPECT_EQ(messageTexts().size(), 2u);
    EXPECT_EQ(messageTexts().last(), "年度の範囲を超えています");
    EXPECT_EQ(monthShown(), "3月");
}

TEST_F(RegularHolidaysTest, AWrongYearIsRefusedAndKeepsTheYearShown)
{
    openForm(1);
    press("次月");
    showYear("2026"); // the same year keeps the month shown
    EXPECT_EQ(monthShown(), "5月");
    showYear("来年");
    EXPECT_EQ(messageTexts(), QStringList{"年度に正しい数字を入力してください"});
    EXPECT_EQ(ui::textColourNumber(box("年度")), 12);
    EXPECT_EQ(box("開始日")->text(), "2026/04/01");
    control<QCheckBox>("月")->setChecked(true);
    press("確定");
    EXPECT_EQ(messageTexts().last(), "年度に正しい数字を入力してください");
    EXPECT_EQ(count("カレンダー"), 0);

    showYear("2027");
    EXPECT_EQ(ui::textColourNumber(box("年度")), 0);
    EXPECT_EQ(box("開始日")->text(), "2027/04/01");
    EXPECT_EQ(box("終了日")->text(), "2028/03/31");
    EXPECT_EQ(monthShown(), "4月");
}

TEST_F(RegularHolidaysTest, AClickedDayFillsTheDayOfMonthAndTheCommonName)
{
    addDay("00000", QDate(2026, 4, 29), 1, "昭和の日");
    openForm(2);
    calendar()->clickCell(5, 3); // Wednesday 2026/04/29
    EXPECT_EQ(box("定休日付")->text(), "29");
    EXPECT_EQ(box("設定日")->text(), "2026/04/29");
    EXPECT_EQ(box("休日名")->text(), "昭和の日");
    EXPECT_EQ(list()->cellBackColor(1, 0), colour(10));
}

TEST_F(RegularHolidaysTest, WritesTheCommonCalendarWhateverTargetAnotherFormChose)
{
    addTarget("00001", "会議室A");
    openForm(2);
    個休業登録::openFor(desk(), {"00001", "会議室Aの名称", "会議室A", QString()});
    forms::find<個休業登録>()->findChild<QPushButton*>("次月")->click(); // another form draws another month

    calendar()->clickCell(2, 0); // Sunday 2026/04/05 in this form's month
    EXPECT_EQ(box("設定日")->text(), "2026/04/05");
    box("定休日付")->setText("5");
    press("確定");
    EXPECT_EQ(commonDates().size(), 12);
    EXPECT_EQ(count("カレンダー"), 12);
}

TEST_F(RegularHolidaysTest, TheMenuOpensTheFormOnce)
{
    メニュー* menu = openMenu();
    menu->定休日登_Click();
    auto* first = forms::find<定休日登録>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    menu->定休日登_Click();
    EXPECT_EQ(forms::find<定休日登録>(), first);
}

} // namespace
