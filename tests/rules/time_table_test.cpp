// The time table: which closure flag and which hours rows are in force for each column.

#include "base/input.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "store/store_error.h"
#include "support/fixture.h"

namespace {

class TimeTableTest : public DatabaseTest {
protected:
    void weekly(const QString& target, const QString& start, const QString& end, const QString& closed = "0")
    {
        insert("営業", {{"営業_番号", target}, {"営業_開始時間", start}, {"営業_終了時間", end}, {"営業_営業フラグ", closed}});
    }
    void daily(const QString& target, int kind, int day, const QString& start, const QString& end)
    {
        insert("日別", {{"日別_番号", target},
                        {"日別_区分", kind},
                        {"日別_日付", day},
                        {"日別_開始時間", start},
                        {"日別_終了時間", end},
                        {"日別_営業フラグ", "0"}});
    }
    void specific(const QString& target, const QDate& date, const QString& start, const QString& end)
    {
        insert("特定日",
               {{"特定_番号", target}, {"特定_日付", date}, {"特定_開始時間", start}, {"特定_終了時間", end}, {"特定_営業フラグ", "0"}});
    }
    void closure(const QString& target, const QDate& date, int flag)
    {
        insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", date}, {"カレ_休日FLG", flag}});
    }

    // The seven days from a date of one target (the inquiry by target).
    TimeTable sevenDays(const QDate& first, const QString& target = "00001")
    {
        時間TBL::TimeTableRequest request;
        request.TimeTableMode = 3;
        request.InquiryKind = 1;
        request.DailyHoursKind = settings.DailyHoursKind;
        request.CurrentTarget = target;
        request.CurrentTargetAbbrev = "会議室A";
        request.WorkingDate = first;
        return 時間TBL::BuildTimeTable(db(), request);
    }

    // Every target of the list on one date (the inquiry by day).
    TimeTable byDay(const QDate& day, const QStringList& targets, const QStringList& abbrevs)
    {
        時間TBL::TimeTableRequest request;
        request.TimeTableMode = 2;
        request.InquiryKind = 2;
        request.DailyHoursKind = settings.DailyHoursKind;
        request.SelectedDate = day;
        request.TargetList = targets;
        request.TargetAbbrevList = abbrevs;
        return 時間TBL::BuildTimeTable(db(), request);
    }

