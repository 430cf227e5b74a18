// Slots of a day for every unit the basic information accepts, and reservation counts per slot.

#include "rules/slot_counts.h"
#include "store/store_error.h"
#include "support/fixture.h"

namespace {

using 予約TBL::BuildSlotTimes;

std::vector<int> ints(std::initializer_list<int> values)
{
    return values;
}

QStringList startTexts(const SlotTimes& times)
{
    QStringList texts;
    for (int slot = 0; slot < times.count(); ++slot)
        texts << times.startText(slot) + "-" + times.endText(slot);
    return texts;
}

TEST(SlotTimesTest, MinuteUnitsSplitEveryShownHour)
{
    const SlotTimes twenty = BuildSlotTimes(9, 12, 20);
    EXPECT_EQ(twenty.SlotHours, ints({9, 10, 11, 12}));
    EXPECT_EQ(twenty.SlotMinutes, ints({0, 20, 40}));
    EXPECT_EQ(twenty.count(), 12);
    EXPECT_EQ(startTexts(twenty).back(), "12:40-13:00");

    EXPECT_EQ(BuildSlotTimes(8, 20, 10).SlotMinutes, ints({0, 10, 20, 30, 40, 50}));
    EXPECT_EQ(BuildSlotTimes(8, 20, 10).count(), 13 * 6);
    EXPECT_EQ(BuildSlotTimes(8, 20, 15).SlotMinutes, ints({0, 15, 30, 45}));
    EXPECT_EQ(BuildSlotTimes(8, 20, 30).SlotMinutes, ints({0, 30}));
}

TEST(SlotTimesTest, TheShownHoursNeverRunPastElevenAtNight)
{
    const SlotTimes late = BuildSlotTimes(8, 24, 30);
    EXPECT_EQ(late.SlotHours.front(), 8);
    EXPECT_EQ(late.SlotHours.back(), 23);
    EXPECT_EQ(late.SlotHours.size(), 16u);
    EXPECT_EQ(late.endText(late.count() - 1), "24:00");

    // An end before the start shows the start hour alone; hours outside the day are brought in.
    EXPECT_EQ(BuildSlotTimes(10, 9, 30).SlotHours, ints({10}));
    EXPECT_EQ(BuildSlotTimes(-3, 2, 60).SlotHours, ints({0, 1, 2}));
}

TEST(SlotTimesTest, HourAndDayUnitsGiveOneSlotPerUnitEndingAtTheLastShownHour)
{
    const SlotTimes threeHours = BuildSlotTimes(8, 20, 3 * 60);
    EXPECT_EQ(threeHours.SlotHours, ints({8, 11, 14, 17, 20}));
    EXPECT_EQ(threeHours.SlotMinutes, ints({0}));
    EXPECT_EQ(startTexts(threeHours), (QStringList{"08:00-11:00", "11:00-14:00", "14:00-17:00", "17:00-20:00", "20:00-21:00"}));

    const SlotTimes day = BuildSlotTimes(8, 24, 24 * 60);
    EXPECT_EQ(startTexts(day), QStringList{"08:00-24:00"});
}

TEST(SlotTimesTest, GridColumnsAndSlotsMapBothWays)
{
    const SlotTimes quarter = BuildSlotTimes(8, 20, 15);
    EXPECT_EQ(SlotTimes::column(quarter.slot(0, 0)), 1);
    EXPECT_EQ(SlotTimes::column(quarter.slot(2, 3)), 2 * 4 + 3 + 1);
    EXPECT_EQ(quarter.startText(quarter.slot(2, 3)), "10:45");
    EXPECT_EQ(quarter.slotAtColumn(12), quarter.slot(2, 3));
    EXPECT_EQ(quarter.slotAtColumn(0), std::nullopt);
    EXPECT_EQ(quarter.slotAtColumn(quarter.count() + 1), std::nullopt);
    EXPECT_EQ(quarter.slotAtColumn(quarter.count()), quarter.count() - 1);
}

TEST(SlotTimesTest, TheUnitComesFromTheKindAndTheSettingOfTheBasicRecord)
{
    using records::UnitKind;
    using 予約TBL::UnitMinutesFor;
    for (int minutes : {10, 15, 20, 30})
        EXPECT_EQ(UnitMinutesFor(UnitKind::Minutes, minutes), minutes);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Hours, 1), 60);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Hours, 24), 24 * 60);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Day, 1), 24 * 60);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Day, 0), 24 * 60);

    // Lengths no grid can be made of fall back to thirty minutes.
    EXPECT_EQ(UnitMinutesFor(UnitKind::Minutes, 25), 30);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Minutes, 0), 30);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Hours, 0), 30);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Hours, 25), 30);
    EXPECT_EQ(UnitMinutesFor(UnitKind::Hours, -1), 30);
    EXPECT_EQ(BuildSlotTimes(8, 9, 0).UnitMinutes, 30);
    EXPECT_EQ(BuildSlotTimes(8, 9, 45).count(), 4);
}

