// The business-status preview opened by the hours forms: what it shows, that it follows what is
// saved, and closing it.

#include "base/kinds.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "hours/time_band_preview_form.h"
#include "hours_fixture.h"
#include "rules/slot_counts.h"
#include "ui/forms.h"

#include <QKeyEvent>
#include <QTest>

namespace {

class TimeBandPreviewTest : public HoursTest {
protected:
    void SetUp() override
    {
        HoursTest::SetUp();
        addTarget("00001", "会議室A");
        addTarget("00002", "会議室B");
    }
    void openRegular()
    {
        menu->営業時間登録_Click();
        form = forms::find<営業時間登>();
    }
    // The specific-day hours form, with a target chosen.
    void openSpecific(const QString& abbrev)
    {
        menu->特定日営業時間登録_Click();
        form = forms::find<特定時間登>();
        pickTarget(abbrev);
    }
    時間帯表示* preview() const { return forms::find<時間帯表示>(); }
    FlexGrid* previewGrid() const { return preview()->findChild<FlexGrid*>("時間帯"); }
    // Whether the slot starting at hh:mm is painted closed in a preview row.
    bool closedAt(int row, int hour, int minute) const
    {
        const SlotTimes times = 予約TBL::SlotTimesOf(settings);
        const int slot = times.firstStartingFrom(hour * 60 + minute);
        return previewGrid()->cellBackColor(row, SlotTimes::column(slot)) == ui::offHoursColour();
    }
};

TEST_F(TimeBandPreviewTest, ShowsTheWeekOfTheChosenTargetWithItsClosedTime)
{
    openRegular();
    form->findChild<FlexGrid*>("対象登録")->clickCell(1, 0);
    typeBand("09", "00", "12", "00");
    save();
    typeBand("13", "00", "18", "00");
    save();
    typeBand("12", "00", "13", "00");
    choose("休日");
    save();
    EXPECT_EQ(messageTexts().last(), "予約対象は更新(登録)されました。");
    press("表示");

    ASSERT_NE(preview(), nullptr);
    EXPECT_TRUE(preview()->isVisible());
    EXPECT_EQ(preview()->windowTitle(), "時間帯表示");
    EXPECT_EQ(preview()->findChild<QLineEdit*>("対象略称名")->text(), "会議室A");
    // The week from the Sunday after the working date (a Tuesday).
    EXPECT_EQ(previewGrid()->text(2, 0), "12/13(日)");
    EXPECT_EQ(previewGrid()->text(8, 0), "12/19(土)");
    for (int row = 2; row <= 8; ++row) {
        EXPECT_TRUE(closedAt(row, 8, 30)) << row;
        EXPECT_FALSE(closedAt(row, 9, 0)) << row;
        EXPECT_TRUE(closedAt(row, 12, 0)) << row;
        EXPECT_TRUE(closedAt(row, 12, 30)) << row;
        EXPECT_FALSE(closedAt(row, 13, 0)) << row;
    }

    // After the last open band the day is closed; an open preview follows what is saved and deleted.
    EXPECT_TRUE(closedAt(2, 18, 30));
    typeBand("18", "00", "19", "00");
    choose("営業");
    save();
    EXPECT_FALSE(closedAt(2, 18, 30));
    remove();
    EXPECT_TRUE(closedAt(2, 18, 30));
}

TEST_F(TimeBandPreviewTest, OpeningItAgainShowsTheNewTarget)
{
    addSpecific("00002", QDate(2026, 12, 24), "10:00", "15:00");
    openRegular();
    form->findChild<FlexGrid*>("対象登録")->clickCell(1, 0);
    press("表示");
    時間帯表示* first = preview();

    openSpecific("会議室B");
    press("表示");
    EXPECT_EQ(preview(), first);
    EXPECT_EQ(preview()->findChild<QLineEdit*>("対象略称名")->text(), "会議室B");
    // The days of the month; the 24th opens at ten.
    EXPECT_EQ(previewGrid()->text(25, 0), "12/24(木)");
    EXPECT_TRUE(closedAt(25, 9, 30));
    EXPECT_FALSE(closedAt(25, 10, 0));
    EXPECT_FALSE(closedAt(24, 9, 30));
}

// A date whose bands were stored afternoon first is listed and painted in time order: the
// morning band opens the day, so only the hour before nine is closed time.
TEST_F(TimeBandPreviewTest, BandsStoredAfternoonFirstAreListedAndPaintedInTimeOrder)
{
    addSpecific("00001", QDate(2026, 12, 24), "13:00", "17:00");
    addSpecific("00001", QDate(2026, 12, 24), "09:00", "12:00");
    openSpecific("会議室A");
    form->findChild<FlexGrid*>("登録日付")->clickCell(1, 0);
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00", "13:00-17:00"}));
    press("表示");
    ASSERT_EQ(previewGrid()->text(25, 0), "12/24(木)");
    EXPECT_TRUE(closedAt(25, 8, 30));
    EXPECT_FALSE(closedAt(25, 9, 0));
    EXPECT_FALSE(closedAt(25, 11, 30));
    EXPECT_FALSE(closedAt(25, 13, 0));
}

TEST_F(TimeBandPreviewTest, ClosingAsksFirst)
{
    時間TBL::TimeTableRequest request;
    request.TimeTableMode = int(TimeTableMode::HoursEntry);
    request.HoursFormKind = int(records::HoursKind::Regular);
    request.CurrentTargetAbbrev = "会議室A";
    request.WorkingDate = QDate(2026, 12, 8);
    時間帯表示* shown = open<時間帯表示>(request);
    ASSERT_NE(shown, nullptr);
    answer({false});
    shown->findChild<QPushButton*>("終了")->click();
    EXPECT_EQ(messageTexts(), (QStringList{"時間帯の表示を終了します"}));
    EXPECT_TRUE(messages()[0].question);
    EXPECT_TRUE(shown->isVisible());

    answer({false});
    QTest::keyClick(shown, Qt::Key_Escape);
    EXPECT_EQ(messageTexts().size(), 2);
    EXPECT_TRUE(shown->isVisible());

    answer({true});
    shown->findChild<QPushButton*>("終了")->click();
    EXPECT_FALSE(shown->isVisible());
}

} // namespace
