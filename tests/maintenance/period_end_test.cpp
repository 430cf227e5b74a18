// 期末処理: the proposed cut-off date, its check, and the purge of the four dated tables.

#include "maintenance/period_end_form.h"
#include "support/fixture.h"
#include "support/stop_work.h"
#include "support/table_contents.h"
#include "ui/field_check.h"
#include "ui/forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

namespace {

class PeriodEndTest : public DatabaseTest {
protected:
    期末処理* open()
    {
        form = DatabaseTest::open<期末処理>();
        return form;
    }
    QLineEdit* cutOff() const { return form->findChild<QLineEdit*>("取消日"); }
    void confirm() const { form->findChild<QPushButton*>("確定")->click(); }
    QString proposalOn(const QDate& day, const QString& yearStart, int months)
    {
        setNow(QDateTime(day, QTime(9, 0)));
        settings.FiscalYearStart = yearStart;
        settings.RetentionMonths = months;
        open();
        const QString proposal = cutOff()->text();
        form->close();
        flushDeletes();
        return proposal;
    }
    // One record dated `date` in each of the six dated tables, for target `target`.
    void addDated(const QString& target, const QString& date, const QString& reserver)
    {
        insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", date}, {"カレ_休日FLG", 1}});
        insert("予約", {{"予約_設定番号", target},
                        {"予約_年月日", date},
                        {"予約_開始時間", "10:00"},
                        {"予約_予約者NO", reserver},
                        {"予約_終了時間", "11:00"}});
        insert("予約者", {{"予約者_予約者NO", reserver}, {"予約者_最新予約日", date}});
        insert(
            "特定日",
            {{"特定_番号", target}, {"特定_日付", date}, {"特定_開始時間", "09:00"}, {"特定_終了時間", "17:00"}, {"特定_営業フラグ", "0"}});
        insert("予約取消", {{"取消_設定番号", target},
                            {"取消_年月日", date},
                            {"取消_開始時間", "12:00"},
                            {"取消_予約者NO", reserver},
                            {"取消_終了時間", "13:00"},
                            {"取消_日時", "2026/01/05 10:00:00"},
                            {"取消_区分", "1"}});
        insert("キャンセル待ち", {{"待ち_番号", QString(date).remove('/') + "0001"},
                                  {"待ち_設定番号", target},
                                  {"待ち_年月日", date},
                                  {"待ち_開始時間", "10:00"},
                                  {"待ち_終了時間", "11:00"},
                                  {"待ち_予約者NO", reserver},
                                  {"待ち_登録日時", "2024/01/05 10:00:00"},
                                  {"待ち_状態", 1}});
    }
    QStringList dates(const QString& table, const QString& index, const QString& field) const
    {
        QStringList result;
        for (const QStringList& row : rows(table, index, {field}))
            result << row[0];
        return result;
    }

    期末処理* form = nullptr;
};

TEST_F(PeriodEndTest, TheFormShowsItsWarningsAndProposesTheStartOfAnEarlierBusinessYear)
{
    open();
    EXPECT_EQ(form->windowTitle(), "期末処理");
    QStringList labels;
    for (QLabel* l : form->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"取消日範囲", "取消範囲日以前のデータを削除します", "一旦削除すると復元は出来ません", "日付を確認して下さい"})
        EXPECT_TRUE(labels.contains(text)) << text;
    form->close();
    flushDeletes();

    EXPECT_EQ(proposalOn(QDate(2026, 12, 7), "04/01", 12), "2025/04/01");
    EXPECT_EQ(proposalOn(QDate(2026, 2, 15), "04/01", 12), "2024/04/01");
    EXPECT_EQ(proposalOn(QDate(2026, 4, 1), "04/01", 12), "2025/04/01");
    EXPECT_EQ(proposalOn(QDate(2026, 3, 31), "04/01", 12), "2024/04/01");
    EXPECT_EQ(proposalOn(QDate(2026, 2, 15), "01/01", 12), "2025/01/01");
    EXPECT_EQ(proposalOn(QDate(2026, 12, 31), "01/01", 24), "2024/01/01");
    EXPECT_EQ(proposalOn(QDate(2026, 12, 7), "10/1", 6), "2026/04/01");
    // Days of the start month before the start day still belong to the year that began last year.
    EXPECT_EQ(proposalOn(QDate(2024, 4, 10), "04/15", 12), "2022/04/15");
    EXPECT_EQ(proposalOn(QDate(2024, 4, 15), "04/15", 12), "2023/04/15");
    EXPECT_EQ(proposalOn(QDate(2024, 4, 20), "04/15", 12), "2023/04/15");
    // A year start without "/" counts as 1 April.
    EXPECT_EQ(proposalOn(QDate(2026, 12, 7), "0401", 12), "2025/04/01");
    EXPECT_EQ(proposalOn(QDate(2026, 2, 15), "", 12), "2024/04/01");
    EXPECT_TRUE(messages().empty());
}