class ReservationCountTest : public DatabaseTest {
protected:
    void book(const QString& target, const QString& date, const QString& start, const QString& end, const QString& who)
    {
        insert(
            "予約",
            {{"予約_設定番号", target}, {"予約_年月日", date}, {"予約_開始時間", start}, {"予約_終了時間", end}, {"予約_予約者NO", who}});
    }

    // The count of each slot of one column, as "hh:mm=n" for the slots that hold any.
    static QStringList occupied(const SlotCounts& counts, int column)
    {
        QStringList texts;
        const std::vector<int>& row = counts.ReservationCount[size_t(column)];
        for (int slot = 0; slot < counts.Slots.count(); ++slot) {
            if (row[size_t(slot)] > 0)
                texts << QString("%1=%2").arg(counts.Slots.startText(slot)).arg(row[size_t(slot)]);
        }
        return texts;
    }

    // Seven days of target 00001 from 2026/12/08 (or `first`), shown from 8:00 to 20:59.
    SlotCounts countSevenDays(int unitMinutes, const QDate& first = QDate(2026, 12, 8))
    {
        予約TBL::CountRequest request;
        request.InquiryKind = 1;
        request.CurrentTarget = "00001";
        request.TargetList = QStringList{"00001", "00002"}; // the inquiry by target counts its own target only
        request.WorkingDate = first;
        request.Slots = BuildSlotTimes(8, 20, unitMinutes);
        return 予約TBL::BuildReservationCounts(db(), request);
    }
};

TEST_F(ReservationCountTest, AReservationCountsOnceInEverySlotItCoversAndNotWhereItEnds)
{
    book("00001", "2026/12/08", "10:00", "11:30", "-000001");
    book("00001", "2026/12/08", "11:00", "11:30", "-000002");
    book("00001", "2026/12/08", "11:30", "12:00", "-000003");
    const SlotCounts half = countSevenDays(30);
    EXPECT_EQ(occupied(half, 0), (QStringList{"10:00=1", "10:30=1", "11:00=2", "11:30=1"}));

    // Ten-minute slots: the same reservations, each counted once per ten minutes it covers.
    const SlotCounts ten = countSevenDays(10);
    EXPECT_EQ(occupied(ten, 0).size(), 12);
    EXPECT_EQ(ten.ReservationCount[0][size_t(ten.Slots.slot(3, 0))], 2); // 11:00
    EXPECT_EQ(ten.ReservationCount[0][size_t(ten.Slots.slot(3, 3))], 1); // 11:30
    EXPECT_EQ(ten.ReservationCount[0][size_t(ten.Slots.slot(4, 0))], 0); // 12:00
}

TEST_F(ReservationCountTest, NoSlotIsCountedTwiceWhenTheUnitHasFewerMarksThanSix)
{
    book("00001", "2026/12/08", "10:00", "10:30", "-000001");
    for (int unit : {15, 20, 30}) {
        const SlotCounts counts = countSevenDays(unit);
        int total = 0;
        for (int n : counts.ReservationCount[0])
            total += n;
        EXPECT_EQ(total, 30 / unit + (30 % unit ? 1 : 0)) << unit;
        EXPECT_EQ(counts.ReservationCount[0][size_t(counts.Slots.slot(2, 0))], 1) << unit;
    }
}

TEST_F(ReservationCountTest, HourAndDayUnitsCountEveryReservationInsideTheirSlot)
{
    book("00001", "2026/12/08", "09:00", "10:00", "-000001");
    book("00001", "2026/12/08", "10:30", "11:30", "-000002");
    book("00001", "2026/12/08", "19:00", "20:00", "-000003");
    EXPECT_EQ(occupied(countSevenDays(3 * 60), 0), (QStringList{"08:00=2", "11:00=1", "17:00=1"}));
    EXPECT_EQ(occupied(countSevenDays(60), 0), (QStringList{"09:00=1", "10:00=1", "11:00=1", "19:00=1"}));
    EXPECT_EQ(occupied(countSevenDays(24 * 60), 0), QStringList{"08:00=3"});
}

