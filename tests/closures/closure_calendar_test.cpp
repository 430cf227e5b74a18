// The month calendar and the list of closure rows as the module draws them.

#include "closure_fixture.h"
#include "ui/flex_grid.h"
#include "views/closure_calendar.h"

namespace {

class ClosureCalendarTest : public ClosureTest {
protected:
    int draw(int mode, const QString& target, const QDate& month)
    {
        CalendarState state;
        state.Target = target;
        state.CalendarMonthStart = month;
        state.FiscalYearFirstDay = fiscalFirst;
        state.FiscalYearLastDay = fiscalLast;
        return Grid休業::DrawClosureCalendar(db(), mode, &calendar, &list, state);
    }
    // The calendar cell that shows the day of the month.
    std::pair<int, int> cellOf(int day) const
    {
        for (int row = 1; row < calendar.rows(); ++row) {
            for (int col = 0; col < calendar.cols(); ++col) {
                if (calendar.text(row, col) == QString::number(day))
                    return {row, col};
            }
        }
        return {0, 0};
    }
    // The colour of the day's number and what the mouse resting on it shows.
    std::pair<QColor, QString> dayShown(int day) const
    {
        const auto [row, col] = cellOf(day);
        return {calendar.cellForeColor(row, col), calendar.cellToolTip(row, col)};
    }
    QStringList listRow(int row) const
    {
        QStringList cells;
        for (int col = 0; col < Grid休業::ListColumns; ++col)
            cells << list.text(row, col);
        return cells;
    }

