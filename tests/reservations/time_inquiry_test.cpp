// The time inquiry driven as the desk uses it: choosing slots, the list of a slot, booking through
// the entry form, opening and cancelling reservations, the counts and colours that follow, and the
// national holidays named in its row heads and title.

#include "booking_fixture.h"
#include "reservations/entry_form.h"
#include "ui/palette.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <functional>

namespace {

const QColor kWhite = ui::qbColor(15);
const QColor kGreen = ui::qbColor(10);
const QColor kCyan = ui::qbColor(11);
const QColor kRed = ui::qbColor(12);

class TimeInquiryTest : public BookingTest {
protected:
    // Answers the entry form that the next action opens: `fill` types into it, then it is saved
    // (when `save`) and closed. Returns whether it was shown.
    std::shared_ptr<bool> whenEntryForm(std::function<void(予約者登*)> fill, bool save = true)
    {
        auto shown = std::make_shared<bool>(false);
        whenModalShown([=](QWidget* modal) {
            auto* form = dynamic_cast<予約者登*>(modal);
            ASSERT_NE(form, nullptr);
            *shown = true;
            fill(form);
            if (save)
                form->findChild<QPushButton*>("確定")->click();
            form->findChild<QPushButton*>("終了")->click();
        });
        return shown;
    }
    std::shared_ptr<bool> bookAs(const QString& name, const QString& kana)
    {
        return whenEntryForm([=, this](予約者登* form) {
            box(form, "予約者名")->setText(name);
            box(form, "予約者カナ")->setText(kana);
        });
    }
    void choose(int row, int col) { slotGrid()->clickCell(row, col); }
    QString cell(int row, int col) const { return slotGrid()->text(row, col); }
    QColor colour(int row, int col) const { return slotGrid()->cellBackColor(row, col); }
};

TEST_F(TimeInquiryTest, BookingIntoAnEmptyCellWritesReserverAndReservationAndCountsIt)
{
    basic("00001", 2);
    openByTarget();
    EXPECT_EQ(inquiry->windowTitle(), "時間表示");
    EXPECT_FALSE(inquiry->findChild<QGroupBox*>("時間内予約者")->isVisible());
    EXPECT_EQ(cell(2, column(10, 0)), "0");

    choose(2, column(10, 0));
    EXPECT_TRUE(inquiry->findChild<QGroupBox*>("時間内予約者")->isVisible());
    EXPECT_EQ(colour(2, column(10, 0)), kGreen);
    EXPECT_EQ(box(inquiry, "予約時間")->text(), "10:00");
    EXPECT_EQ(box(inquiry, "設定人数")->text(), "2");
    EXPECT_TRUE(listed().isEmpty());

    QStringList shownSlot;
    whenEntryForm([&](予約者登* form) {
        for (const char* name : {"対象番号", "対象略称", "対象名称", "予約日", "開始時間", "終了時間"})
            shownSlot << box(form, name)->text();
        box(form, "予約者名")->setText("山田太郎");
        box(form, "予約者カナ")->setText("ヤマダタロウ");
        box(form, "備考")->setText("打合せ");
    });
    press(inquiry, "予約");
    EXPECT_EQ(shownSlot, (QStringList{"00001", "会議室A", "第一会議室", "2026/12/08", "10:00", "10:30"}));
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "予約は更新(登録)されました。"}));

    EXPECT_EQ(rows("予約", "Key_予約",
                   {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_終了時間", "予約_予約者NO", "予約_予約者名", "予約_予約者名カナ",
                    "予約_重複", "予約_受付日", "予約_略称", "予約_備考"}),
              (std::vector<QStringList>{{"00001", "2026/12/08", "10:00", "10:30", "-000001", "山田太郎", "ヤマダタロウ", "1", "2026/12/08",
                                         "会議室A", "打合せ"}}));
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_予約者NO", "予約者_予約者名", "予約者_対象番号", "予約者_最新予約日"}),
              (std::vector<QStringList>{{"-000001", "山田太郎", "00001", "2026/12/08"}}));
    EXPECT_EQ(rows("発番", "Key_発番", {"発番_設備", "発番_番号"}), (std::vector<QStringList>{{"00000", "000001"}}));

    EXPECT_EQ(cell(2, column(10, 0)), "1");
    EXPECT_EQ(colour(2, column(10, 0)), kGreen); // still the chosen cell
    EXPECT_EQ(listed(), QStringList{"-000001 10:00-10:30"});
    choose(2, column(11, 0));
    EXPECT_EQ(colour(2, column(10, 0)), kCyan);
    EXPECT_EQ(cell(2, column(10, 30)), "0");
}

