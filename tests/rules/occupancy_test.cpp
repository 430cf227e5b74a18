// How full the targets were: a quarter worked out by hand, on the file and on the server.

#include "base/input.h"
#include "records/reservations.h"
#include "rules/occupancy.h"
#include "support/fixture.h"

namespace {

class OccupancyTest : public BothStoresTest {
protected:
    void target(const QString& number, const QString& abbrev, bool overlap, int places)
    {
        insert("設定", {{"設定_番号", number}, {"設定_名称", abbrev}, {"設定_略称", abbrev}});
        insert("基本",
               {{"基本_番号", number}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", overlap ? 1 : 0}, {"基本_重複数", places}});
    }
    void book(const QString& target, const QDate& date, const QString& start, const QString& end, const QString& who = "-000001",
              const QString& abbrev = QString())
    {
        records::saveReservation(db(), {target, date, *input::timeFromText(start), who, false, *input::timeFromText(end, true), date,
                                        abbrev, QStringLiteral("予約者"), QStringLiteral("ヨヤクシャ"), QString()});
    }
    void cancelled(const QString& target, const QDate& date, const QString& kind)
    {
        insert("予約取消", {{"取消_設定番号", target},
                            {"取消_年月日", input::dateText(date)},
                            {"取消_開始時間", "15:00"},
                            {"取消_予約者NO", "-000009"},
                            {"取消_終了時間", "16:00"},
                            {"取消_日時", "2026/11/01 09:00:00"},
                            {"取消_区分", kind}});
    }
    void closure(const QString& target, const QDate& date, int flag)
    {
        insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", date}, {"カレ_休日FLG", flag}});
    }
    occupancy::Occupancy tally(const QDate& first, const QDate& last, const QString& only = QString())
    {
        return occupancy::BuildOccupancy(db(), settings, {first, last, only});
    }
};

TEST_P(OccupancyTest, AQuarterWorkedOutByHand)
{
    // Every target: 09:00-18:00 with a closed band 12:00-13:00 (8 hours), shut on 11/03.
    insert("営業", {{"営業_番号", "00000"}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}, {"営業_営業フラグ", "0"}});
    insert("営業", {{"営業_番号", "00000"}, {"営業_開始時間", "12:00"}, {"営業_終了時間", "13:00"}, {"営業_営業フラグ", "1"}});
    closure("00000", QDate(2026, 11, 3), 1);

    // コートA, one place: on 11/20 open 10:00-12:00 only, shut all December; booked since September.
    target("00001", "コートA", false, 0);
    insert("特定日", {{"特定_番号", "00001"},
                      {"特定_日付", QDate(2026, 11, 20)},
                      {"特定_開始時間", "10:00"},
                      {"特定_終了時間", "12:00"},
                      {"特定_営業フラグ", "0"}});
    for (QDate day(2026, 12, 1); day.month() == 12; day = day.addDays(1))
        closure("00001", day, 1);
    book("00001", QDate(2026, 9, 30), "10:00", "11:00");  // before the period
    book("00001", QDate(2026, 10, 15), "09:00", "10:00"); // 1 h
    book("00001", QDate(2026, 11, 2), "11:30", "13:30");  // 1 h: not the closed band
    book("00001", QDate(2026, 11, 3), "10:00", "11:00");  // 0 h: a closed day
    book("00001", QDate(2026, 11, 20), "09:00", "11:00"); // 1 h: from 10:00
    book("00001", QDate(2026, 11, 30), "17:00", "19:00"); // 1 h: until closing
    for (const char* who : {"-000001", "-000002", "-000003", "-000004", "-000005", "-000006"})
        book("00001", QDate(2026, 11, 2), "10:00", "11:00", who); // six in one place: 6 h
    book("00001", QDate(2026, 12, 10), "10:00", "11:00");         // 0 h: nothing open
    book("00001", QDate(2027, 1, 1), "10:00", "11:00");           // after the period

    // 会議室, three places, added in November: Saturdays 10:00-14:00, open on 11/03.
    target("00002", "会議室", true, 3);
    insert("日別", {{"日別_番号", "00002"},
                    {"日別_区分", 1},
                    {"日別_日付", 7},
                    {"日別_開始時間", "10:00"},
                    {"日別_終了時間", "14:00"},
                    {"日別_営業フラグ", "0"}});
    closure("00002", QDate(2026, 11, 3), 0);
    book("00002", QDate(2026, 11, 3), "09:00", "10:00"); // 1 h
    for (const char* who : {"-000001", "-000002", "-000003"})
        book("00002", QDate(2026, 11, 7), "09:00", "15:00", who); // 4 h each
    book("00002", QDate(2026, 12, 31), "17:00", "20:00");         // 1 h on the last day
    cancelled("00002", QDate(2026, 11, 7), "2");                  // no-show
    cancelled("00002", QDate(2026, 12, 5), "1");                  // the customer asked
    cancelled("00002", QDate(2026, 12, 5), "3");                  // the desk's correction: none

    // 旧コート, removed in October, its bookings kept: open 10:00-11:00, booked twice an hour for 16 days.
    insert("営業", {{"営業_番号", "00003"}, {"営業_開始時間", "10:00"}, {"営業_終了時間", "11:00"}, {"営業_営業フラグ", "0"}});
    for (QDate day(2026, 10, 1); day.day() <= 16; day = day.addDays(1)) {
        book("00003", day, "10:00", "11:00", "-000001", "旧コート");
        book("00003", day, "10:00", "11:00", "-000002", "旧コート");
    }

    const occupancy::Occupancy quarter = tally(QDate(2026, 10, 1), QDate(2026, 12, 31));
    const std::vector<QStringList> expected = {
        {"00001", "コートA", "2026/10", "248.0", "1.0", "0.4%", "1", "0"},
        {"00001", "コートA", "2026/11", "226.0", "9.0", "4.0%", "10", "0"},
        {"00001", "コートA", "2026/12", "0.0", "0.0", "－", "1", "0"},
        {"00002", "会議室", "2026/11", "224.0", "13.0", "1.9%", "4", "1"},
        {"00002", "会議室", "2026/12", "232.0", "1.0", "0.1%", "1", "1"},
        {"00003", "旧コート", "2026/10", "31.0", "32.0", "103.2%", "32", "0"},
        {"", "合計", "2026/10～2026/12", "961.0", "56.0", "3.0%", "49", "2"},
    };
    EXPECT_EQ(occupancy::TableCaptions(),
              (QStringList{"対象番号", "対象略称", "年月", "営業時間", "予約時間", "稼働率", "予約件数", "取消件数"}));
    EXPECT_EQ(occupancy::TableRows(quarter), expected);

    // One target's November by weekday and hour: Monday 10:00 held six bookings in one place on
    // one of five Mondays.
    const occupancy::Occupancy november = tally(QDate(2026, 11, 1), QDate(2026, 11, 1), "00001");
    EXPECT_EQ(november.targetLine, "コートA");
    const occupancy::HourCell& monday10 = november.byWeekdayHour[1][10];
    EXPECT_EQ(monday10.capacityMinutes, 5 * 60);
    EXPECT_EQ(occupancy::RateText(monday10.rate()), "120.0%");
    EXPECT_EQ(occupancy::RateText(november.byWeekdayHour[1][12].rate()), "－"); // the closed band
    EXPECT_EQ(november.firstHour, 9);
    EXPECT_EQ(november.lastHour, 17);
}

ON_BOTH_STORES(OccupancyTest);

} // namespace
