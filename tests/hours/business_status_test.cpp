// The business-status grid: its layout for each unit and the closed time painted in each row.

#include "base/kinds.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "support/fixture.h"
#include "ui/flex_grid.h"
#include "ui/palette.h"
#include "views/business_status.h"

namespace {

class BusinessStatusTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        settings.DisplayStartHour = 8;
        settings.DisplayEndHour = 20;
        settings.UnitMinutes = 10;
    }

    void weekly(const QString& target, const QString& start, const QString& end, const QString& closed)
    {
        insert("営業", {{"営業_番号", target}, {"営業_開始時間", start}, {"営業_終了時間", end}, {"営業_営業フラグ", closed}});
    }

    // The seven days from 2026/12/08 (a Tuesday) of a target, laid out and painted.
    void showSevenDays(const QString& target = "00001")
    {
        時間TBL::TimeTableRequest request;
        request.TimeTableMode = int(TimeTableMode::ByTarget);
        request.InquiryKind = int(InquiryKind::ByTarget);
        request.CurrentTarget = target;
        request.WorkingDate = QDate(2026, 12, 8);
        show(request);
    }
    void show(const 時間TBL::TimeTableRequest& request)
    {
        table = 時間TBL::BuildTimeTable(db(), request);
        営業状色付::ShowBusinessStatus(&grid, table, 予約TBL::SlotTimesOf(settings));
    }

    // The slot cells of a grid row, as "hh:mm" of each slot painted closed.
    QStringList closedSlots(int row) const
    {
        const SlotTimes times = 予約TBL::SlotTimesOf(settings);
        QStringList texts;
        for (int slot = 0; slot < times.count(); ++slot) {
            if (grid.cellBackColor(row, SlotTimes::column(slot)) == ui::offHoursColour())
                texts << times.startText(slot);
        }
        return texts;
    }

    static QStringList range(int fromHour, int fromMinute, int toHour, int toMinute, int step = 10)
    {
        QStringList texts;
        for (int t = fromHour * 60 + fromMinute; t <= toHour * 60 + toMinute; t += step)
            texts << QString("%1:%2").arg(t / 60, 2, 10, QChar('0')).arg(t % 60, 2, 10, QChar('0'));
        return texts;
    }

    FlexGrid& grid = *new FlexGrid; // a window: the fixture deletes it
    TimeTable table;
};

TEST_F(BusinessStatusTest, TenMinuteSlotsGiveSixColumnsPerHourWithMergedHourLabels)
{
    showSevenDays();
    ASSERT_EQ(grid.cols(), 79); // 13 hours, 8:00 to 20:59
    EXPECT_EQ(grid.rows(), 9);
    EXPECT_EQ(grid.fixedRows(), 2);
    EXPECT_EQ(grid.fixedCols(), 1);
    EXPECT_EQ(grid.colWidth(0), 1200);
    EXPECT_EQ(grid.colWidth(1), 240);
    EXPECT_EQ(grid.colWidth(78), 240);
    EXPECT_EQ(grid.text(0, 1), "8");
    EXPECT_EQ(grid.text(0, 6), "8");
    EXPECT_EQ(grid.text(0, 7), "9");
    EXPECT_EQ(grid.text(0, 78), "20");
    EXPECT_EQ(grid.text(1, 1), "0");
    EXPECT_EQ(grid.text(1, 6), "50");
    EXPECT_EQ(grid.text(1, 78), "50");
    EXPECT_EQ(grid.text(2, 0), "12/8(火)");
    EXPECT_EQ(grid.text(6, 0), "12/12(土)");
    EXPECT_EQ(grid.text(8, 0), "12/14(月)");
    grid.setRow(2);
    grid.setCol(0);
    EXPECT_EQ(grid.cellAlignment(), FlexGrid::RightBottom);
    grid.setCol(40);
    EXPECT_EQ(grid.cellAlignment(), FlexGrid::CenterCenter);
}

TEST_F(BusinessStatusTest, OtherUnitsGiveOneColumnPerSlot)
{
    settings.UnitMinutes = 30;
    showSevenDays();
    EXPECT_EQ(grid.cols(), 13 * 2 + 1);
    EXPECT_EQ(grid.colWidth(1), 720); // an hour as wide as with ten-minute slots
    EXPECT_EQ(grid.text(0, 3), "9");
    EXPECT_EQ(grid.text(1, 4), "30");

    settings.UnitMinutes = 4 * 60;
    showSevenDays();
    ASSERT_EQ(grid.cols(), 5); // 8, 12, 16, 20
    EXPECT_EQ(grid.text(0, 4), "20");
    EXPECT_EQ(grid.text(1, 4), "0");

    settings.UnitMinutes = 24 * 60;
    showSevenDays();
    ASSERT_EQ(grid.cols(), 2);
    EXPECT_EQ(grid.text(0, 1), "8");
}

TEST_F(BusinessStatusTest, ClosedRowsAndTheTimeOutsideTheOpenRowsArePainted)
{
    weekly("00001", "08:00", "09:00", "1");
    weekly("00001", "09:00", "18:00", "0");
    weekly("00001", "18:00", "20:00", "1");
    showSevenDays();
    EXPECT_EQ(closedSlots(2), range(8, 0, 8, 50) + range(18, 0, 20, 50));
    EXPECT_EQ(closedSlots(8), closedSlots(2));
    EXPECT_TRUE(closedSlots(9).isEmpty()); // below the seven days
}

