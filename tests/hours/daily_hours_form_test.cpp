// The business-hours form in its daily kind: the weekday options, the typed day of the month,
// 日別表示, and the two cycles keeping their bands apart.

#include "hours_fixture.h"
#include "hours/business_hours_form.h"
#include "ui/forms.h"

#include <QGroupBox>

namespace {

class DailyHoursTest : public HoursTest {
protected:
    void SetUp() override
    {
        HoursTest::SetUp();
        addTarget("00001", "会議室A");
        addTarget("00002", "会議室B");
    }
    void open(int cycle)
    {
        if (form) {
            form->close();
            flushDeletes();
        }
        storeMasterItem(2, QString::number(cycle));
        menu->日別営業時間登録_Click();
        form = forms::find<営業時間登>();
        targets = control<FlexGrid>("対象登録");
    }
    void clickTarget(int row)
    {
        clearMessages();
        targets->clickCell(row, 0);
    }
    bool checked(const QString& option) const { return control<QRadioButton>(option)->isChecked(); }
    std::vector<QStringList> dailyRows() const
    {
        return rows("日別", "Key_日別", {"日別_番号", "日別_区分", "日別_日付", "日別_開始時間", "日別_終了時間"});
    }

    FlexGrid* targets = nullptr;
};

TEST_F(DailyHoursTest, TheWeekdayCycleShowsSevenOptions)
{
    open(1);
    EXPECT_EQ(form->windowTitle(), "曜日別営業時間登録");
    EXPECT_TRUE(control<QGroupBox>("曜日")->isVisible());
    EXPECT_FALSE(control<QGroupBox>("特定日")->isVisible());
    EXPECT_FALSE(control<QPushButton>("日別表示")->isVisible());
    const QStringList names = {"日曜", "月曜", "火曜", "水曜", "木曜", "金曜", "土曜"};
    const QStringList captions = {"日", "月", "火", "水", "木", "金", "土"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(control<QRadioButton>(names[i])->text(), captions[i]);
}

TEST_F(DailyHoursTest, AWeekdayBandIsStoredUnderItsWeekdayNumber)
{
    open(1);
    clickTarget(1);
    // No weekday bands yet: Sunday.
    EXPECT_TRUE(checked("日曜"));
    typeBand("08", "00", "09", "00");
    save();
    EXPECT_EQ(dailyRows(), (std::vector<QStringList>{{"00001", "1", "1", "08:00", "09:00"}}));

    choose("水曜");
    typeBand("09", "00", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "予約対象は更新(登録)されました。"}));
    EXPECT_EQ(dailyRows().back(), (QStringList{"00001", "1", "4", "09:00", "12:00"}));
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00"}));

    choose("木曜");
    EXPECT_TRUE(shownBands().isEmpty());
    choose("水曜");
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00"}));

    // The day is kept across targets.
    clickTarget(2);
    EXPECT_TRUE(checked("水曜"));
    EXPECT_TRUE(shownBands().isEmpty());
    typeBand("10", "00", "11", "00");
    save();
    EXPECT_EQ(dailyRows().back(), (QStringList{"00002", "1", "4", "10:00", "11:00"}));
}

TEST_F(DailyHoursTest, ATargetClickShowsTheFirstDayThatHasBands)
{
    addDaily("00002", 1, 6, "13:00", "17:00");
    addDaily("00002", 1, 7, "09:00", "12:00");
    open(1);
    clickTarget(2);
    EXPECT_TRUE(checked("金曜"));
    EXPECT_EQ(box("日付")->text(), "6");
    EXPECT_EQ(shownBands(), (QStringList{"13:00-17:00"}));
}

TEST_F(DailyHoursTest, TheDayOfTheMonthIsTypedAndChecked)
{
    open(2);
    EXPECT_EQ(form->windowTitle(), "日別営業時間登録");
    EXPECT_FALSE(control<QGroupBox>("曜日")->isVisible());
    EXPECT_TRUE(control<QGroupBox>("特定日")->isVisible());
    EXPECT_TRUE(control<QPushButton>("日別表示")->isVisible());
    clickTarget(1);
    typeBand("09", "00", "12", "00");
    for (const auto& [day, message] :
         {std::pair{"0", "日付に正しく(DD･2桁)入力してください"}, std::pair{"32", "日付に正しく(DD･2桁)入力してください"},
          std::pair{"a", "日付に正しく入力してください"}, std::pair{"", "日付に正しく入力してください"}}) {
        box("日付")->setText(day);
        save();
        EXPECT_EQ(messageTexts(), (QStringList{message})) << day;
        EXPECT_EQ(messages()[0].title, "時間帯登録");
        EXPECT_EQ(ui::textColourNumber(box("日付")), 12);
        EXPECT_EQ(form->firstInTabOrder(), box("日付"));
    }
    EXPECT_EQ(count("日別"), 0);

    // The day message comes first, then the time boxes are still checked.
    box("日付")->setText("40");
    typeBand("x", "00", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"日付に正しく(DD･2桁)入力してください"}));
    EXPECT_EQ(ui::textColourNumber(box("開始時")), 12);

    box("日付")->setText("３１");
    typeBand("09", "00", "12", "00");
    save();
    EXPECT_EQ(messageTexts().last(), "予約対象は更新(登録)されました。");
    EXPECT_EQ(ui::textColourNumber(box("日付")), 0);
    EXPECT_EQ(dailyRows(), (std::vector<QStringList>{{"00001", "2", "31", "09:00", "12:00"}}));
}

TEST_F(DailyHoursTest, 日別表示ShowsTheTypedDay)
{
    addDaily("00001", 2, 10, "09:00", "12:00");
    open(2);
    press("日別表示");
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を選択して下さい。"}));
    EXPECT_EQ(messages()[0].title, "時間帯登録");

    clickTarget(1);
    EXPECT_EQ(box("日付")->text(), "10");
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00"}));

    box("日付")->setText("15");
    press("日別表示");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(shownBands().isEmpty());
    EXPECT_EQ(box("日付")->text(), "15");
    typeBand("13", "00", "14", "00");
    save();
    EXPECT_EQ(dailyRows().back(), (QStringList{"00001", "2", "15", "13:00", "14:00"}));

    // A day that is no number leaves the grid on the day shown.
    clearMessages();
    box("日付")->setText("x");
    press("日別表示");
    EXPECT_EQ(messageTexts(), (QStringList{"日付に正しく入力してください"}));
    EXPECT_EQ(shownBands(), (QStringList{"13:00-14:00"}));
}

TEST_F(DailyHoursTest, TheTwoCyclesDoNotSeeEachOthersBands)
{
    addDaily("00001", 1, 3, "09:00", "12:00");
    addDaily("00001", 2, 3, "13:00", "17:00");

    open(1);
    clickTarget(1);
    EXPECT_TRUE(checked("火曜"));
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00"}));
    typeBand("13", "00", "17", "00");
    remove();
    EXPECT_EQ(messageTexts().last(), "指定時間は登録されていません。");

    open(2);
    clickTarget(1);
    EXPECT_EQ(box("日付")->text(), "3");
    EXPECT_EQ(shownBands(), (QStringList{"13:00-17:00"}));
    typeBand("09", "00", "12", "00");
    remove();
    EXPECT_EQ(messageTexts().last(), "指定時間は登録されていません。");
    EXPECT_EQ(count("日別"), 2);

    // The menu lays the open form out again when the cycle changed in the meantime.
    storeMasterItem(2, "1");
    menu->日別営業時間登録_Click();
    EXPECT_EQ(form->windowTitle(), "曜日別営業時間登録");
}

} // namespace