TEST_F(TimeInquiryTest, AtTheOverlapLimitTheOperatorIsWarnedAndMayBookPastIt)
{
    basic("00001", 2);
    book("00001", "2026/12/09", "14:00", "14:30", "-000101");
    openByTarget();
    choose(3, column(14, 0));
    bookAs("佐藤", "サトウ");
    press(inquiry, "予約");
    EXPECT_FALSE(messageTexts().contains("予約人数がｵｰﾊﾞｰしています､登録を行いますか")); // one of two taken

    choose(3, column(14, 0));
    clearMessages();
    answer({false, false}); // nor does the customer wait
    press(inquiry, "予約");
    EXPECT_EQ(messageTexts(), (QStringList{"予約人数がｵｰﾊﾞｰしています､登録を行いますか", "キャンセル待ちに登録しますか"}));
    EXPECT_EQ(count("予約"), 2);

    clearMessages();
    bookAs("鈴木", "スズキ");
    press(inquiry, "予約");
    EXPECT_EQ(messageTexts().first(), "予約人数がｵｰﾊﾞｰしています､登録を行いますか");
    EXPECT_EQ(count("予約"), 3);
    choose(2, column(8, 0));
    EXPECT_EQ(cell(3, column(14, 0)), "3");
    EXPECT_EQ(colour(3, column(14, 0)), kRed);
}

TEST_F(TimeInquiryTest, WithoutOverlapATakenCellAsksAndNoKeepsItAsItWas)
{
    basic("00001", 0);
    book("00001", "2026/12/08", "09:00", "10:00", "-000101");
    openByTarget();
    EXPECT_EQ(colour(2, column(9, 0)), kRed);
    choose(2, column(9, 30));
    EXPECT_EQ(box(inquiry, "設定人数")->text(), "重複不可");
    answer({false, false});
    press(inquiry, "予約");
    EXPECT_EQ(messageTexts(), (QStringList{"予約者が重複しています､登録を行いますか", "キャンセル待ちに登録しますか"}));
    EXPECT_EQ(count("予約"), 1);

    clearMessages();
    choose(2, column(10, 0));
    const auto shown = bookAs("高橋", "タカハシ");
    press(inquiry, "予約");
    EXPECT_TRUE(*shown);
    EXPECT_EQ(messageTexts().first(), "入力内容で更新します。"); // an empty cell asks nothing
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_開始時間", "予約_重複"}), (std::vector<QStringList>{{"09:00", ""}, {"10:00", "0"}}));
}

TEST_F(TimeInquiryTest, ReopeningAndSavingAReservationChangesNoCount)
{
    basic("00001", 2);
    reserver("-000001", "山田太郎", "ヤマダタロウ", "2026/12/08", "常連");
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "山田太郎", "会議");
    book("00001", "2026/12/09", "10:00", "10:30", "-000002"); // the next day: not counted in the chosen row
    openByTarget();
    choose(2, column(10, 30));
    EXPECT_EQ(listed(), QStringList{"-000001 10:00-11:00"});
    list()->clickCell(1, 1);
    EXPECT_EQ(list()->cellBackColor(1, 0), kGreen);

    QStringList seen;
    bool startLocked = false;
    whenEntryForm([&](予約者登* form) {
        for (const char* name : {"予約者NO", "予約者名", "予約者カナ", "開始時間", "終了時間", "備考"})
            seen << box(form, name)->text();
        startLocked = box(form, "開始時間")->isReadOnly() && box(form, "予約日")->isReadOnly() && box(form, "対象番号")->isReadOnly();
    });
    press(inquiry, "選択");
    // The remark is the reservation's own, not the reserver's.
    EXPECT_EQ(seen, (QStringList{"-000001", "山田太郎", "ヤマダタロウ", "10:00", "11:00", "会議"}));
    EXPECT_TRUE(startLocked);
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_年月日", "予約_備考"}),
              (std::vector<QStringList>{{"2026/12/08", "会議"}, {"2026/12/09", ""}}));
    EXPECT_EQ(cell(2, column(10, 0)), "1");
    EXPECT_EQ(cell(2, column(10, 30)), "1");
    EXPECT_EQ(cell(2, column(11, 0)), "0");
    EXPECT_EQ(cell(3, column(10, 0)), "1");
    EXPECT_EQ(listed(), QStringList{"-000001 10:00-11:00"});
    // The chosen cell is marked again once the entry form has closed.
    EXPECT_EQ(colour(2, column(10, 30)), kGreen);
}

