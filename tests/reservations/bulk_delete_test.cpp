// 予約削除: the candidate grid, the month count and its check, and what the deletion removes.

#include "reservations/bulk_delete_form.h"
#include "support/fixture.h"
#include "support/stop_work.h"
#include "support/table_contents.h"
#include "ui/field_check.h"
#include "ui/flex_grid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

class BulkDeleteTest : public DatabaseTest {
protected:
    void addTarget(int number, const QString& remark = QString())
    {
        const QString n = QString::number(number).rightJustified(5, '0');
        insert("設定", {{"設定_番号", n}, {"設定_名称", "名称" + n}, {"設定_略称", "略" + n}, {"設定_備考", remark}});
    }
    void addReservation(const QString& target, const QString& date)
    {
        insert("予約", {{"予約_設定番号", target},
                        {"予約_年月日", date},
                        {"予約_開始時間", "10:00"},
                        {"予約_予約者NO", "-000001"},
                        {"予約_終了時間", "11:00"}});
    }
    // The dates of a target's reservations that are left, in date order.
    QStringList datesOf(const QString& target) const
    {
        QStringList dates;
        for (const QStringList& row : rows("予約", "Idx_期限", {"予約_設定番号", "予約_年月日"})) {
            if (row[0] == target)
                dates << row[1];
        }
        return dates;
    }
    予約削除* open()
    {
        form = DatabaseTest::open<予約削除>();
        return form;
    }
    FlexGrid* grid() const { return form->findChild<FlexGrid*>("削除候補"); }
    QLineEdit* months() const { return form->findChild<QLineEdit*>("削除月数"); }
    void clickDelete() const { form->findChild<QPushButton*>("削除")->click(); }

    予約削除* form = nullptr;
};

TEST_F(BulkDeleteTest, TheGridListsEveryTargetButTheCommonOneAllMarked)
{
    addTarget(0);
    addTarget(2, "奥の部屋");
    addTarget(1);
    open();
    EXPECT_EQ(form->windowTitle(), "予約一括削除");
    EXPECT_EQ(months()->text(), "12");
    FlexGrid* g = grid();
    ASSERT_EQ(g->rows(), 101);
    ASSERT_EQ(g->cols(), 4);
    EXPECT_EQ(g->fixedRows(), 1);
    EXPECT_EQ(g->fixedCols(), 0);
    const QStringList headers = {"削除F", "予約対象NO", "予約対象略称", "備考"};
    const int widths[] = {600, 1500, 2000, 2500};
    for (int col = 0; col < 4; ++col) {
        EXPECT_EQ(g->text(0, col), headers[col]);
        EXPECT_EQ(g->colWidth(col), widths[col]);
    }
    EXPECT_EQ((QStringList{g->text(1, 0), g->text(1, 1), g->text(1, 2), g->text(1, 3)}), (QStringList{"1", "00001", "略00001", ""}));
    EXPECT_EQ((QStringList{g->text(2, 0), g->text(2, 1), g->text(2, 3)}), (QStringList{"1", "00002", "奥の部屋"}));
    EXPECT_EQ(g->text(3, 1), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(BulkDeleteTest, WithoutTargetsTheFormSaysThereIsNothingToDelete)
{
    addTarget(0);
    open();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "削除対象はありません");
    EXPECT_EQ(messages()[0].title, "予約一括削除");
    // 削除 says so again: no question, and no word of a deletion that did not happen.
    clickDelete();
    EXPECT_EQ(messageTexts(), QStringList(2, "削除対象はありません"));

    // The same when every listed target has been unmarked.
    addTarget(1);
    form->close();
    flushDeletes();
    open();
    grid()->clickCell(1, 0);
    clearMessages();
    clickDelete();
    EXPECT_EQ(messageTexts(), QStringList{"削除対象はありません"});
}

TEST_F(BulkDeleteTest, TheCutOffCountsBackFromTheDayOfTheDeletionOnADeskLeftRunning)
{
    addTarget(1);
    for (const char* date : {"2025/12/08", "2025/12/09", "2025/12/10"})
        addReservation("00001", date);
    open(); // on 2026/12/08, 12 months
    setNow(QDateTime(QDate(2026, 12, 9), QTime(0, 10)));
    clickDelete();
    EXPECT_EQ(datesOf("00001"), QStringList{"2025/12/10"});
}

TEST_F(BulkDeleteTest, OnlyTheFirstHundredTargetsAreCandidates)
{
    {
        store::Transaction batch(db());
        for (int n = 1; n <= 103; ++n)
            addTarget(n);
        batch.commit();
    }
    open();
    EXPECT_EQ(grid()->text(100, 1), "00100");
    addReservation("00101", "2020/01/01");
    addReservation("00100", "2020/01/01");
    clickDelete();
    EXPECT_EQ(datesOf("00101"), QStringList{"2020/01/01"});
    EXPECT_TRUE(datesOf("00100").isEmpty());
}

TEST_F(BulkDeleteTest, ClickingARowTogglesItsMarkAndOtherRowsAreRefused)
{
    addTarget(1);
    addTarget(2);
    open();
    grid()->clickCell(2, 2);
    EXPECT_EQ(grid()->text(2, 0), "0");
    grid()->clickCell(2, 0);
    EXPECT_EQ(grid()->text(2, 0), "1");
    EXPECT_TRUE(messages().empty());

    grid()->clickCell(0, 1);
    grid()->clickCell(3, 0);
    ASSERT_EQ(messages().size(), 2u);
    for (const msg::Shown& shown : messages()) {
        EXPECT_EQ(shown.text, "指定対象が有効範囲外です｡ ");
        EXPECT_EQ(shown.title, "予約一括削除");
        EXPECT_EQ(shown.icon, msg::Icon::Exclamation);
    }
    EXPECT_EQ(grid()->text(3, 0), "");
}

TEST_F(BulkDeleteTest, MarkedTargetsLoseTheirReservationsUpToTheCutOffDayItself)
{
    setNow(QDateTime(QDate(2024, 5, 20), QTime(9, 0)));
    addTarget(1);
    addTarget(2);
    for (const QString target : {"00001", "00002"}) {
        for (const char* date : {"2022/12/31", "2023/05/20", "2023/05/21", "2024/06/01"})
            addReservation(target, date);
    }
    insert("予約者", {{"予約者_予約者NO", "-000001"}, {"予約者_最新予約日", "2023/01/01"}});
    open();
    grid()->clickCell(2, 0);
    clickDelete();

    EXPECT_EQ(datesOf("00001"), (QStringList{"2023/05/21", "2024/06/01"}));
    EXPECT_EQ(datesOf("00002"), (QStringList{"2022/12/31", "2023/05/20", "2023/05/21", "2024/06/01"}));
    EXPECT_EQ(count("予約者"), 1);
    EXPECT_EQ(count("予約取消"), 0); // housekeeping, not cancellations
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "削除F=1 の予約を削除します。");
    EXPECT_TRUE(messages()[0].question);
    EXPECT_EQ(messages()[0].title, "予約一括削除");
    EXPECT_EQ(messages()[1].text, "削除F=1 の予約は削除されました");
    EXPECT_EQ(messages()[1].title, "");
}