TEST_F(PeriodEndTest, AnEmptyOrWrongDateIsRefusedAndDeletesNothing)
{
    addDated("00001", "2020/01/01", "-000001");
    open();
    cutOff()->setText("  ");
    confirm();
    cutOff()->setText("2025/02/30");
    confirm();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "取消日に入力してください");
    EXPECT_EQ(messages()[1].text, "取消日に正しく入力してください");
    for (const msg::Shown& shown : messages()) {
        EXPECT_EQ(shown.title, "期末処理");
        EXPECT_EQ(shown.icon, msg::Icon::Exclamation);
    }
    EXPECT_EQ(ui::textColourNumber(cutOff()), 12);
    EXPECT_EQ(form->firstInTabOrder(), cutOff());
    EXPECT_EQ(count("予約"), 1);

    cutOff()->setText("２０２５/4/1");
    form->取消日_LostFocus();
    EXPECT_EQ(cutOff()->text(), "2025/04/01");
    EXPECT_EQ(ui::textColourNumber(cutOff()), 0);
}

TEST_F(PeriodEndTest, EveryDatedTableLosesItsRecordsUpToTheCutOffDayItself)
{
    addDated("00000", "2024/03/31", "-000001");
    addDated("00001", "2025/04/01", "-000002");
    addDated("00002", "2025/04/02", "-000003");
    addDated("00001", "1989/12/31", "-000004");
    // A reserver whose latest booking is after the cut-off stays, though older bookings go.
    insert("予約", {{"予約_設定番号", "00001"}, {"予約_年月日", "2025/01/10"}, {"予約_予約者NO", "-000003"}});
    // A reserver entered without a reservation has no date and is never purged.
    insert("予約者", {{"予約者_予約者NO", "-000005"}});
    insert("営業", {{"営業_番号", "00000"}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}});
    insert("設定", {{"設定_番号", "00001"}});
    // A series whose dates all go goes with them; one with a later date stays with that date.
    for (const auto& [series, first, last] : {std::tuple{"1", "2024/03/31", "2025/04/01"}, {"2", "2025/04/01", "2025/04/02"}}) {
        insert("定期予約",
               {{"定期_番号", series}, {"定期_開始日", first}, {"定期_終了日", last}, {"定期_登録日時", "2024/03/01 10:00:00"}});
        for (const char* date : {first, last})
            insert("定期日程", {{"日程_定期番号", series}, {"日程_年月日", date}, {"日程_状態", 1}});
    }

    open();
    cutOff()->setText("2025/4/1");
    confirm();

    EXPECT_EQ(dates("カレンダー", "Idx_カレンダー", "カレ_年月日"), (QStringList{"1989/12/31", "2025/04/02"}));
    EXPECT_EQ(dates("予約", "Idx_日付", "予約_年月日"), (QStringList{"1989/12/31", "2025/04/02"}));
    EXPECT_EQ(dates("予約者", "Key_予約者", "予約者_予約者NO"), (QStringList{"-000003", "-000004", "-000005"}));
    EXPECT_EQ(dates("特定日", "Idx_日付", "特定_日付"), (QStringList{"1989/12/31", "2025/04/02"}));
    EXPECT_EQ(dates("予約取消", "Idx_日付", "取消_年月日"), (QStringList{"1989/12/31", "2025/04/02"}));
    EXPECT_EQ(dates("キャンセル待ち", "Idx_日付", "待ち_年月日"), (QStringList{"1989/12/31", "2025/04/02"}));
    EXPECT_EQ(count("営業"), 1);
    EXPECT_EQ(count("設定"), 1);
    EXPECT_EQ(dates("定期予約", "Key_定期予約", "定期_番号"), QStringList{"2"});
    EXPECT_EQ(rows("定期日程", "Key_定期日程", {"日程_定期番号", "日程_年月日"}), (std::vector<QStringList>{{"2", "2025/04/02"}}));

    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "保持期限の過ぎたデータを削除します。");
    EXPECT_TRUE(messages()[0].question);
    EXPECT_EQ(messages()[0].title, "期末処理");
    EXPECT_EQ(messages()[1].text, "期末削除処理は終了しました");
    EXPECT_EQ(messages()[1].icon, msg::Icon::None);
    EXPECT_EQ(messages()[1].title, "期末処理");

    // The form stays open for another run with another date.
    cutOff()->setText("2025/04/02");
    confirm();
    EXPECT_EQ(dates("予約", "Idx_日付", "予約_年月日"), QStringList{"1989/12/31"});
}

TEST_F(PeriodEndTest, NoAtTheQuestionDeletesNothing)
{
    addDated("00001", "2020/01/01", "-000001");
    open();
    answer({false});
    confirm();
    for (const char* table : {"カレンダー", "予約", "予約者", "特定日", "予約取消", "キャンセル待ち"})
        EXPECT_EQ(count(table), 1) << table;
    EXPECT_EQ(messageTexts(), QStringList{"保持期限の過ぎたデータを削除します。"});
}

TEST_F(PeriodEndTest, AStoppedPurgeLeavesTheFileAsItWasAndCanRunAgain)
{
    addDated("00001", "2025/01/10", "R1");
    addDated("00001", "2025/02/10", "R2");
    addDated("00002", "2025/03/01", "R3");
    const Contents before = tableContents(kAllTables);
    open();
    cutOff()->setText("2025/12/31");
    stopTheNextWork();
    confirm();
    EXPECT_EQ(tableContents(kAllTables), before);
    EXPECT_EQ(messageTexts().last(), "期末削除処理を中止しました。データは削除されていません。");

    confirm();
    EXPECT_EQ(count("予約"), 0);
    EXPECT_EQ(messageTexts().last(), "期末削除処理は終了しました");
}

} // namespace
