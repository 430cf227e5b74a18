// The waiting list of a full slot: time a write frees is offered in the order the entries were
// made, taken once, never past the limit, and never after an entry's start; on both stores.

#include "base/clock.h"
#include "records/reservations.h"
#include "records/waiting_list.h"
#include "rules/booking_write.h"
#include "rules/waiting_list.h"
#include "store/file_tools.h"
#include "support/file_faults.h"
#include "support/fixture.h"

#include <QFile>

namespace {

using Kind = booking_write::Outcome::Kind;
using records::WaitingState;

const QDate kDay(2026, 12, 9);

class WaitingListTest : public BothStoresTest {
protected:
    // 会議室A takes two bookings a slot; 10:00-11:00 on the day holds two.
    void SetUp() override
    {
        BothStoresTest::SetUp();
        insertMeetingRooms(1);
        reloadSettings();
        for (const char* number : {"-000001", "-000002"}) {
            insert("予約", {{"予約_設定番号", "00001"},
                            {"予約_年月日", input::dateText(kDay)},
                            {"予約_開始時間", "10:00"},
                            {"予約_終了時間", "11:00"},
                            {"予約_予約者NO", number},
                            {"予約_予約者名", number}});
        }
    }

    // A customer waiting from `start` to `end`, the entry made at `made`.
    waiting_list::Registration wait(const QString& number, const QString& start, const QString& end, const QDateTime& made,
                                    const store::Database& desk)
    {
        setNow(made);
        records::WaitingEntry entry;
        entry.target = "00001";
        entry.date = kDay;
        entry.start = *input::timeFromText(start);
        entry.end = *input::timeFromText(end, true);
        entry.reserverName = "待ち" + number;
        entry.phone = "03-0000-" + number.right(4);
        return waiting_list::Register(desk, settings, entry, [number](const store::Database&) { return number; });
    }
    records::WaitingEntry wait(const QString& number, const QString& start, const QString& end, const QDateTime& made)
    {
        const waiting_list::Registration registration = wait(number, start, end, made, db());
        EXPECT_EQ(registration.kind, waiting_list::Registration::Kind::Registered);
        return registration.entry;
    }