TEST_F(BulkDeleteTest, NoAtTheQuestionDeletesNothing)
{
    addTarget(1);
    addReservation("00001", "2020/01/01");
    open();
    answer({false});
    clickDelete();
    EXPECT_EQ(count("予約"), 1);
    EXPECT_EQ(messageTexts(), QStringList{"削除F=1 の予約を削除します。"});
}

TEST_F(BulkDeleteTest, AfterABadCountYesDeletesWithThePreviousCutOffAndNoDeletesNothing)
{
    // Today 2026/12/08: 12 months gives 2025/12/08.
    addTarget(1);
    for (const char* date : {"2025/06/01", "2025/12/08", "2025/12/09"})
        addReservation("00001", date);
    open();
    form->activateWindow();
    QApplication::setActiveWindow(form);
    months()->setFocus();
    months()->setText("abc");
    grid()->setFocus();
    EXPECT_EQ(ui::textColourNumber(months()), 12);
    EXPECT_EQ(form->firstInTabOrder(), months());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "削除月数に正しく入力してください");
    EXPECT_EQ(messages()[0].icon, msg::Icon::Exclamation);

    answer({false});
    clickDelete();
    EXPECT_EQ(count("予約"), 3);
    EXPECT_EQ(messageTexts().last(), "入力にｴﾗｰがあります処理を続行しますか？");

    answer({true});
    clickDelete();
    EXPECT_EQ(datesOf("00001"), QStringList{"2025/12/09"});
    EXPECT_EQ(messageTexts().last(), "削除F=1 の予約は削除されました");

    months()->setText("18");
    form->削除月数_LostFocus();
    EXPECT_EQ(ui::textColourNumber(months()), 0);
}

TEST_F(BulkDeleteTest, ANegativeCountIsRefusedAndNeverReachesBookingsStillToCome)
{
    addTarget(1);
    for (const char* date : {"2025/01/01", "2026/12/09", "2027/03/01"})
        addReservation("00001", date);
    open();
    months()->setText("-6");
    form->削除月数_LostFocus();
    EXPECT_EQ(messageTexts(), QStringList{"削除月数に正しく入力してください"});
    EXPECT_EQ(ui::textColourNumber(months()), 12);
    clickDelete();
    // Yes to the error question: the cut-off stays at 12 months back.
    EXPECT_EQ(datesOf("00001"), (QStringList{"2026/12/09", "2027/03/01"}));
}

TEST_F(BulkDeleteTest, AFractionOfAMonthIsRoundedAndFullWidthDigitsCount)
{
    addTarget(1);
    for (const char* date : {"2026/10/08", "2026/10/09", "2026/11/09"})
        addReservation("00001", date);
    open();
    months()->setText("１.６");
    form->削除月数_LostFocus();
    EXPECT_TRUE(messages().empty());
    clickDelete();
    EXPECT_EQ(datesOf("00001"), (QStringList{"2026/10/09", "2026/11/09"}));
}

TEST_F(BulkDeleteTest, ANegativeRetentionSettingDeletesNothing)
{
    settings.RetentionMonths = -3;
    addTarget(1);
    addReservation("00001", "2026/12/20");
    open();
    EXPECT_EQ(ui::textColourNumber(months()), 12);
    clickDelete();
    EXPECT_EQ(count("予約"), 1);
    EXPECT_EQ(messageTexts(), (QStringList{"入力にｴﾗｰがあります処理を続行しますか？", "削除月数に正しく入力してください"}));
}

TEST_F(BulkDeleteTest, AStoppedDeletionLeavesTheFileAsItWas)
{
    addTarget(1);
    addTarget(2);
    for (const char* date : {"2025/01/10", "2025/02/10", "2025/03/10"}) {
        addReservation("00001", date);
        addReservation("00002", date);
    }
    const Contents before = tableContents(kAllTables);
    open();
    stopTheNextWork();
    clickDelete();
    EXPECT_EQ(tableContents(kAllTables), before);
    EXPECT_EQ(messageTexts().last(), "削除を中止しました。予約は削除されていません。");
}

} // namespace
