// The guarded write beneath the forms: what it refuses and what a move takes with it.

#include "rules/booking_write.h"
#include "support/fixture.h"

namespace {

class BookingWriteTest : public DatabaseTest {
protected:
    void book(const QString& start, const QString& end)
    {
        insert("予約", {{"予約_設定番号", "00001"},
                        {"予約_年月日", "2026/12/08"},
                        {"予約_開始時間", start},
                        {"予約_終了時間", end},
                        {"予約_予約者NO", "-000001"},
                        {"予約_予約者名", "山田太郎"}});
    }
    // The booking at ten moved to `hour` on `date`, past any limit the operator was asked about.
    booking_write::Outcome moveTenTo(const QDate& date, int hour)
    {
        booking_write::Change move;
        move.kind = booking_write::Change::Kind::Move;
        move.read = records::findReservation(db(), {"00001", QDate(2026, 12, 8), {10, 0}, "-000001"})
                        .value_or(records::Reservation{"00001", QDate(2026, 12, 8), {10, 0}, "-000001"});
        move.result = *move.read;
        move.result.date = date;
        move.result.start = {hour, 0};
        move.result.end = {hour + 1, 0};
        return booking_write::Write(db(), settings, {move}, {{99, true}});
    }
    std::vector<QStringList> stored() const { return rows("予約", "Key_予約", {"予約_年月日", "予約_開始時間", "予約_終了時間"}); }
};

TEST_F(BookingWriteTest, AMoveNeverLandsOnTheReserversOtherBookingAndMovesTheLatestDateForward)
{
    using Kind = booking_write::Outcome::Kind;
    book("10:00", "11:00");
    book("14:00", "15:00");
    insert("予約者",
           {{"予約者_予約者NO", "-000001"}, {"予約者_予約者名", "山田太郎"}, {"予約者_性別", 1}, {"予約者_最新予約日", "2026/12/08"}});
    EXPECT_EQ(moveTenTo(QDate(2026, 12, 8), 14).kind, Kind::KeyTaken);
    EXPECT_EQ(stored(), (std::vector<QStringList>{{"2026/12/08", "10:00", "11:00"}, {"2026/12/08", "14:00", "15:00"}}));

    const booking_write::Outcome moved = moveTenTo(QDate(2026, 12, 9), 9);
    EXPECT_EQ(moved.kind, Kind::Written);
    ASSERT_EQ(moved.freed.size(), 1u) << "the time it left";
    EXPECT_EQ(moved.freed[0].date, QDate(2026, 12, 8));
    EXPECT_EQ(moved.freed[0].start, (input::TimeOfDay{10, 0}));
    EXPECT_EQ(moved.freed[0].end, (input::TimeOfDay{11, 0}));
    EXPECT_EQ(stored(), (std::vector<QStringList>{{"2026/12/08", "14:00", "15:00"}, {"2026/12/09", "09:00", "10:00"}}));
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_最新予約日"}), (std::vector<QStringList>{{"2026/12/09"}}));
    EXPECT_EQ(moveTenTo(QDate(2026, 12, 9), 11).kind, Kind::Gone);
}

} // namespace