TEST_F(TimeInquiryTest, CancellingTheOnlyReservationLeavesTheCellWhiteWithZero)
{
    basic("00001", 2);
    book("00001", "2026/12/08", "10:00", "10:30", "-000001");
    openByTarget();
    choose(2, column(10, 0));
    list()->clickCell(1, 0);
    press(inquiry, "削除");
    EXPECT_EQ(messageTexts(), (QStringList{"指定予約を取り消します。", "予約は取消しされました。"}));
    EXPECT_EQ(count("予約"), 0);
    EXPECT_EQ(rows("予約取消", "Key_予約取消", {"取消_設定番号", "取消_開始時間", "取消_予約者NO", "取消_区分"}),
              (std::vector<QStringList>{{"00001", "10:00", "-000001", "1"}}));
    EXPECT_EQ(cell(2, column(10, 0)), "0");
    EXPECT_EQ(colour(2, column(10, 0)), kWhite);
    EXPECT_TRUE(listed().isEmpty());

    // Nothing is chosen in the list any more.
    clearMessages();
    press(inquiry, "削除");
    press(inquiry, "選択");
    EXPECT_EQ(messageTexts(), (QStringList{"予約者を選択して下さい｡ ", "予約者を選択して下さい｡ "}));
}

TEST_F(TimeInquiryTest, AClosedSlotThatEmptiesIsClosedTimeAgainNotWhite)
{
    basic("00001", 2);
    closedFrom("00001", "12:00", "13:00");
    book("00001", "2026/12/08", "11:30", "12:30", "-000001");
    openByTarget();
    EXPECT_EQ(colour(2, column(12, 0)), kCyan);
    choose(2, column(11, 30));
    list()->clickCell(1, 0);
    press(inquiry, "削除");
    EXPECT_EQ(colour(2, column(12, 0)), ui::offHoursColour());
    EXPECT_EQ(cell(2, column(12, 0)), "0");
    clearMessages();
    choose(2, column(12, 0));
    EXPECT_EQ(messageTexts(), QStringList{"指定時間帯は休業時間です｡ "});
}

TEST_F(TimeInquiryTest, TheListHoldsEveryReservationThatCoversTheSlotAndNoOther)
{
    basic("00001", 9);
    book("00001", "2026/12/08", "09:00", "10:30", "-000001"); // started earlier, still running
    book("00001", "2026/12/08", "09:30", "10:00", "-000002"); // ends at the slot's start
    book("00001", "2026/12/08", "10:00", "10:30", "-000003");
    book("00001", "2026/12/08", "10:15", "10:45", "-000004"); // starts inside the slot
    book("00001", "2026/12/08", "10:30", "11:00", "-000005"); // starts at the slot's end
    book("00002", "2026/12/08", "10:00", "10:30", "-000006"); // another target
    book("00001", "2026/12/09", "10:00", "10:30", "-000007"); // another day
    openByTarget();
    choose(2, column(10, 0));
    EXPECT_EQ(listed(), (QStringList{"-000001 09:00-10:30", "-000003 10:00-10:30", "-000004 10:15-10:45"}));
    EXPECT_EQ(cell(2, column(10, 0)), "3");
}