    static QStringList starts(const HoursList& rows)
    {
        QStringList texts;
        for (const HoursRow& row : rows)
            texts << input::timeText(row.start) + "-" + input::timeText(row.end) + (row.closed ? "休" : "");
        return texts;
    }
};

// 2026/12/06 is a Sunday.
const QDate kSunday(2026, 12, 6);

TEST_F(TimeTableTest, SevenDayColumnsStartAtTheWorkingDateForTheCurrentTarget)
{
    const TimeTable table = sevenDays(QDate(2026, 12, 8));
    ASSERT_EQ(table.ColumnCount(), 7);
    EXPECT_FALSE(table.TargetColumns);
    EXPECT_EQ(table.Columns[0].ColumnDate, QDate(2026, 12, 8));
    EXPECT_EQ(table.Columns[0].ColumnLabel, "3"); // Tuesday
    EXPECT_EQ(table.Columns[4].ColumnLabel, "7"); // Saturday
    EXPECT_EQ(table.Columns[5].ColumnLabel, "1"); // Sunday
    EXPECT_EQ(table.Columns[6].ColumnDate, QDate(2026, 12, 14));
    for (const TimeTableColumn& column : table.Columns) {
        EXPECT_EQ(column.Target, "00001");
        EXPECT_EQ(column.TargetAbbrev, "会議室A");
    }
}

TEST_F(TimeTableTest, WeekColumnsBeginOnTheFirstSundayFromTheWorkingDate)
{
    std::vector<TimeTableColumn> week = 時間TBL::FillWeekColumns(kSunday);
    EXPECT_EQ(week.front().ColumnDate, kSunday);
    EXPECT_EQ(week.front().ColumnLabel, "1");
    EXPECT_EQ(week.back().ColumnLabel, "7");

    week = 時間TBL::FillWeekColumns(kSunday.addDays(1)); // a Monday
    EXPECT_EQ(week.front().ColumnDate, kSunday.addDays(7));
    ASSERT_EQ(week.size(), 7u);
}

TEST_F(TimeTableTest, MonthColumnsFollowTheSystemDateNotTheWorkingDate)
{
    時間TBL::TimeTableRequest request;
    request.TimeTableMode = 1;
    request.HoursFormKind = 3;
    request.SystemDate = QDate(2028, 2, 20);
    request.WorkingDate = QDate(2026, 12, 8);
    TimeTable table = 時間TBL::BuildTimeTable(db(), request);
    ASSERT_EQ(table.ColumnCount(), 29); // leap year
    EXPECT_EQ(table.Columns[0].ColumnDate, QDate(2028, 2, 1));
    EXPECT_EQ(table.Columns[28].ColumnLabel, "29");

    EXPECT_EQ(時間TBL::FillMonthColumns(QDate(2027, 2, 3)).size(), 28u);
    EXPECT_EQ(時間TBL::FillMonthColumns(QDate(2027, 1, 31)).size(), 31u);

    // The weekly and daily-by-weekday forms show a week instead; daily hours by day of month a month.
    request.HoursFormKind = 2;
    EXPECT_EQ(時間TBL::BuildTimeTable(db(), request).ColumnCount(), 7);
    request.DailyHoursKind = 2;
    EXPECT_EQ(時間TBL::BuildTimeTable(db(), request).ColumnCount(), 29);
}

TEST_F(TimeTableTest, ATargetCalendarRowOverridesTheCommonOneBothWays)
{
    const QDate tuesday(2026, 12, 8);
    closure("00000", tuesday, 1);
    closure("00001", tuesday, 0);
    closure("00000", tuesday.addDays(1), 1);
    closure("00001", tuesday.addDays(2), 1);
    closure("00002", tuesday.addDays(3), 1); // another target's closure
    const TimeTable table = sevenDays(tuesday);
    EXPECT_EQ(table.Columns[0].CalendarFlag, 0); // opened by the target's own row
    EXPECT_EQ(table.Columns[1].CalendarFlag, 1); // closed for everybody
    EXPECT_EQ(table.Columns[2].CalendarFlag, 1); // closed for this target
    EXPECT_EQ(table.Columns[3].CalendarFlag, 0);
    EXPECT_EQ(table.Columns[4].CalendarFlag, 0);
}

TEST_F(TimeTableTest, WeeklyHoursOfTheTargetReplaceTheCommonWeekWholly)
{
    weekly("00000", "08:00", "12:00");
    weekly("00000", "12:00", "13:00", "1");
    weekly("00000", "13:00", "22:00");
    const TimeTable common = sevenDays(kSunday);
    EXPECT_EQ(starts(common.CommonRows), (QStringList{"08:00-12:00", "12:00-13:00休", "13:00-22:00"}));
    EXPECT_EQ(starts(時間TBL::HoursInForce(common, common.Columns[3])), starts(common.CommonRows));

    weekly("00001", "10:00", "20:00");
    weekly("00002", "07:00", "09:00");
    const TimeTable own = sevenDays(kSunday);
    EXPECT_EQ(starts(own.CommonRows), QStringList{"10:00-20:00"});
    EXPECT_EQ(own.Columns[3].HasOwnHours, 0);
}

TEST_F(TimeTableTest, DailyHoursByWeekdayApplyToEveryMatchingWeekday)
{
    weekly("00001", "09:00", "18:00");
    daily("00000", 1, 2, "10:00", "16:00"); // Mondays, for every target
    daily("00001", 1, 7, "11:00", "15:00"); // Saturdays of this target
    daily("00000", 1, 7, "08:00", "09:00"); // overridden by the target's own Saturday
    daily("00001", 2, 8, "06:00", "07:00"); // keyed by day of month: not in force by weekday
    const TimeTable table = sevenDays(kSunday);
    for (int i : {0, 2, 3, 4, 5})
        EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[size_t(i)])), QStringList{"09:00-18:00"}) << i;
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[1])), QStringList{"10:00-16:00"});
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[6])), QStringList{"11:00-15:00"});

    const TimeTable nextWeek = sevenDays(kSunday.addDays(7));
    EXPECT_EQ(starts(時間TBL::HoursInForce(nextWeek, nextWeek.Columns[1])), QStringList{"10:00-16:00"});
}