    booking_write::Outcome cancel(const QString& reserverNo)
    {
        booking_write::Change cancel;
        cancel.kind = booking_write::Change::Kind::Cancel;
        cancel.read = records::findReservation(db(), {"00001", kDay, {10, 0}, reserverNo});
        return booking_write::Write(db(), settings, {cancel}, {{}});
    }
    static booking_write::Outcome take(const store::Database& desk, const Settings& settings, const records::WaitingEntry& entry)
    {
        return booking_write::Write(desk, settings, {waiting_list::BookingOf(desk, entry)}, {{}});
    }
    WaitingState stateOf(const records::WaitingEntry& entry) const { return records::findWaitingEntry(db(), entry.number)->state; }
    static QStringList numbers(const std::vector<records::WaitingEntry>& entries)
    {
        QStringList found;
        for (const records::WaitingEntry& e : entries)
            found << e.reserverNo;
        return found;
    }
};

TEST_P(WaitingListTest, FreedTimeIsOfferedInTheOrderMadeAndTheFirstBookedLeavesTheSecondWaiting)
{
    // Made out of the order of their numbers and times.
    const records::WaitingEntry second = wait("-000012", "10:00", "11:00", QDateTime(QDate(2026, 12, 3), QTime(15, 0)));
    const records::WaitingEntry first = wait("-000011", "10:30", "11:00", QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    setNow(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    EXPECT_EQ(wait("-000014", "15:00", "16:00", QDateTime(QDate(2026, 12, 8), QTime(10, 0)), db()).kind,
              waiting_list::Registration::Kind::PlaceFree);
    EXPECT_EQ(wait("-000011", "10:00", "11:00", QDateTime(QDate(2026, 12, 8), QTime(10, 0)), db()).kind,
              waiting_list::Registration::Kind::AlreadyWaiting);

    const booking_write::Outcome cancelled = cancel("-000001");
    ASSERT_EQ(cancelled.kind, Kind::Written);
    ASSERT_EQ(cancelled.freed.size(), 1u);
    EXPECT_EQ(input::timeText(cancelled.freed[0].start) + "-" + input::timeText(cancelled.freed[0].end), "10:00-11:00");
    EXPECT_EQ(numbers(waiting_list::Offers(db(), settings, cancelled.freed)), (QStringList{"-000011", "-000012"}));

    EXPECT_EQ(take(db(), settings, first).kind, Kind::Written);
    EXPECT_EQ(stateOf(first), WaitingState::Booked);
    EXPECT_EQ(stateOf(second), WaitingState::Waiting);
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_開始時間", "予約_終了時間", "予約_予約者NO", "予約_予約者名"}),
              (std::vector<QStringList>{{"10:00", "11:00", "-000002", "-000002"}, {"10:30", "11:00", "-000011", "待ち-000011"}}));
    EXPECT_TRUE(waiting_list::Offers(db(), settings, cancelled.freed).empty()) << "the slot is full again";
    EXPECT_EQ(take(db(), settings, second).kind, Kind::Ask);
    EXPECT_EQ(stateOf(second), WaitingState::Waiting);
}

// Both desks list the freed place; each books from its own list after the other did.
TEST_P(WaitingListTest, TwoDesksOfferingTheSamePlaceGiveItOnceAndNeverBookAnEntryTwice)
{
    const records::WaitingEntry first = wait("-000011", "10:00", "11:00", QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    const records::WaitingEntry second = wait("-000012", "10:00", "11:00", QDateTime(QDate(2026, 12, 2), QTime(9, 0)));
    setNow(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    const std::vector<records::ReservationSpan> freed = cancel("-000001").freed;
    const store::Database deskB = otherDesk();
    ASSERT_EQ(numbers(waiting_list::Offers(deskB, settings, freed)), (QStringList{"-000011", "-000012"}));

    EXPECT_EQ(take(db(), settings, first).kind, Kind::Written);
    EXPECT_EQ(take(deskB, settings, first).kind, Kind::Gone) << "the entry was booked on the other desk";
    EXPECT_EQ(take(deskB, settings, second).kind, Kind::Ask) << "the place was taken";
    EXPECT_EQ(count("予約"), 2);
    EXPECT_EQ(stateOf(second), WaitingState::Waiting);
    EXPECT_FALSE(waiting_list::Withdraw(deskB, first));
    EXPECT_TRUE(waiting_list::Withdraw(deskB, second));
    EXPECT_EQ(stateOf(second), WaitingState::Withdrawn);
}

TEST_P(WaitingListTest, AnEntryWhoseStartHasPassedIsExpiredAndOfferedNowhere)
{
    const records::WaitingEntry started = wait("-000011", "10:00", "11:00", QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    const records::WaitingEntry later = wait("-000012", "10:30", "11:00", QDateTime(QDate(2026, 12, 2), QTime(9, 0)));
    setNow(QDateTime(kDay, QTime(10, 0)));
    EXPECT_EQ(wait("-000013", "10:00", "11:00", appclock::now(), db()).kind, waiting_list::Registration::Kind::Started);
    const std::vector<records::ReservationSpan> freed = cancel("-000001").freed;
    EXPECT_EQ(numbers(waiting_list::Offers(db(), settings, freed)), QStringList{"-000012"});
    EXPECT_EQ(numbers(waiting_list::AllWaiting(db())), QStringList{"-000012"});
    EXPECT_EQ(take(db(), settings, started).kind, Kind::Gone);

    EXPECT_EQ(records::expireWaitingEntries(db(), appclock::now()), 1);
    EXPECT_EQ(stateOf(started), WaitingState::Expired);
    EXPECT_EQ(stateOf(later), WaitingState::Waiting);
    EXPECT_EQ(records::expireWaitingEntries(db(), appclock::now()), 0);
}

// A database of the version before the waiting list gets its table when it is opened, takes
// entries and checks sound.
TEST_P(WaitingListTest, ADatabaseOfThePreviousVersionIsUpgradedWithTheWaitingList)
{
    QString name = serverAddress();
    if (onServer()) {
        runSql(dropLaterThan(3, store::schema::Engine::Server));
    } else {
        name = "old.mdb";
        ASSERT_TRUE(QFile::copy(store::kMainFile, name));
        makeFormerVersionFile(name, 3);
        ASSERT_EQ(store::databaseFileVersion(name), 3);
        EXPECT_EQ(store::checkDatabase(name), QStringList()) << "a sound file of its version";
    }
    const store::Database upgraded = store::Database::openSeparately(name);
    EXPECT_EQ(records::reservationsOfDay(upgraded, "00001", kDay).size(), 2u);
    EXPECT_EQ(wait("-000011", "10:00", "11:00", QDateTime(QDate(2026, 12, 1), QTime(9, 0)), upgraded).kind,
              waiting_list::Registration::Kind::Registered);
    EXPECT_EQ(waiting_list::AllWaiting(upgraded).size(), 1u);
    EXPECT_EQ(store::checkDatabase(name), QStringList());
}

ON_BOTH_STORES(WaitingListTest);

} // namespace