TEST_F(TimeInquiryTest, TheListGrowsPastTwentyReservations)
{
    basic("00001", 30);
    for (int n = 1; n <= 23; ++n)
        book("00001", "2026/12/08", "15:00", "16:00", QString("-%1").arg(n, 6, 10, QChar('0')));
    openByTarget();
    choose(2, column(15, 30));
    EXPECT_EQ(listed().size(), 23);
    list()->clickCell(23, 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(list()->rows(), 24);
    EXPECT_EQ(list()->cellBackColor(23, 4), kGreen);
    QString opened;
    whenEntryForm([&](予約者登* form) { opened = box(form, "予約者NO")->text(); }, false);
    press(inquiry, "選択");
    EXPECT_EQ(opened, "-000023");
}

TEST_F(TimeInquiryTest, ClicksOutsideTheSlotsAreRefused)
{
    closedFrom("00000", "08:00", "09:00");
    openByTarget();
    choose(0, column(10, 0)); // the hour header
    choose(2, 0);             // a day's label
    choose(2, column(8, 30)); // closed time
    EXPECT_EQ(messageTexts(), (QStringList{"指定時間帯が有効範囲外です｡ ", "指定時間帯が有効範囲外です｡ ", "指定時間帯は休業時間です｡ "}));
    EXPECT_FALSE(inquiry->findChild<QPushButton*>("予約")->isEnabled());
    // However an action is reached, without a chosen slot it asks for one and touches nothing.
    clearMessages();
    inquiry->予約_Click();
    inquiry->選択_Click();
    inquiry->削除_Click();
    EXPECT_EQ(messageTexts(), QStringList(3, "時間帯を選択して下さい｡ "));
    choose(2, column(9, 0));
    EXPECT_TRUE(inquiry->findChild<QPushButton*>("予約")->isEnabled());
    clearMessages();
    list()->clickCell(1, 0);
    EXPECT_EQ(messageTexts(), QStringList{"指定対象が有効範囲外です｡ "});
}

TEST_F(TimeInquiryTest, ADayThatOpensLaterThanTheGridStartsCanBeBookedAsAWholeDay)
{
    settings.UnitMinutes = 24 * 60;
    insert("営業", {{"営業_番号", "00001"}, {"営業_開始時間", "10:00"}, {"営業_終了時間", "19:00"}, {"営業_営業フラグ", "0"}});
    openByTarget();
    choose(2, 1);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(inquiry->findChild<QPushButton*>("予約")->isEnabled());
}

TEST_F(TimeInquiryTest, AReservationWhoseEndCannotBeReadIsNamedNotLeftOut)
{
    book("00001", "2026/12/09", "10:00", "11.5", "-000001");
    openByTarget();
    EXPECT_EQ(messageTexts(), QStringList{"データベース「Kelvora.mdb」のテーブル「予約」のレコード（予約_設定番号「00001」、"
                                          "予約_年月日「2026/12/09」、予約_開始時間「10:00」、予約_予約者NO「-000001」）"
                                          "の項目「予約_終了時間」の値「11.5」は時刻（HH:MM）ではありません。"});
}

TEST_F(TimeInquiryTest, TheLastSlotEndsOneUnitAfterItsStart)
{
    openByTarget();
    choose(8, column(20, 30));
    QString day;
    QString end;
    whenEntryForm(
        [&](予約者登* form) {
            day = box(form, "予約日")->text();
            end = box(form, "終了時間")->text();
        },
        false);
    press(inquiry, "予約");
    EXPECT_EQ(day, "2026/12/14");
    EXPECT_EQ(end, "21:00");
}

TEST_F(TimeInquiryTest, RowHeadsOfSevenDaysAndTheTitleOfOneDayNameTheHoliday)
{
    insert("祝日", {{"祝日_年月日", QDate(2026, 7, 24)}, {"祝日_名称", "市民の日"}, {"祝日_区分", 1}});
    openByTarget(QDate(2026, 7, 19));
    EXPECT_EQ(slotGrid()->text(2, 0), "7/19(日)");
    EXPECT_EQ(slotGrid()->text(3, 0), "7/20(月・海の日)");
    EXPECT_EQ(slotGrid()->text(7, 0), "7/24(金・市民の日)");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/07/19");
    inquiry->close();
    flushDeletes();

    InquiryRequest request;
    request.kind = InquiryKind::ByDay;
    request.firstDate = QDate(2026, 7, 20);
    request.targets = {{"00001"}, {"会議室A"}};
    inquiry = open<時間照会>(request);
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/07/20(月・海の日)");
    press(inquiry, "次期間");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/07/21(火)");
    EXPECT_TRUE(messages().empty());
}

TEST_F(TimeInquiryTest, ByDayEachRowBooksItsOwnTargetUnderItsOwnRule)
{
    basic("00000", 3);
    basic("00002", 1);
    book("00002", "2026/12/08", "13:00", "14:00", "-000099");
    openByDay();
    EXPECT_EQ(inquiry->findChild<QLabel*>("表示Label")->text(), "照会日");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/08(火)");
    EXPECT_FALSE(box(inquiry, "表示終了日")->isVisible());
    EXPECT_FALSE(inquiry->findChild<QGroupBox*>("予約対象別照会")->isVisible());
    EXPECT_EQ(slotGrid()->text(3, 0), "会議室B");
    EXPECT_EQ(colour(3, column(13, 0)), kRed);
    choose(4, column(13, 0)); // below the two targets
    EXPECT_EQ(messageTexts(), QStringList{"指定時間帯が有効範囲外です｡ "});
    clearMessages();

    choose(3, column(13, 30));
    EXPECT_EQ(box(inquiry, "設定人数")->text(), "1");
    QStringList targetShown;
    whenEntryForm([&](予約者登* form) {
        targetShown << box(form, "対象番号")->text() << box(form, "対象名称")->text();
        box(form, "予約者名")->setText("伊藤");
        box(form, "予約者カナ")->setText("イトウ");
    });
    press(inquiry, "予約");
    EXPECT_EQ(messageTexts().first(), "予約人数がｵｰﾊﾞｰしています､登録を行いますか");
    EXPECT_EQ(targetShown, (QStringList{"00002", "第二会議室"}));
    EXPECT_EQ(cell(3, column(13, 30)), "2");
    EXPECT_EQ(cell(2, column(13, 30)), "0");

    clearMessages();
    choose(2, column(13, 30));
    EXPECT_EQ(box(inquiry, "設定人数")->text(), "3");
    bookAs("伊藤", "イトウ");
    press(inquiry, "予約");
    EXPECT_EQ(messageTexts().first(), "入力内容で更新します。");
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_設定番号", "予約_開始時間", "予約_略称", "予約_予約者NO"}),
              (std::vector<QStringList>{
                  {"00001", "13:30", "会議室A", "-000001"}, {"00002", "13:00", "", "-000099"}, {"00002", "13:30", "会議室B", "-000001"}}));
}