TEST_F(ReservationCountTest, SevenDaysOfTheCurrentTargetOnly)
{
    book("00001", "2026/12/08", "10:00", "11:00", "-000001");
    book("00001", "2026/12/14", "10:00", "11:00", "-000002");
    book("00001", "2026/12/15", "10:00", "11:00", "-000003"); // the eighth day
    book("00002", "2026/12/09", "10:00", "11:00", "-000004");
    book("00001", "2026/12/07", "10:00", "11:00", "-000005");
    const SlotCounts counts = countSevenDays(30);
    ASSERT_EQ(counts.ReservationCount.size(), 7u);
    EXPECT_EQ(occupied(counts, 0), (QStringList{"10:00=1", "10:30=1"}));
    for (int day = 1; day < 6; ++day)
        EXPECT_TRUE(occupied(counts, day).isEmpty()) << day;
    EXPECT_EQ(occupied(counts, 6), (QStringList{"10:00=1", "10:30=1"}));
}

TEST_F(ReservationCountTest, ByDayEveryTargetOfTheListIsAColumn)
{
    book("00002", "2026/12/08", "09:00", "09:30", "-000001");
    book("00003", "2026/12/08", "23:30", "24:00", "-000002");
    book("00003", "2026/12/09", "09:00", "09:30", "-000003");
    予約TBL::CountRequest request;
    request.InquiryKind = 2;
    request.CurrentTarget = "00002"; // the inquiry by day counts every target of the list
    request.TargetList = QStringList{"00001", "00002", "00003"};
    request.WorkingDate = QDate(2026, 12, 8);
    request.Slots = BuildSlotTimes(8, 24, 30);
    const SlotCounts counts = 予約TBL::BuildReservationCounts(db(), request);
    ASSERT_EQ(counts.ReservationCount.size(), 3u);
    EXPECT_TRUE(occupied(counts, 0).isEmpty());
    EXPECT_EQ(occupied(counts, 1), QStringList{"09:00=1"});
    EXPECT_EQ(occupied(counts, 2), QStringList{"23:30=1"});
}

TEST_F(ReservationCountTest, DatesStoredWithoutLeadingZerosAreNoneOfTheSevenDays)
{
    // "2026/12/1" sorts between 2026/12/08 and 2026/12/14, "2026/5/2" between 2026/12/28 and 2027/01/03.
    book("00001", "2026/12/1", "10:00", "11:00", "-000001");
    book("00001", "2026/12/10", "10:00", "10:30", "-000002");
    SlotCounts counts = countSevenDays(30);
    EXPECT_EQ(occupied(counts, 2), QStringList{"10:00=1"});
    for (int day : {0, 1, 3, 4, 5, 6})
        EXPECT_TRUE(occupied(counts, day).isEmpty()) << day;

    book("00001", "2026/5/2", "10:00", "11:00", "-000003");
    book("00001", "2027/01/02", "10:00", "10:30", "-000004");
    counts = countSevenDays(30, QDate(2026, 12, 28));
    EXPECT_EQ(occupied(counts, 5), QStringList{"10:00=1"});
    EXPECT_TRUE(occupied(counts, 0).isEmpty());
}

TEST_F(ReservationCountTest, ATimeThatCannotBeReadStopsTheCountNamingItsRow)
{
    loosen("予約");
    book("00001", "2026/12/08", "11:00", "10:00", "-000001"); // readable, ends before it starts: covers nothing
    book("00001", "2026/12/08", "12:00", "12:30", "-000002");
    EXPECT_EQ(occupied(countSevenDays(30), 0), QStringList{"12:00=1"});

    runSql("INSERT INTO 予約 (予約_設定番号, 予約_年月日, 予約_開始時間, 予約_予約者NO, 予約_終了時間) "
           "VALUES ('00001', '2026/12/09', '10:00', '-000003', NULL)");
    const auto refusal = [this] {
        try {
            countSevenDays(30);
        } catch (const store::StoreError& e) {
            return e.message();
        }
        return QString();
    };
    const QString row = "データベース「Kelvora.mdb」のテーブル「予約」のレコード（予約_設定番号「00001」、"
                        "予約_年月日「2026/12/09」、予約_開始時間「10:00」、予約_予約者NO「-000003」）の項目「予約_終了時間」";
    EXPECT_EQ(refusal(), row + "が空です。");
    for (const char* end : {"11.5", "10:00:00", " 10:00"}) {
        runSql(QString("UPDATE 予約 SET 予約_終了時間 = '%1' WHERE 予約_予約者NO = '-000003'").arg(end));
        EXPECT_EQ(refusal(), row + "の値「" + end + "」は時刻（HH:MM）ではありません。");
    }
}

} // namespace
