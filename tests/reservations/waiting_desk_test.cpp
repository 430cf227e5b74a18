// The waiting list at the desk: a customer put on the list of a full slot from the time inquiry,
// the slot marked, and the desk that cancels a booking there offering the place and booking it.

#include "booking_fixture.h"
#include "reservations/waiting_entry_form.h"
#include "reservations/waiting_list_form.h"

namespace {

class WaitingDeskTest : public BookingTest {};

TEST_F(WaitingDeskTest, AFullSlotTakesAWaitAndTheDeskThatFreesItOffersThePlaceAndBooksIt)
{
    basic("00001", 1);
    book("00001", "2026/12/09", "14:00", "15:00", "-000101", "山田太郎");
    openByTarget();
    slotGrid()->clickCell(3, column(14, 0));

    QStringList shownSlot;
    whenModalShown([&](QWidget* modal) {
        auto* form = dynamic_cast<キャンセル待ち登録*>(modal);
        ASSERT_NE(form, nullptr);
        for (const char* name : {"対象略称", "予約日", "開始時間", "終了時間"})
            shownSlot << box(form, name)->text();
        box(form, "予約者名")->setText("佐藤花子");
        box(form, "予約者カナ")->setText("サトウハナコ");
        press(form, "確定"); // no telephone number yet
        box(form, "電話番号")->setText("090-1111-2222");
        box(form, "備考")->setText("午後ならいつでも");
        press(form, "確定");
    });
    press(inquiry, "待ち登録");
    EXPECT_EQ(shownSlot, (QStringList{"会議室A", "2026/12/09", "14:00", "14:30"}));
    EXPECT_EQ(messageTexts(), (QStringList{"キャンセル待ちに登録しますか", "電話番号に入力してください",
                                           "入力内容でキャンセル待ちに登録します。", "キャンセル待ちは登録されました。"}));
    EXPECT_EQ(rows("キャンセル待ち", "Key_キャンセル待ち",
                   {"待ち_設定番号", "待ち_年月日", "待ち_開始時間", "待ち_終了時間", "待ち_予約者NO", "待ち_予約者名", "待ち_電話番号",
                    "待ち_登録日時", "待ち_状態", "待ち_備考"}),
              (std::vector<QStringList>{{"00001", "2026/12/09", "14:00", "14:30", "-000001", "佐藤花子", "090-1111-2222",
                                         "2026/12/08 10:00:00", "1", "午後ならいつでも"}}));
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_予約者NO", "予約者_予約者名", "予約者_電話番号"}),
              (std::vector<QStringList>{{"-000001", "佐藤花子", "090-1111-2222"}}));
    EXPECT_EQ(slotGrid()->text(3, column(14, 0)), "1待");
    EXPECT_EQ(slotGrid()->text(3, column(14, 30)), "1");
    EXPECT_EQ(slotGrid()->cellToolTip(3, column(14, 0)),
              "14:00～15:00　山田太郎（-000101）\nキャンセル待ち　14:00～14:30　佐藤花子　TEL 090-1111-2222");

    // Cancelling the booking offers the place to her, and 予約 books it.
    clearMessages();
    QStringList offered;
    whenModalShown([&](QWidget* modal) {
        auto* form = dynamic_cast<キャンセル待ち一覧*>(modal);
        ASSERT_NE(form, nullptr);
        auto* grid = form->findChild<FlexGrid*>("待ち一覧");
        for (int col = 0; col < grid->cols(); ++col)
            offered << grid->text(1, col);
        grid->clickCell(1, 0);
        press(form, "予約");
        EXPECT_EQ(grid->rows(), 1) << "the place is taken: nobody else is offered it";
        press(form, "終了");
    });
    list()->clickCell(1, 0);
    press(inquiry, "削除");
    EXPECT_EQ(offered,
              (QStringList{"2026/12/08 10:00", "会議室A", "2026/12/09", "14:00～14:30", "佐藤花子", "090-1111-2222", "午後ならいつでも"}));
    EXPECT_EQ(messageTexts(), (QStringList{"指定予約を取り消します。", "予約は取消しされました。", "キャンセル待ちの方がいます。（1件）",
                                           "キャンセル待ちの方の予約を登録します。", "予約は登録されました。"}));
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_年月日", "予約_開始時間", "予約_終了時間", "予約_予約者NO", "予約_予約者名", "予約_備考"}),
              (std::vector<QStringList>{{"2026/12/09", "14:00", "14:30", "-000001", "佐藤花子", "午後ならいつでも"}}));
    EXPECT_EQ(rows("キャンセル待ち", "Key_キャンセル待ち", {"待ち_状態"}), (std::vector<QStringList>{{"2"}}));
}

} // namespace
