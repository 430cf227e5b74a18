// The reserver card: a reserver found by what the desk types, shown with their coming and past
// bookings and their cancellations, and the time inquiry opened from a booking.

#include "booking_fixture.h"
#include "records/cancellations.h"
#include "records/reservers.h"
#include "reservations/reserver_inquiry_form.h"
#include "ui/database_watch.h"
#include "ui/palette.h"

#include <QLabel>
#include <QTest>

namespace {

class ReserverInquiryTest : public BookingTest {
protected:
    void SetUp() override
    {
        BookingTest::SetUp();
        records::saveReserver(db(), {"-000001", "ヤマダハナコ", "山田花子", "00001", "", "03-1234-5678", "090-1111-2222"});
        records::saveReserver(db(), {"-000002", "ヤマモト", "山本一郎", "", "", "045-987-6543", ""});
        for (const auto& [target, date, start] : {std::tuple{"00002", "2026/12/20", "13:00"}, std::tuple{"00001", "2026/12/08", "09:00"},
                                                  std::tuple{"00001", "2026/12/10", "10:00"}, std::tuple{"00001", "2026/10/01", "10:00"},
                                                  std::tuple{"00002", "2026/11/01", "15:00"}, std::tuple{"00001", "2026/11/15", "10:00"},
                                                  std::tuple{"00001", "2026/12/01", "11:00"}})
            book(target, date, start, "23:00", "-000001", "山田花子");
        book("00001", "2026/12/10", "10:00", "11:00", "-000002", "山本一郎");
        setNow(QDateTime(QDate(2026, 12, 7), QTime(18, 0)));
        records::cancelReservation(db(), {"00001", QDate(2026, 11, 15), {10, 0}, "-000001"}, records::CancelKind::Request, "都合");
        setNow(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        records::cancelReservation(db(), {"00001", QDate(2026, 12, 1), {11, 0}, "-000001"}, records::CancelKind::NoShow);
        setNow(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
        card = open<予約者照会>();
    }

    void search(const QString& text)
    {
        box(card, "検索")->setText(text);
        press(card, "検索開始");
    }
    FlexGrid* grid(const QString& name) const { return card->findChild<FlexGrid*>(name); }
    // The first column of every row below the heading.
    QStringList column0(const QString& gridName) const
    {
        QStringList texts;
        for (int row = 1; row < grid(gridName)->rows(); ++row)
            texts << grid(gridName)->text(row, 0);
        return texts;
    }

    予約者照会* card = nullptr;
};

TEST_F(ReserverInquiryTest, TheCardShowsComingAndPastBookingsAndCancellationsWithCounts)
{
    search("０３（１２３４）５６７８");
    EXPECT_EQ(column0("候補一覧"), QStringList{"-000001"});
    EXPECT_EQ(box(card, "予約者名")->text(), "山田花子");
    EXPECT_EQ(box(card, "携帯番号")->text(), "090-1111-2222");
    EXPECT_EQ(column0("予約一覧"), (QStringList{"2026/12/08", "2026/12/10", "2026/12/20"}));
    EXPECT_EQ(grid("予約一覧")->text(3, 1), "13:00");
    EXPECT_EQ(column0("過去予約一覧"), (QStringList{"2026/11/01", "2026/10/01"}));
    EXPECT_EQ(grid("取消一覧")->rows(), 3);
    EXPECT_EQ(grid("取消一覧")->text(1, 1), "2 無断不来");
    EXPECT_EQ(grid("取消一覧")->text(2, 5), "都合");
    EXPECT_EQ(card->findChild<QLabel*>("取消件数")->text(), "取消・無断不来 2件（本人申出 1件・無断不来 1件・窓口訂正 0件）");

    // Enter searches too. Two matches wait for a choice; nothing found says so and clears the card.
    box(card, "検索")->setText("やま");
    QTest::keyClick(box(card, "検索"), Qt::Key_Return);
    EXPECT_EQ(column0("候補一覧"), (QStringList{"-000001", "-000002"}));
    EXPECT_TRUE(box(card, "予約者名")->text().isEmpty());
    grid("候補一覧")->clickCell(2, 1);
    EXPECT_EQ(box(card, "予約者名")->text(), "山本一郎");
    EXPECT_EQ(column0("予約一覧"), QStringList{"2026/12/10"});
    search("9999");
    EXPECT_EQ(messageTexts(), QStringList{"該当する予約者はありません"});
    EXPECT_EQ(grid("候補一覧")->rows(), 1);
    EXPECT_TRUE(box(card, "予約者名")->text().isEmpty());
}

TEST_F(ReserverInquiryTest, 照会OpensTheTimeInquiryOnTheTargetAndDateOfTheChosenBooking)
{
    search("-000001");
    press(card, "照会");
    EXPECT_EQ(messageTexts(), QStringList{"予約を選択して下さい。"});

    grid("過去予約一覧")->clickCell(1, 0);
    QStringList shown;
    whenModalShown([&](QWidget* window) {
        shown << window->objectName() << box(window, "表示開始日")->text() << box(window, "対象略称")->text();
        window->close();
    });
    press(card, "照会");
    EXPECT_EQ(shown, (QStringList{"時間照会", "2026/11/01", "会議室B"}));
    EXPECT_EQ(grid("過去予約一覧")->cellBackColor(1, 0), ui::qbColor(10)) << "the booking stays chosen";
}

TEST_F(ReserverInquiryTest, TheCardFollowsAnotherDesksBookingKeepingTheBookingChosen)
{
    search("ヤマダ");
    grid("予約一覧")->clickCell(2, 0);
    const store::Database deskB = otherDesk();
    records::saveReservation(deskB, {"00002", QDate(2026, 12, 9), {14, 0}, "-000001", false, {15, 0}, {}, "", "山田花子", "", ""});
    card->findChild<DatabaseWatch*>()->poll();
    EXPECT_EQ(column0("予約一覧"), (QStringList{"2026/12/08", "2026/12/09", "2026/12/10", "2026/12/20"}));
    EXPECT_EQ(grid("予約一覧")->cellBackColor(3, 0), ui::qbColor(10));
    EXPECT_EQ(grid("予約一覧")->cellBackColor(2, 0), ui::qbColor(15));
}

} // namespace