    // Top-level widgets: the fixture deletes them after each test.
    FlexGrid& calendar = *new FlexGrid;
    FlexGrid& list = *new FlexGrid;
    QDate fiscalFirst;
    QDate fiscalLast;
};

TEST_F(ClosureCalendarTest, AMonthStartingOnSaturdayFillsRowOneWithOneDayAndReachesRowSix)
{
    draw(Grid休業::IndividualClosures, "00001", QDate(2026, 8, 1)); // a Saturday
    ASSERT_EQ(calendar.rows(), 7);
    ASSERT_EQ(calendar.cols(), 7);
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(calendar.text(1, col), "") << col;
    EXPECT_EQ(calendar.text(1, 6), "1");
    EXPECT_EQ(calendar.text(2, 0), "2");
    EXPECT_EQ(calendar.text(6, 0), "30");
    EXPECT_EQ(calendar.text(6, 1), "31");
    EXPECT_EQ(calendar.text(6, 2), "");

    draw(Grid休業::IndividualClosures, "00001", QDate(2026, 5, 1)); // a Friday
    EXPECT_EQ(calendar.text(1, 5), "1");
    EXPECT_EQ(calendar.text(6, 0), "31");
    EXPECT_EQ(calendar.text(6, 6), "") << "no day of the earlier drawing is left";
}

TEST_F(ClosureCalendarTest, TheHeaderNamesTheWeekdaysOnLightYellow)
{
    draw(Grid休業::IndividualClosures, "00001", QDate(2026, 12, 1));
    const QStringList names = {"日", "月", "火", "水", "木", "金", "土"};
    for (int col = 0; col < 7; ++col) {
        EXPECT_EQ(calendar.text(0, col), names[col]);
        EXPECT_EQ(calendar.cellBackColor(0, col), colour(14));
        EXPECT_EQ(calendar.cellForeColor(0, col), colour(col == 0 ? 12 : col == 6 ? 9 : 0));
    }
    EXPECT_EQ(calendar.colWidth(0), 400);
}

TEST_F(ClosureCalendarTest, ACommonClosureKeptOpenByATargetIsBlueForItAndRedForOthers)
{
    const QDate day(2026, 12, 29); // a Tuesday in row 5
    addDay("00000", day, 1, "年末休業");
    addDay("00001", day, 0, "営業");
    addDay("00002", QDate(2026, 12, 30), 1, "点検");

    const int count = draw(Grid休業::IndividualClosures, "00001", QDate(2026, 12, 1));
    EXPECT_EQ(calendar.text(5, 2), "29");
    EXPECT_EQ(calendar.cellForeColor(5, 2), colour(1));
    EXPECT_EQ(calendar.cellForeColor(5, 3), colour(1)) << "another target's closure does not count";
    EXPECT_EQ(count, 2);
    EXPECT_EQ(listRow(1), (QStringList{"2026/12/29", "休", "共", "年末休業"}));
    EXPECT_EQ(listRow(2), (QStringList{"2026/12/29", "\u3000", "\u3000", "営業"}));
    EXPECT_EQ(listRow(3), (QStringList{"", "", "", ""}));

    draw(Grid休業::IndividualClosures, "00002", QDate(2026, 12, 1));
    EXPECT_EQ(calendar.cellForeColor(5, 2), colour(12));
    EXPECT_EQ(calendar.cellForeColor(5, 3), colour(12));
    EXPECT_EQ(Grid休業::LookUpDayFlag(db(), "00001", day), 0);
    EXPECT_EQ(Grid休業::LookUpDayFlag(db(), "00002", day), 1);
    EXPECT_EQ(Grid休業::LookUpDayFlag(db(), "00002", QDate(2026, 12, 28)), 0);
}

TEST_F(ClosureCalendarTest, HolidaysAreLightMagentaAndNamedOnHoverWhileAClosedOneStaysRed)
{
    addDay("00000", QDate(2026, 5, 5), 1, "休業");
    insert("祝日", {{"祝日_年月日", QDate(2026, 5, 6)}, {"祝日_名称", "振替休日"}, {"祝日_区分", 2}}); // taken away
    insert("祝日", {{"祝日_年月日", QDate(2026, 5, 15)}, {"祝日_名称", "市民の日"}, {"祝日_区分", 1}});
    draw(Grid休業::IndividualClosures, "00001", QDate(2026, 5, 1));
    EXPECT_EQ(dayShown(3), std::pair(colour(13), QString("憲法記念日")));
    EXPECT_EQ(dayShown(4), std::pair(colour(13), QString("みどりの日")));
    EXPECT_EQ(dayShown(5), std::pair(colour(12), QString("こどもの日")));
    EXPECT_EQ(dayShown(6), std::pair(colour(1), QString()));
    EXPECT_EQ(dayShown(7), std::pair(colour(1), QString()));
    EXPECT_EQ(dayShown(15), std::pair(colour(13), QString("市民の日")));

    draw(Grid休業::StatusInquiry, "00001", QDate(2029, 3, 1)); // the year after next, seen from 2026
    EXPECT_EQ(dayShown(20), std::pair(colour(13), QString("春分の日（予想）")));
    EXPECT_EQ(dayShown(15), std::pair(colour(1), QString())) << "no name is left from the earlier month";
}

TEST_F(ClosureCalendarTest, TodayIsFramedAndKeepsItsColour)
{
    insert("カレンダー", {{"カレ_番号", "00000"}, {"カレ_年月日", QDate(2026, 12, 8)}, {"カレ_休日FLG", 1}});
    draw(Grid休業::IndividualClosures, "00001", QDate(2026, 12, 1));
    ASSERT_EQ(calendar.text(2, 2), "8"); // the clock's today, a Tuesday
    EXPECT_TRUE(calendar.cellFramed(2, 2));
    EXPECT_EQ(calendar.cellForeColor(2, 2), colour(12));
    EXPECT_FALSE(calendar.cellFramed(2, 3));
    draw(Grid休業::IndividualClosures, "00001", QDate(2027, 1, 1));
    EXPECT_FALSE(calendar.cellFramed(2, 2)) << "no frame is left from the earlier month";
}

TEST_F(ClosureCalendarTest, ListHeadersAndWidths)
{
    draw(Grid休業::StatusInquiry, "00001", QDate(2026, 12, 1));
    EXPECT_EQ(list.rows(), 61);
    EXPECT_EQ(list.fixedRows(), 1);
    EXPECT_EQ(list.fixedCols(), 0);
    EXPECT_EQ(listRow(0), (QStringList{"日付", "区", "対", "登録名"}));
    EXPECT_EQ(list.colWidth(0), 1000);
    EXPECT_EQ(list.colWidth(3), 1950);
}

TEST_F(ClosureCalendarTest, ACommonRowOnTheFirstIsListedForEveryTargetAndOnlyThatMonthsRows)
{
    addDay("00000", QDate(2027, 1, 1), 1, "元日");
    addDay("00000", QDate(2026, 12, 31), 1, "大晦日");
    addDay("00003", QDate(2027, 1, 2), 1, "他の対象");
    addDay("00000", QDate(2028, 1, 5), 1, "翌年の一月");
    for (const QString target : {"00001", "00002", ""}) {
        EXPECT_EQ(draw(Grid休業::IndividualClosures, target, QDate(2027, 1, 1)), 1) << target.toStdString();
        EXPECT_EQ(listRow(1), (QStringList{"2027/01/01", "休", "共", "元日"}));
        EXPECT_EQ(calendar.cellForeColor(1, 5), colour(12)); // the 1st is a Friday
    }
}

TEST_F(ClosureCalendarTest, TheRegularHolidayListLeavesOutRowsOutsideTheFiscalYear)
{
    fiscalFirst = QDate(2026, 4, 15);
    fiscalLast = QDate(2027, 4, 14);
    for (const QDate& day : {QDate(2026, 4, 10), QDate(2026, 4, 20), QDate(2027, 4, 10), QDate(2027, 4, 20)})
        addDay("00000", day, 1, day.toString("MMdd"));

    EXPECT_EQ(draw(Grid休業::RegularHolidays, "00000", QDate(2026, 4, 1)), 1);
    EXPECT_EQ(list.text(1, 0), "2026/04/20");
    EXPECT_EQ(calendar.cellForeColor(2, 5), colour(12)) << "the calendar still colours the day before the year";
    EXPECT_EQ(draw(Grid休業::RegularHolidays, "00000", QDate(2027, 4, 1)), 1);
    EXPECT_EQ(list.text(1, 0), "2027/04/10");
    EXPECT_EQ(draw(Grid休業::IndividualClosures, "00000", QDate(2027, 4, 1)), 2) << "other modes list the whole month";
}

TEST_F(ClosureCalendarTest, TheListGrowsForAMonthWithMoreThanSixtyRows)
{
    for (int day = 1; day <= 31; ++day) {
        addDay("00000", QDate(2026, 12, day), 1, "共通");
        addDay("00001", QDate(2026, 12, day), 0, "個別");
    }
    EXPECT_EQ(draw(Grid休業::IndividualClosures, "00001", QDate(2026, 12, 1)), 62);
    EXPECT_EQ(list.rows(), 63);
    EXPECT_EQ(listRow(62), (QStringList{"2026/12/31", "\u3000", "\u3000", "個別"}));

    EXPECT_EQ(draw(Grid休業::IndividualClosures, "00001", QDate(2026, 11, 1)), 0);
    EXPECT_EQ(list.rows(), 61) << "the next drawing starts from the empty list";
    EXPECT_EQ(list.text(1, 0), "");
}

} // namespace
