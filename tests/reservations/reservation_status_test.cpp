// Counts written into the slot grid and coloured against the overlap limit of each row's target.

#include "base/kinds.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "support/fixture.h"
#include "ui/flex_grid.h"
#include "ui/palette.h"
#include "views/business_status.h"
#include "views/reservation_status.h"

namespace {

class ReservationStatusTest : public DatabaseTest {
protected:
    void basic(const QString& target, int limit)
    {
        insert("基本",
               {{"基本_番号", target}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", limit > 0 ? 1 : 0}, {"基本_重複数", limit}});
    }
    void book(const QString& target, const QString& start, const QString& end, const QString& who)
    {
        insert("予約", {{"予約_設定番号", target},
                        {"予約_年月日", "2026/12/08"},
                        {"予約_開始時間", start},
                        {"予約_終了時間", end},
                        {"予約_予約者NO", who}});
    }

    // What the time inquiry does when it opens, as far as the grid goes: seven days of 00001 from
    // 2026/12/08, or the listed targets on that day, 30-minute slots from 8:00 to 20:59.
    void open(InquiryKind kind, const QStringList& targets = {})
    {
        const bool byTarget = kind == InquiryKind::ByTarget;
        const QDate first(2026, 12, 8);
        時間TBL::TimeTableRequest request;
        request.TimeTableMode = int(byTarget ? TimeTableMode::ByTarget : TimeTableMode::ByDay);
        request.InquiryKind = int(kind);
        request.CurrentTarget = "00001";
        request.WorkingDate = request.SelectedDate = first;
        request.TargetList = targets;
        request.TargetAbbrevList = targets;
        const TimeTable table = 時間TBL::BuildTimeTable(db(), request);
        const SlotCounts counts =
            予約TBL::BuildReservationCounts(db(), {int(kind), "00001", first, targets, 予約TBL::BuildSlotTimes(8, 20, 30)});
        営業状色付::ShowBusinessStatus(&grid, table, counts.Slots);
        rowOverlap = 予約状色付::ColourReservationStatus(db(), &grid, table, counts);
    }
    // The overlap limit, or -1 where none is allowed, of each row.
    std::vector<int> limits() const
    {
        std::vector<int> result;
        for (const 基本設定::Overlap& overlap : rowOverlap)
            result.push_back(overlap.allowed ? overlap.limit : -1);
        return result;
    }

    // Grid column of the slot starting at hh:mm (30-minute slots from 8:00).
    static int column(int hour, int minute) { return (hour - 8) * 2 + minute / 30 + 1; }

    FlexGrid& grid = *new FlexGrid; // a window: the fixture deletes it
    std::vector<基本設定::Overlap> rowOverlap;
};

const QColor kCyan = ui::qbColor(11);
const QColor kRed = ui::qbColor(12);

TEST_F(ReservationStatusTest, OccupiedSlotsTurnCyanBelowTheLimitAndRedAtIt)
{
    basic("00000", 5);
    basic("00001", 2);
    book("00001", "10:00", "11:00", "-000001");
    book("00001", "10:30", "11:00", "-000002");
    open(InquiryKind::ByTarget);
    EXPECT_EQ(grid.text(2, column(10, 0)), "1");
    EXPECT_EQ(grid.cellBackColor(2, column(10, 0)), kCyan);
    EXPECT_EQ(grid.text(2, column(10, 30)), "2");
    EXPECT_EQ(grid.cellBackColor(2, column(10, 30)), kRed);
    EXPECT_EQ(limits(), std::vector<int>(7, 2)); // its own limit, not the common 5
}

TEST_F(ReservationStatusTest, EmptySlotsShowZeroAndKeepTheirBusinessColour)
{
    insert("営業", {{"営業_番号", "00001"}, {"営業_開始時間", "12:00"}, {"営業_終了時間", "13:00"}, {"営業_営業フラグ", "1"}});
    open(InquiryKind::ByTarget);
    EXPECT_EQ(grid.text(2, column(8, 0)), "0");
    EXPECT_EQ(grid.cellBackColor(2, column(8, 0)), QColor(Qt::white));
    EXPECT_EQ(grid.text(8, column(12, 30)), "0");
    EXPECT_EQ(grid.cellBackColor(8, column(12, 30)), ui::offHoursColour());
    EXPECT_EQ(grid.text(8, column(20, 30)), "0"); // the last slot of the last day
}

TEST_F(ReservationStatusTest, WithoutAnyBasicRecordTheLimitIsZeroAndEveryReservationIsRed)
{
    book("00001", "10:00", "10:30", "-000001");
    open(InquiryKind::ByTarget);
    EXPECT_EQ(grid.cellBackColor(2, column(10, 0)), kRed);
    EXPECT_EQ(limits().front(), -1);
}

TEST_F(ReservationStatusTest, ByDayEachRowIsJudgedByItsOwnTarget)
{
    basic("00000", 3);
    basic("00002", 1);
    const QStringList targets = {"00001", "00002", "00003"};
    for (const QString& target : targets)
        book(target, "09:00", "09:30", "-000001");
    open(InquiryKind::ByDay, targets);
    EXPECT_EQ(grid.cellBackColor(2, column(9, 0)), kCyan); // the common limit 3
    EXPECT_EQ(grid.cellBackColor(3, column(9, 0)), kRed);  // its own limit 1
    EXPECT_EQ(grid.cellBackColor(4, column(9, 0)), kCyan);
    EXPECT_EQ(limits(), (std::vector<int>{3, 1, 3}));
    // Rows below the targets stay empty.
    EXPECT_EQ(grid.text(5, column(9, 0)), "");
}

TEST_F(ReservationStatusTest, NothingIsWrittenOutsideTheGrid)
{
    SlotCounts counts;
    counts.Slots = 予約TBL::BuildSlotTimes(8, 9, 30);
    counts.ReservationCount.assign(12, std::vector<int>(4, 2));
    FlexGrid small;
    small.setRows(4);
    small.setCols(3);
    予約状色付::PaintReservationCounts(&small, counts, {1, 5});
    EXPECT_EQ(small.text(2, 2), "2");
    EXPECT_EQ(small.cellBackColor(2, 2), kRed);
    EXPECT_EQ(small.cellBackColor(3, 1), kCyan);
    EXPECT_EQ(small.text(1, 1), "");
    EXPECT_EQ(予約状色付::CountColour(0, 2), QColor(Qt::white));
}

} // namespace