TEST_F(TimeTableTest, DailyHoursByDayOfMonthApplyToThatDayOnly)
{
    settings.DailyHoursKind = 2;
    daily("00001", 2, 8, "10:00", "12:00");
    daily("00001", 1, 3, "13:00", "14:00");     // keyed by weekday: not in force by day of month
    const TimeTable table = sevenDays(kSunday); // 12/6 .. 12/12
    EXPECT_EQ(table.Columns[2].HasOwnHours, 1);
    EXPECT_EQ(starts(table.Columns[2].OwnRows), QStringList{"10:00-12:00"});
    for (int i : {0, 1, 3, 4, 5, 6})
        EXPECT_EQ(table.Columns[size_t(i)].HasOwnHours, 0) << i;
}

TEST_F(TimeTableTest, SpecificDayHoursWinOverDailyHoursAndAClosureWinsOverBoth)
{
    daily("00001", 1, 3, "10:00", "16:00");
    specific("00001", QDate(2026, 12, 8), "12:00", "13:00");
    specific("00001", QDate(2026, 12, 9), "12:00", "13:00");
    specific("00002", QDate(2026, 12, 10), "12:00", "13:00");
    closure("00001", QDate(2026, 12, 9), 1);
    const TimeTable table = sevenDays(QDate(2026, 12, 8));
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[0])), QStringList{"12:00-13:00"});
    EXPECT_EQ(table.Columns[1].HasSpecificHours, 1);
    EXPECT_EQ(table.Columns[1].CalendarFlag, 1);
    EXPECT_EQ(table.Columns[2].HasSpecificHours, 0); // another target's specific day
}

// Specific hours and the calendar are read by date range: the last date is read as well, both
// for the last column of seven days and for the one date of the inquiry by day.
TEST_F(TimeTableTest, TheLastDateOfTheColumnsHasItsSpecificHoursAndClosure)
{
    const QDate last(2026, 12, 14);
    specific("00001", last, "10:00", "12:00");
    closure("00001", last, 1);
    const TimeTable week = sevenDays(last.addDays(-6));
    ASSERT_EQ(week.Columns[6].ColumnDate, last);
    EXPECT_EQ(starts(時間TBL::HoursInForce(week, week.Columns[6])), QStringList{"10:00-12:00"});
    EXPECT_EQ(week.Columns[6].CalendarFlag, 1);

    const TimeTable day = byDay(last, {"00001"}, {"会議室A"});
    ASSERT_EQ(day.ColumnCount(), 1);
    EXPECT_EQ(starts(時間TBL::HoursInForce(day, day.Columns[0])), QStringList{"10:00-12:00"});
    EXPECT_EQ(day.Columns[0].CalendarFlag, 1);
}

TEST_F(TimeTableTest, ByDayEveryTargetIsAColumnWithItsOwnHoursAndNothingIsCutOff)
{
    QStringList targets, abbrevs;
    for (int n = 1; n <= 40; ++n) {
        targets << QString::number(n).rightJustified(5, '0');
        abbrevs << QString("略%1").arg(n);
    }
    const QDate day(2026, 12, 8);
    weekly("00000", "09:00", "17:00");
    for (int h = 6; h < 18; ++h) // twelve rows for one target
        weekly("00002", QString("%1:00").arg(h, 2, 10, QChar('0')), QString("%1:30").arg(h, 2, 10, QChar('0')));
    daily("00000", 1, 3, "10:00", "11:00");
    daily("00003", 1, 3, "14:00", "15:00");
    weekly("00004", "08:00", "20:00");
    closure("00000", day, 1);
    closure("00040", day, 0);

    TimeTable table = byDay(day, targets, abbrevs);
    ASSERT_EQ(table.ColumnCount(), 40);
    EXPECT_TRUE(table.TargetColumns);
    EXPECT_EQ(table.Columns[39].Target, "00040");
    EXPECT_EQ(table.Columns[39].TargetAbbrev, "略40");
    EXPECT_EQ(table.Columns[39].ColumnDate, day);
    EXPECT_EQ(table.Columns[0].CalendarFlag, 1);
    EXPECT_EQ(table.Columns[39].CalendarFlag, 0);

    // The common week stays the common one; a target's own week applies to its column only.
    EXPECT_EQ(starts(table.CommonRows), QStringList{"09:00-17:00"});
    // A Tuesday: the common daily hours beat the target's weekly hours.
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[1])), QStringList{"10:00-11:00"});
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[2])), QStringList{"14:00-15:00"});

    settings.DailyHoursKind = 2; // no daily hours by day of month are stored
    table = byDay(day, targets, abbrevs);
    EXPECT_EQ(table.Columns[1].OwnRows.size(), 12u);
    EXPECT_EQ(input::timeText(table.Columns[1].OwnRows.back().start), "17:00");
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[3])), QStringList{"08:00-20:00"});
    EXPECT_EQ(starts(時間TBL::HoursInForce(table, table.Columns[5])), QStringList{"09:00-17:00"});
}