TEST_F(TimeInquiryTest, CountsFollowWhateverTheEntryFormDidWhileOpen)
{
    basic("00001", 5);
    openByTarget();
    choose(2, column(16, 0));
    // Saved twice: the last save changed nothing, yet one reservation was added.
    whenEntryForm([&](予約者登* form) {
        box(form, "予約者名")->setText("中村");
        box(form, "予約者カナ")->setText("ナカムラ");
        box(form, "終了時間")->setText("17:00");
        form->findChild<QPushButton*>("確定")->click();
        box(form, "備考")->setText("延長");
    });
    press(inquiry, "予約");
    EXPECT_EQ(cell(2, column(16, 0)), "1");
    EXPECT_EQ(cell(2, column(16, 30)), "1");

    // Saved and then deleted: nothing is left, and nothing is counted.
    choose(2, column(18, 0));
    whenEntryForm(
        [&](予約者登* form) {
            box(form, "予約者名")->setText("中村");
            box(form, "予約者カナ")->setText("ナカムラ");
            form->findChild<QPushButton*>("確定")->click();
            form->findChild<QPushButton*>("削除")->click();
        },
        false);
    press(inquiry, "予約");
    EXPECT_EQ(cell(2, column(18, 0)), "0");
    EXPECT_EQ(colour(2, column(18, 0)), kGreen);
    EXPECT_EQ(count("予約"), 1);
}

TEST_F(TimeInquiryTest, ALaterWeekIsBookedOnItsOwnDatesAndTakenToday)
{
    basic("00001", 2);
    book("00001", "2026/12/21", "09:00", "09:30", "-000101");
    openByTarget(QDate(2026, 12, 20));
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/20");
    EXPECT_EQ(box(inquiry, "表示終了日")->text(), "2026/12/26");
    EXPECT_EQ(slotGrid()->text(2, 0), "12/20(日)");
    EXPECT_EQ(cell(3, column(9, 0)), "1");
    choose(3, column(9, 0));
    EXPECT_EQ(listed(), QStringList{"-000101 09:00-09:30"});
    bookAs("佐藤", "サトウ");
    press(inquiry, "予約");
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_年月日", "予約_予約者名", "予約_受付日"}),
              (std::vector<QStringList>{{"2026/12/21", "佐藤", "2026/12/08"}, {"2026/12/21", "予約者", ""}}));
}

TEST_F(TimeInquiryTest, ClosingAsksFirst)
{
    openByTarget();
    answer({false, false});
    press(inquiry, "終了");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(inquiry, &escape);
    EXPECT_EQ(messageTexts(), (QStringList{"時間帯の表示を終了します", "時間帯の表示を終了します"}));
    EXPECT_TRUE(inquiry->isVisible());
    press(inquiry, "終了");
    EXPECT_FALSE(inquiry->isVisible());
}

} // namespace
