// 警告 and DB再編成: the warning form, the steps and their prompts, and a main file that keeps
// its records whenever a step cannot copy.

#include "support/fixture.h"
#include "support/stop_work.h"
#include "support/table_contents.h"
#include "maintenance/reorganise.h"
#include "maintenance/warning_form.h"
#include "records/reservers.h"
#include "store/file_tools.h"
#include "ui/forms.h"

#include <QFile>
#include <optional>
#include <QLabel>
#include <QPushButton>
#include <sqlite3.h>

namespace {

const QString kDone = "ﾃﾞｰﾀ･ﾍﾞｽの再編成は完了しました。";

QString completed(const QString& table)
{
    return table == "マスタ" ? "マスタ正常終了しました。残りを続けますか" : table + "は正常終了しました。残りを続けますか";
}

QString failed(const QString& table)
{
    return table == "マスタ" ? "マスタ失敗しました。残りを続けますか" : table + "は失敗しました。残りを続けますか";
}

class ReorganiseTest : public DatabaseTest {
protected:
    // One record in every table, told apart by `tag` ("1", "2", ...).
    void fill(const QString& tag)
    {
        const QString target = "0000" + tag;
        const QString day = "2025/06/0" + tag;
        insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", day}, {"カレ_休日FLG", 1}, {"カレ_備考", "休" + tag}});
        insert("マスタ", {{"マス_番号", tag.toInt()}, {"マス_内容", "内容" + tag}, {"マス_備考", "備考" + tag}});
        insert("営業", {{"営業_番号", target}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}, {"営業_営業フラグ", "0"}});
        insert("基本", {{"基本_番号", target}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", 1}, {"基本_重複数", 2}});
        insert("設定", {{"設定_番号", target}, {"設定_名称", "名称" + tag}, {"設定_略称", "略" + tag}});
        insert(
            "特定日",
            {{"特定_番号", target}, {"特定_日付", day}, {"特定_開始時間", "10:00"}, {"特定_終了時間", "12:00"}, {"特定_営業フラグ", "1"}});
        insert("日別", {{"日別_番号", target},
                        {"日別_区分", 1},
                        {"日別_日付", 3},
                        {"日別_開始時間", "10:00"},
                        {"日別_終了時間", "16:00"},
                        {"日別_営業フラグ", "0"}});
        insert("発番", {{"発番_設備", target}, {"発番_番号", "00001" + tag}});
        insert("予約", {{"予約_設定番号", target},
                        {"予約_年月日", day},
                        {"予約_開始時間", "10:00"},
                        {"予約_予約者NO", "-00000" + tag},
                        {"予約_重複", "1"},
                        {"予約_終了時間", "11:00"},
                        {"予約_受付日", "2025/5/" + tag},
                        {"予約_予約者名", "名前" + tag}});
        insert("予約者", {{"予約者_予約者NO", "-00000" + tag},
                          {"予約者_予約者名", "名前" + tag},
                          {"予約者_性別", 2},
                          {"予約者_電話番号", "03-0000-000" + tag},
                          {"予約者_最新予約日", day}});
        insert("予約取消", {{"取消_設定番号", target},
                            {"取消_年月日", day},
                            {"取消_開始時間", "12:00"},
                            {"取消_予約者NO", "-00000" + tag},
                            {"取消_終了時間", "13:00"},
                            {"取消_日時", "2025/05/0" + tag + " 09:30:00"},
                            {"取消_区分", "1"},
                            {"取消_理由", "理由" + tag}});
    }
    Contents snapshot() const { return tableContents(kAllTables); }
    void takeBackup() { store::backupDatabaseFile(store::kMainFile, store::kBackupFile); }
    void onBackup(const char* sql)
    {
        sqlite3* file = nullptr;
        ASSERT_EQ(sqlite3_open_v2(store::kBackupFile.toUtf8().constData(), &file, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(file, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(file);
        sqlite3_close(file);
    }
};

TEST_F(ReorganiseTest, TheWarningFormCancelsWithoutTouchingAnything)
{
    警告* form = open<警告>();
    EXPECT_EQ(form->windowTitle(), "警告");
    QStringList labels;
    for (QLabel* l : form->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_EQ(labels, (QStringList{"バックアップの準備は終了していますか？", "準備なしに実行すると今までのデータが失われます。",
                                   "処理を続行しますか？", "１．続行するのであれば確定ボタンを押して下さい", "２．準備が出来ていなけれぱ",
                                   "      ＣＡＮＣＥＬボタンを押して下さい"}));
    EXPECT_EQ(form->findChild<QPushButton*>("確定")->text(), "確定");
    EXPECT_EQ(form->findChild<QPushButton*>("CANCEL")->text(), "ＣＡＮＣＥＬ");

    answer({false});
    form->findChild<QPushButton*>("確定")->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(messageTexts(), QStringList{DB再編成::kConfirmation});
    EXPECT_EQ(messages()[0].title, "DB再編成");

    form->findChild<QPushButton*>("CANCEL")->click();
    flushDeletes();
    EXPECT_EQ(forms::find<警告>(), nullptr);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(ReorganiseTest, AnIdenticalCopyGivesBackEveryRecordWithDatesInFullForm)
{
    fill("1");
    fill("2");
    takeBackup();
    Contents expected = snapshot();
    expected["予約"][0][6] = "2025/05/01";
    expected["予約"][1][6] = "2025/05/02";

    警告* form = open<警告>();
    form->findChild<QPushButton*>("確定")->click();
    flushDeletes();
    EXPECT_EQ(forms::find<警告>(), nullptr);

    EXPECT_EQ(snapshot(), expected);
    // The reservers' look-up keys are made from the reservers the step copied.
    EXPECT_EQ(records::reserverNumbersByPhoneEnd(db(), "0002", 10), QStringList{"-000002"});
    EXPECT_EQ(count("予約者検索"), 2);
    QStringList prompts = {DB再編成::kConfirmation, DB再編成::kConfirmation};
    for (const QString& table : kAllTables)
        prompts << completed(table);
    prompts << kDone;
    EXPECT_EQ(messageTexts(), prompts);
    for (const msg::Shown& shown : messages())
        EXPECT_EQ(shown.title, "DB再編成");
    EXPECT_TRUE(messages()[11].question);
    EXPECT_EQ(messages().back().icon, msg::Icon::Exclamation);
    EXPECT_FALSE(messages().back().question);
}

TEST_F(ReorganiseTest, AnEmptyTableInTheCopyEmptiesTheMainTable)
{
    fill("1");
    takeBackup();
    store::Database::open(store::kBackupFile).execute("DELETE * FROM 発番 ;");
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(count("発番"), 0);
    EXPECT_EQ(count("予約"), 1);
    EXPECT_TRUE(messageTexts().contains(completed("発番")));
    EXPECT_EQ(messageTexts().last(), kDone);
}

TEST_F(ReorganiseTest, NoAfterTheThirdStepLeavesTheOtherTablesAsTheyWere)
{
    fill("1");
    takeBackup();
    const Contents copy = snapshot();
    fill("2");
    const Contents before = snapshot();

    answer({true, true, true, false});
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);

    const Contents after = snapshot();
    for (const QString& table : kAllTables) {
        const bool rebuilt = table == "カレンダー" || table == "マスタ" || table == "営業";
        EXPECT_EQ(after.at(table), rebuilt ? copy.at(table) : before.at(table)) << table.toStdString();
    }
    EXPECT_EQ(messageTexts(), (QStringList{DB再編成::kConfirmation, completed("カレンダー"), completed("マスタ"), completed("営業")}));
}

TEST_F(ReorganiseTest, AStoppedStepKeepsItsTableAndAsksItsOwnPrompt)
{
    fill("1");
    takeBackup();
    fill("2");
    const Contents before = snapshot();
    answer({true, false});
    stopTheNextWork();
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(messageTexts(), (QStringList{DB再編成::kConfirmation, failed("カレンダー")}));
}

TEST_F(ReorganiseTest, NoAtTheOpeningQuestionChangesNothing)
{
    fill("1");
    takeBackup();
    fill("2");
    const Contents before = snapshot();
    answer({false});
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(messageTexts(), QStringList{DB再編成::kConfirmation});
}

TEST_F(ReorganiseTest, AnotherDeskWithTheFileOpenIsToldOfAndNothingIsReplaced)
{
    fill("1");
    takeBackup();
    fill("2");
    const Contents before = snapshot();
    std::optional<store::Database> another = otherDesk();
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(messageTexts(), QStringList{"他の端末がﾃﾞｰﾀ･ﾍﾞｽを使用中のため、再編成は行えません。他の端末を終了してから行って下さい。"});

    another.reset(); // the other desk closes
    clearMessages();
    answer({false});
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(messageTexts(), QStringList{DB再編成::kConfirmation});
}

TEST_F(ReorganiseTest, WithoutACopyEveryStepFailsAndTheMainFileKeepsEveryRecord)
{
    fill("1");
    fill("2");
    const Contents before = snapshot();
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(snapshot(), before);
    QStringList prompts = {DB再編成::kConfirmation};
    for (const QString& table : kAllTables)
        prompts << failed(table);
    prompts << kDone;
    EXPECT_EQ(messageTexts(), prompts);

    // Stopping at a failure prompt stops the sequence there.
    clearMessages();
    answer({true, false});
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(messageTexts(), (QStringList{DB再編成::kConfirmation, failed("カレンダー")}));
}

TEST_F(ReorganiseTest, ACopyWithoutOneTableFailsThatStepOnlyAndTheMainTableKeepsItsRecords)
{
    fill("1");
    takeBackup();
    onBackup("DROP TABLE 予約");
    fill("2");
    const Contents before = snapshot();
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    const Contents after = snapshot();
    EXPECT_EQ(after.at("予約"), before.at("予約"));
    EXPECT_EQ(after.at("予約者").size(), 1u);
    EXPECT_TRUE(messageTexts().contains(failed("予約")));
    EXPECT_TRUE(messageTexts().contains(completed("予約者")));
}

TEST_F(ReorganiseTest, ARecordThatCannotBeCopiedHalfWayLeavesTheMainTableAsItWas)
{
    fill("1");
    fill("2");
    takeBackup();
    // The second record of the copy holds a flag that is neither 1 nor 0.
    onBackup("UPDATE 基本 SET 基本_重複 = 'x' WHERE 基本_番号 = '00002'");
    fill("3");
    const Contents before = snapshot();
    EXPECT_FALSE(DB再編成::CopyTableStep(db(), store::kBackupFile, 4));
    EXPECT_EQ(snapshot().at("基本"), before.at("基本"));
    EXPECT_TRUE(DB再編成::CopyTableStep(db(), store::kBackupFile, 5));
    EXPECT_EQ(snapshot().at("設定").size(), 2u);
}

TEST_F(ReorganiseTest, ACopyThatIsTheMainFileItselfIsRefused)
{
    fill("1");
    ASSERT_TRUE(QFile::link(store::kMainFile, store::kBackupFile));
    const Contents before = snapshot();
    EXPECT_FALSE(DB再編成::CopyTableStep(db(), store::kBackupFile, 9));
    EXPECT_EQ(snapshot(), before);
}

} // namespace