TEST_F(TimeTableTest, NothingStoredGivesOpenColumnsWithoutRows)
{
    const TimeTable table = sevenDays(kSunday);
    ASSERT_EQ(table.ColumnCount(), 7);
    for (const TimeTableColumn& column : table.Columns) {
        EXPECT_EQ(column.CalendarFlag, 0);
        EXPECT_TRUE(時間TBL::HoursInForce(table, column).empty());
    }
}

TEST_F(TimeTableTest, ABandWhoseTimeCannotBeReadStopsTheBuildOfItsTargetNamingItsRow)
{
    loosen("営業");
    weekly("00001", "09:00", "18:00");
    runSql("INSERT INTO 営業 VALUES ('00002', NULL, '12:00', '1', '')");
    // Another target's bands are not read for this one.
    EXPECT_EQ(starts(sevenDays(kSunday).CommonRows), QStringList{"09:00-18:00"});

    QString refusal;
    try {
        sevenDays(kSunday, "00002");
    } catch (const store::StoreError& e) {
        refusal = e.message();
    }
    EXPECT_EQ(refusal, "データベース「Kelvora.mdb」のテーブル「営業」のレコード（営業_番号「00002」、営業_開始時間「」）"
                       "の項目「営業_開始時間」が空です。");
}

// A booking covers closed time when a slot it covers holds no open time: before the first band,
// after the last one, a break, a closure day; a slot holding some open time is open.
TEST(DayHoursTest, ABookingCoversClosedTimeWhenOneOfItsSlotsHoldsNoOpenTime)
{
    const auto band = [](int fromHour, int fromMinute, int toHour, bool closed) {
        return HoursRow{{fromHour, fromMinute}, {toHour, 0}, closed, QString()};
    };
    const SlotTimes halfHours = 予約TBL::BuildSlotTimes(8, 20, 30);
    const auto covers = [&](const HoursList& bands, int from, int to) {
        return 時間TBL::DayHours{false, bands, halfHours}.coversClosedTime(from, to);
    };
    const HoursList withBreak{band(9, 30, 12, false), band(12, 0, 13, true), band(13, 0, 17, false)};
    EXPECT_TRUE(covers(withBreak, 9 * 60, 10 * 60));       // 9:00 is before opening at 9:30
    EXPECT_FALSE(covers(withBreak, 9 * 60 + 30, 12 * 60)); // up to the break
    EXPECT_TRUE(covers(withBreak, 11 * 60 + 30, 12 * 60 + 30));
    EXPECT_TRUE(covers(withBreak, 16 * 60 + 30, 17 * 60 + 30)); // after closing
    EXPECT_FALSE(covers(withBreak, 16 * 60 + 30, 17 * 60));
    // A day with only a closed band is closed only there; a day without bands is open.
    EXPECT_FALSE(covers({band(12, 0, 13, true)}, 10 * 60, 11 * 60));
    EXPECT_TRUE(covers({band(12, 0, 13, true)}, 12 * 60, 12 * 60 + 30));
    EXPECT_FALSE(covers({}, 8 * 60, 21 * 60));
    // A day-long slot holds open time; a closure day is closed whatever its bands.
    const SlotTimes wholeDay = 予約TBL::BuildSlotTimes(8, 20, 24 * 60);
    EXPECT_FALSE((時間TBL::DayHours{false, withBreak, wholeDay}.coversClosedTime(8 * 60, 21 * 60)));
    EXPECT_TRUE((時間TBL::DayHours{true, withBreak, halfHours}.coversClosedTime(10 * 60, 11 * 60)));
}

} // namespace
