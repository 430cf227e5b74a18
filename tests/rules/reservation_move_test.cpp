// Moving a booking: all or nothing, never over another booking of the same reserver.

#include "rules/reservation_move.h"
#include "support/fixture.h"

namespace {

class ReservationMoveTest : public DatabaseTest {
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
    reservation_move::Result moveTenTo(const QDate& date, int hour)
    {
        return reservation_move::Move(db(), {"00001", QDate(2026, 12, 8), {10, 0}, "-000001"},
                                      {"00001", "会議室A", date, {hour, 0}, {hour + 1, 0}, true});
    }
    std::vector<QStringList> stored() const { return rows("予約", "Key_予約", {"予約_年月日", "予約_開始時間", "予約_終了時間"}); }
};

TEST_F(ReservationMoveTest, AMoveNeverLandsOnTheReserversOtherBookingAndMovesTheLatestDateForward)
{
    book("10:00", "11:00");
    book("14:00", "15:00");
    insert("予約者",
           {{"予約者_予約者NO", "-000001"}, {"予約者_予約者名", "山田太郎"}, {"予約者_性別", 1}, {"予約者_最新予約日", "2026/12/08"}});
    EXPECT_EQ(moveTenTo(QDate(2026, 12, 8), 14), reservation_move::Result::KeyTaken);
    EXPECT_EQ(stored(), (std::vector<QStringList>{{"2026/12/08", "10:00", "11:00"}, {"2026/12/08", "14:00", "15:00"}}));

    EXPECT_EQ(moveTenTo(QDate(2026, 12, 9), 9), reservation_move::Result::Moved);
    EXPECT_EQ(stored(), (std::vector<QStringList>{{"2026/12/08", "14:00", "15:00"}, {"2026/12/09", "09:00", "10:00"}}));
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_最新予約日"}), (std::vector<QStringList>{{"2026/12/09"}}));
    EXPECT_EQ(moveTenTo(QDate(2026, 12, 9), 11), reservation_move::Result::Gone);
}

} // namespace