// Time after the day's only open band is closed like the time before it, on the grid and in the
// question a booking there asks, slot by slot.
TEST_F(BusinessStatusTest, TheGridPaintsWhatABookingIsAskedAboutAsClosedTime)
{
    weekly("00001", "09:30", "17:00", "0");
    showSevenDays();
    EXPECT_EQ(closedSlots(2), range(8, 0, 9, 20) + range(17, 0, 20, 50));

    const SlotTimes times = 予約TBL::SlotTimesOf(settings);
    for (int column = 0; column < table.ColumnCount(); ++column) {
        const 時間TBL::DayHours day = 時間TBL::DayHoursOf(table, table.Columns[size_t(column)], times);
        const QStringList painted = closedSlots(営業状色付::GridRowOf(column));
        for (int slot = 0; slot < times.count(); ++slot)
            EXPECT_EQ(day.coversClosedTime(times.start(slot), times.end(slot)), painted.contains(times.startText(slot)))
                << column << " " << times.startText(slot).toStdString();
    }
}

TEST_F(BusinessStatusTest, AClosedBandPaintsTheSlotsThatStartInsideIt)
{
    weekly("00001", "12:15", "13:00", "1");
    showSevenDays();
    EXPECT_EQ(closedSlots(3), range(12, 20, 12, 50));

    // The slot that starts at the band's end is open; with half hours only 12:30 starts inside.
    settings.UnitMinutes = 30;
    showSevenDays();
    EXPECT_EQ(closedSlots(3), QStringList{"12:30"});
}

TEST_F(BusinessStatusTest, ALongSlotIsPaintedOnlyWhenClosedForTheWholeOfIt)
{
    weekly("00001", "09:00", "19:00", "0");
    weekly("00001", "12:00", "13:00", "1");
    weekly("00001", "19:00", "21:00", "1");
    // Two hours from 8:00: 8-10 and 18-20 hold open time, 12-14 opens at 13:00, 20-21 is closed.
    settings.UnitMinutes = 2 * 60;
    showSevenDays();
    EXPECT_EQ(closedSlots(2), QStringList{"20:00"});

    settings.UnitMinutes = 24 * 60;
    showSevenDays();
    EXPECT_TRUE(closedSlots(2).isEmpty());

    // Half hours as ever: judged at their start, the hour before opening and both closed bands.
    settings.UnitMinutes = 30;
    showSevenDays();
    EXPECT_EQ(closedSlots(2), QStringList({"08:00", "08:30", "12:00", "12:30"}) + range(19, 0, 20, 30, 30));
}

TEST_F(BusinessStatusTest, AClosedDayIsPaintedWholeWhateverItsHours)
{
    weekly("00001", "09:00", "18:00", "0");
    insert("カレンダー", {{"カレ_番号", "00000"}, {"カレ_年月日", QDate(2026, 12, 9)}, {"カレ_休日FLG", 1}});
    showSevenDays();
    EXPECT_EQ(closedSlots(3), range(8, 0, 20, 50));
    EXPECT_EQ(closedSlots(2), range(8, 0, 8, 50) + range(18, 0, 20, 50));
    EXPECT_EQ(grid.cellBackColor(3, 0), grid.cellBackColor(2, 0)); // the label keeps its colour
}

TEST_F(BusinessStatusTest, RowsReachingOutsideTheShownHoursPaintOnlyCellsInsideTheGrid)
{
    weekly("00001", "06:00", "08:20", "1");
    weekly("00001", "20:30", "23:00", "1");
    showSevenDays();
    EXPECT_EQ(closedSlots(2), range(8, 0, 8, 10) + range(20, 30, 20, 50));

    // An open row before the first shown hour paints nothing before it.
    insert("営業", {{"営業_番号", "00002"}, {"営業_開始時間", "07:00"}, {"営業_終了時間", "22:00"}, {"営業_営業フラグ", "0"}});
    showSevenDays("00002");
    EXPECT_TRUE(closedSlots(2).isEmpty());
}

TEST_F(BusinessStatusTest, WithoutHoursARowStaysUnpainted)
{
    showSevenDays();
    for (int row = 2; row < 9; ++row)
        EXPECT_TRUE(closedSlots(row).isEmpty()) << row;
}

TEST_F(BusinessStatusTest, ByDayRowsAreTheTargetsShortNamesLeftAligned)
{
    時間TBL::TimeTableRequest request;
    request.TimeTableMode = int(TimeTableMode::ByDay);
    request.InquiryKind = int(InquiryKind::ByDay);
    request.SelectedDate = QDate(2026, 12, 8);
    for (int n = 1; n <= 12; ++n) {
        request.TargetList << QString::number(n).rightJustified(5, '0');
        request.TargetAbbrevList << QString("テニスコート%1").arg(n);
    }
    weekly("00002", "12:00", "13:00", "1");
    show(request);
    ASSERT_EQ(grid.rows(), 14);
    EXPECT_EQ(grid.text(2, 0), "テニスコート1");
    EXPECT_EQ(grid.text(13, 0), "テニスコート12");
    EXPECT_GT(grid.colWidth(0), 1200); // wide enough to tell the names apart
    grid.setRow(13);
    grid.setCol(0);
    EXPECT_EQ(grid.cellAlignment(), FlexGrid::LeftBottom);
    EXPECT_TRUE(closedSlots(2).isEmpty());
    EXPECT_EQ(closedSlots(3), range(12, 0, 12, 50));
    EXPECT_EQ(営業状色付::TimeTableColumnAt(table, 13), 11);
    EXPECT_EQ(営業状色付::TimeTableColumnAt(table, 14), std::nullopt);
    EXPECT_EQ(営業状色付::TimeTableColumnAt(table, 1), std::nullopt);
}

} // namespace
