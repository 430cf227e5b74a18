// 取消履歴: a booking cancelled in the time inquiry is kept, listed, changed and restored; a past
// booking nobody came to is cancelled as a no-show.

#include "booking_fixture.h"
#include "base/input.h"
#include "records/cancellations.h"
#include "reservations/cancellation_history_form.h"

#include <QComboBox>

namespace {

class CancellationHistoryTest : public BookingTest {
protected:
    取消履歴* openHistory() { return history = open<取消履歴>(); }
    FlexGrid* grid() const { return history->findChild<FlexGrid*>("取消一覧"); }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int col = 0; col < grid()->cols(); ++col)
            cells << grid()->text(r, col);
        return cells;
    }
    取消履歴* history = nullptr;
};

TEST_F(CancellationHistoryTest, ACancelledBookingIsListedChangedAndRestoredWithTheOverlapQuestion)
{
    basic("00001", 0);
    book("00001", "2026/12/09", "10:00", "11:00", "-000001", "佐藤");
    openByTarget();
    slotGrid()->clickCell(3, column(10, 0));
    list()->clickCell(1, 0);
    press(inquiry, "削除");
    inquiry->close();

    openHistory();
    EXPECT_EQ(history->windowTitle(), "取消履歴");
    ASSERT_EQ(grid()->rows(), 2);
    EXPECT_EQ(row(1), (QStringList{"2026/12/08 10:00", "1 本人申出", "2026/12/09", "10:00", "11:00", "00001", "-000001", "佐藤", ""}));

    clearMessages();
    press(history, "変更");
    EXPECT_EQ(messageTexts(), QStringList{"取消記録を選択して下さい｡ "});
    grid()->clickCell(1, 0);
    history->findChild<QComboBox*>("区分")->setCurrentIndex(2);
    box(history, "理由")->setText("入力誤り");
    press(history, "変更");
    EXPECT_EQ(rows("予約取消", "Key_予約取消", {"取消_区分", "取消_理由"}), (std::vector<QStringList>{{"3", "入力誤り"}}));
    EXPECT_EQ(row(1)[1], "3 窓口訂正");

    // Meanwhile the slot was given to someone else: the target takes no overlap.
    book("00001", "2026/12/09", "10:30", "11:30", "-000002");
    grid()->clickCell(1, 0);
    clearMessages();
    answer({true, false});
    press(history, "復元");
    EXPECT_EQ(messageTexts(), (QStringList{"予約者が重複しています､登録を行いますか", "指定の取消を復元します。"}));
    EXPECT_EQ(count("予約"), 1);
    EXPECT_EQ(count("予約取消"), 1);

    clearMessages();
    press(history, "復元");
    EXPECT_EQ(messageTexts().last(), "予約は復元されました。");
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_開始時間", "予約_予約者NO", "予約_予約者名"}),
              (std::vector<QStringList>{{"10:00", "-000001", "佐藤"}, {"10:30", "-000002", "予約者"}}));
    EXPECT_EQ(count("予約取消"), 0);
    EXPECT_EQ(grid()->rows(), 1);
}

TEST_F(CancellationHistoryTest, ARestoreIsCountedBySlotsAsABookingIs)
{
    // 10:15-10:30 and 10:00-10:15 share no moment but the 10:00 slot, which takes no overlap.
    basic("00001", 0);
    book("00001", "2026/12/09", "10:15", "10:30", "-000001", "佐藤");
    ASSERT_TRUE(records::cancelReservation(db(), {"00001", QDate(2026, 12, 9), *input::timeFromText("10:15"), "-000001"},
                                           records::CancelKind::Request));
    book("00001", "2026/12/09", "10:00", "10:15", "-000002");
    openHistory();
    grid()->clickCell(1, 0);
    answer({true, false});
    press(history, "復元");
    EXPECT_EQ(messageTexts(), (QStringList{"予約者が重複しています､登録を行いますか", "指定の取消を復元します。"}));
    EXPECT_EQ(count("予約"), 1);
}

TEST_F(CancellationHistoryTest, OnlyABookingThatIsOverCanBeANoShowAndBadDatesAreRefused)
{
    book("00001", "2026/12/07", "10:00", "11:00", "-000003");
    book("00001", "2026/12/08", "09:00", "10:30", "-000003"); // still running at 10:00
    openHistory();
    box(history, "対象番号")->setText("00001");
    box(history, "予約者NO")->setText("-000003");
    box(history, "予約日")->setText("2026/12/08");
    box(history, "開始時間")->setText("９：００");
    press(history, "無断");
    EXPECT_EQ(messageTexts(), QStringList{"終わっていない予約は無断不来にできません。"});

    clearMessages();
    box(history, "予約日")->setText("2026/12/7");
    box(history, "開始時間")->setText("10:00");
    press(history, "無断");
    EXPECT_EQ(messageTexts(), (QStringList{"指定予約を無断不来として取り消します。", "予約は無断不来として取消しされました。"}));
    EXPECT_EQ(count("予約"), 1);
    EXPECT_EQ(row(1)[1], "2 無断不来");

    clearMessages();
    box(history, "開始日")->setText("2026/13/40");
    box(history, "開始時間")->setText("'; DROP TABLE 予約; --");
    press(history, "表示");
    press(history, "無断");
    EXPECT_EQ(messageTexts(), (QStringList{"開始日に正しく入力してください", "開始時間に正しく入力してください"}));
    EXPECT_EQ(count("予約"), 1);
}

} // namespace
