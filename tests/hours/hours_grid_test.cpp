// The list of stored bands: the row layout, when it is filled, the first overlap, the first day
// of the daily cycle, and targets with more bands than the grid has rows.

#include "hours_fixture.h"
#include "views/hours_grid.h"

namespace {

class HoursGridTest : public HoursTest {
protected:
    void SetUp() override
    {
        HoursTest::SetUp();
        grid.setRows(101);
        grid.setCols(5);
        grid.setFixedRows(1);
    }
    // The bands of a kind (daily ones of the weekday cycle) of a target.
    Grid時間帯::HoursGridFill fill(records::HoursKind kind, const QString& target)
    {
        key = {kind, target, 1, key.day, QDate()};
        return Grid時間帯::FillHoursGrid(db(), &grid, key);
    }
    QStringList column(int col) const
    {
        QStringList texts;
        for (int row = 1; row < grid.rows() && !grid.text(row, 0).isEmpty(); ++row)
            texts << grid.text(row, col);
        return texts;
    }

    FlexGrid& grid = *new FlexGrid; // a window: the fixture deletes it
    records::HoursKey key;
};

TEST_F(HoursGridTest, RegularBandsOfTheTargetInStartOrder)
{
    addRegular("00001", "13:00", "18:00", "0", "午後");
    addRegular("00001", "09:00", "12:00", "0", "午前");
    addRegular("00001", "12:00", "13:00", "1", "昼休み");
    addRegular("00002", "10:00", "11:00");
    addRegular("00000", "08:00", "20:00");

    const Grid時間帯::HoursGridFill result = fill(records::HoursKind::Regular, "00001");
    EXPECT_EQ(result.LastRow, 3);
    EXPECT_EQ(result.OverlapFlag, 0);
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(1), (QStringList{"09:00", "12:00", "13:00"}));
    EXPECT_EQ(column(2), (QStringList{"12:00", "13:00", "18:00"}));
    EXPECT_EQ(column(3), (QStringList{"", "休", ""}));
    EXPECT_EQ(column(4), (QStringList{"午前", "昼休み", "午後"}));
    grid.setRow(1);
    grid.setCol(1);
    EXPECT_EQ(grid.cellAlignment(), FlexGrid::RightBottom);
    grid.setCol(4);
    EXPECT_EQ(grid.cellAlignment(), FlexGrid::LeftCenter);
}

TEST_F(HoursGridTest, ATargetWithoutBandsLeavesTheGridAlone)
{
    grid.setTextMatrix(1, 1, "前のまま");
    const Grid時間帯::HoursGridFill result = fill(records::HoursKind::Regular, "00001");
    EXPECT_EQ(result.LastRow, 0);
    EXPECT_EQ(result.OverlapFlag, 0);
    EXPECT_EQ(grid.text(1, 1), "前のまま");
}

TEST_F(HoursGridTest, TheFirstBandStartingBeforeTheOneAboveEndsIsReported)
{
    // A gap and touching bands are no overlap.
    addRegular("00001", "09:00", "12:00");
    addRegular("00001", "13:00", "18:00");
    addRegular("00002", "09:00", "12:00");
    addRegular("00002", "12:00", "13:00");
    EXPECT_EQ(fill(records::HoursKind::Regular, "00001").OverlapFlag, 0);
    EXPECT_EQ(fill(records::HoursKind::Regular, "00002").OverlapFlag, 0);

    addRegular("00003", "09:00", "12:00");
    addRegular("00003", "11:00", "13:00");
    addRegular("00003", "12:30", "14:00");
    const Grid時間帯::HoursGridFill result = fill(records::HoursKind::Regular, "00003");
    EXPECT_EQ(result.OverlapFlag, 1);
    EXPECT_EQ(result.OverlapRow, 2);
    EXPECT_EQ(result.LastRow, 3);

    // A band ending at the end of the day is later than every start.
    addRegular("00004", "08:00", "24:00");
    addRegular("00004", "23:00", "23:30");
    EXPECT_EQ(fill(records::HoursKind::Regular, "00004").OverlapRow, 2);
}

TEST_F(HoursGridTest, DayZeroBecomesTheFirstDayWithBandsOfTheTarget)
{
    addDaily("00001", 1, 5, "09:00", "12:00");
    addDaily("00001", 1, 6, "10:00", "11:00");
    addDaily("00002", 1, 2, "13:00", "14:00");
    fill(records::HoursKind::Daily, "00001");
    EXPECT_EQ(key.day, 5);
    EXPECT_EQ(column(1), (QStringList{"09:00"}));

    // Another target's bands, or another cycle's, name no day of this target.
    key.day = 0;
    addDaily("00000", 2, 7, "09:00", "10:00");
    EXPECT_EQ(fill(records::HoursKind::Daily, "00000").LastRow, 0);
    EXPECT_EQ(key.day, 0);
}

TEST_F(HoursGridTest, MoreBandsThanRowsMakeTheGridGrow)
{
    {
        store::Database database = db();
        store::Transaction tx(database);
        for (int minute = 0; minute < 120; ++minute) {
            const QString start = QString("%1:%2").arg(8 + minute / 60, 2, 10, QChar('0')).arg(minute % 60, 2, 10, QChar('0'));
            addRegular("00001", start, start);
        }
        tx.commit();
    }
    const Grid時間帯::HoursGridFill result = fill(records::HoursKind::Regular, "00001");
    EXPECT_EQ(result.LastRow, 120);
    EXPECT_EQ(grid.rows(), 121);
    EXPECT_EQ(grid.text(120, 0), "120");
    EXPECT_EQ(grid.text(120, 1), "09:59");
}

} // namespace
