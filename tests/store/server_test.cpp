// The store on a database server: what the operator meets when the server or its rights fail.

#include "support/file_faults.h"
#include "support/fixture.h"
#include "support/test_server.h"
#include "store/file_tools.h"
#include "store/store_error.h"

#include <QCoreApplication>

namespace {

class ServerStoreTest : public DatabaseTest {
protected:
    bool onServer() const override { return true; }

    QString failureOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const store::StoreError& error) {
            return error.message();
        }
        ADD_FAILURE() << "no StoreError";
        return {};
    }
};

TEST_F(ServerStoreTest, AServerThatCannotBeReachedIsNamedWithTheReason)
{
    const QString unreachable = failureOf([] { store::Database::open("host=/nonexistent/folder dbname=kelvora"); });
    EXPECT_TRUE(unreachable.contains("データベースサーバー「/nonexistent/folder:5432」のデータベース「kelvora」に接続できません"))
        << unreachable.toStdString();
    EXPECT_TRUE(unreachable.contains("理由: ")) << unreachable.toStdString();

    const QString malformed = failureOf([] { store::Database::open("dbname=kelvora hots=server"); });
    EXPECT_TRUE(malformed.contains("接続文字列が正しくありません")) << malformed.toStdString();
}

// The server drops the desk's connection in the middle of a booking: the booking is gone whole,
// one message says so (when the booking is saved: its writes go with its COMMIT), and the next
// booking works on a connection made again.
TEST_F(ServerStoreTest, ALostConnectionRollsBackAndTheNextActionReconnects)
{
    store::Database database = db();
    QString lost;
    {
        store::Transaction booking(database);
        insert("予約", {{"予約_設定番号", "00001"}, {"予約_年月日", "2026/12/08"}, {"予約_開始時間", "10:00"}});
        EXPECT_EQ(count("予約"), 1);
        test_server::runSql("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'kelvora' "
                            "AND datname = current_database()",
                            serverAddress());
        lost = failureOf([&] {
            insert("予約", {{"予約_設定番号", "00001"}, {"予約_年月日", "2026/12/08"}, {"予約_開始時間", "11:00"}});
            booking.commit();
        });
    }
    EXPECT_TRUE(lost.contains("との接続が切れました")) << lost.toStdString();
    EXPECT_TRUE(lost.contains("取り消されました")) << lost.toStdString();
    EXPECT_EQ(count("予約"), 0);
    insert("予約", {{"予約_設定番号", "00001"}, {"予約_年月日", "2026/12/08"}, {"予約_開始時間", "12:00"}});
    EXPECT_EQ(count("予約"), 1);
}

TEST_F(ServerStoreTest, ARoleThatMayOnlyReadIsToldItCannotWrite)
{
    const QString reader = QString("reader_%1").arg(QCoreApplication::applicationPid());
    test_server::runSql(QString("DROP ROLE IF EXISTS %1; CREATE ROLE %1 LOGIN").arg(reader));
    test_server::runSql(QString("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(reader), serverAddress());
    const store::Database reading = store::Database::open(serverAddress() + " user=" + reader);
    store::Table targets = reading.table("設定", "Key_設定");
    targets.seek(">=", {""});
    EXPECT_TRUE(targets.eof());
    targets.addNew();
    targets.set("設定_番号", "00001");
    const QString refused = failureOf([&] { targets.update(); });
    EXPECT_TRUE(refused.contains("に書き込む権限がありません")) << refused.toStdString();
    EXPECT_EQ(count("設定"), 0);
}

TEST_F(ServerStoreTest, TheCheckNamesWhatTheDatabaseLacksOrHoldsBesides)
{
    EXPECT_EQ(store::checkDatabase(serverAddress()), QStringList());
    runSql("DROP INDEX \"予約者.Idx_カナ\"; DROP TABLE 発番; ALTER TABLE 設定 ADD COLUMN extra text;"
           "CREATE TABLE other (x int)");
    insert("予約者", {{"予約者_予約者NO", "-000001"}});
    insert("予約者", {{"予約者_予約者NO", "-000001"}});
    const QStringList problems = store::checkDatabase(serverAddress());
    for (const char* expected :
         {"テーブル「予約者」にインデックス「Idx_カナ」がありません。", "テーブル「発番」がありません。",
          "テーブル「発番」にインデックス「Key_発番」がありません。", "テーブル「設定」に余分な項目「extra」があります。",
          "このシステムのものではないテーブル「other」があります。",
          "テーブル「予約者」のキー「Key_予約者」（-000001）が 2 行にあります。1 行だけのはずです。"})
        EXPECT_TRUE(problems.contains(QString::fromUtf8(expected))) << expected << "\n" << problems.join('\n').toStdString();
    EXPECT_EQ(problems.size(), 6) << problems.join('\n').toStdString();
}

// Values are checked on a server as in a file: a date of another form, a NULL where another tool
// let one in, an integer out of range, a reserver put in without its look-up keys (past the
// triggers that note such a reserver).
TEST_F(ServerStoreTest, TheCheckNamesAValueThatIsNullOrOfTheWrongShape)
{
    runSql("INSERT INTO 予約 (予約_設定番号, 予約_年月日, 予約_開始時間, 予約_終了時間) VALUES ('00001', '2026/12/8', '10:00', '10:30'),"
           " ('00001', '2026/12/09', '11:00', '11:30');"
           "ALTER TABLE 予約 ALTER COLUMN 予約_終了時間 DROP NOT NULL; UPDATE 予約 SET 予約_終了時間 = NULL WHERE 予約_開始時間 = '11:00';"
           "INSERT INTO 予約者 (\"予約者_予約者NO\", 予約者_性別) VALUES ('-000001', 70000); DELETE FROM 予約者変更");
    const QStringList problems = store::checkDatabase(serverAddress());
    for (const char* expected :
         {"テーブル「予約」の行（予約_設定番号=00001, 予約_年月日=2026/12/8, 予約_開始時間=10:00, 予約_予約者NO=）: "
          "項目「予約_年月日」の値「2026/12/8」が日付（yyyy/mm/dd）ではありません。",
          "テーブル「予約」の行（予約_設定番号=00001, 予約_年月日=2026/12/09, 予約_開始時間=11:00, 予約_予約者NO=）: "
          "項目「予約_終了時間」の値がありません（NULL）。",
          "テーブル「予約者」の行（予約者_予約者NO=-000001）: 項目「予約者_性別」の値「70000」が整数（-32768～32767）ではありません。",
          "テーブル「予約者検索」の検索キーが 1 "
          "人の予約者（-000001）と合っていません。予約者照会で見つからないことがあります（再編成で作り直されます）。"})
        EXPECT_TRUE(problems.contains(QString::fromUtf8(expected))) << expected << "\n" << problems.join('\n').toStdString();
    // The fifth names the column that lets NULL in.
    EXPECT_EQ(problems.size(), 5) << problems.join('\n').toStdString();
}

// A database made before cancellations were kept gets their table and its indexes when a desk
// opens it, and checks sound afterwards.
TEST_F(ServerStoreTest, ADatabaseOfTheFormerVersionGetsTheCancellationTableWhenOpened)
{
    runSql(dropLaterThan(1, store::schema::Engine::Server));
    const store::Database desk = otherDesk();
    store::Table cancelled = desk.table("予約取消", "Idx_日時");
    cancelled.seek(">=", {""});
    EXPECT_TRUE(cancelled.eof());
    EXPECT_EQ(store::checkDatabase(serverAddress()), QStringList());
}

// Desks on the server see each other: another connection to the database is known, a desk that
// writes waits for another desk's writing transaction as on a file, and a transaction that
// serialises on a key holds another on the same key (each wait here given 0.1 s). A transaction
// takes its locks with its first statement.
TEST_F(ServerStoreTest, DesksSeeEachOtherAndWaitForAWriterAndForTheSameKey)
{
    const store::Database deskA = db();
    EXPECT_FALSE(deskA.othersConnected());
    const store::Database deskB = otherDesk();
    EXPECT_TRUE(deskA.othersConnected());
    deskB.connection()->run("SET lock_timeout = 100", QString());
    const auto firstStatement = [](const store::Database& desk) { desk.table("設定", "Key_設定").seek(">=", {""}); };

    store::Transaction holding(deskA);
    holding.serialise("予約 00001 2026/12/08");
    firstStatement(deskA);
    const QString writer = failureOf([&] {
        store::Transaction writing(deskB);
        firstStatement(deskB);
    });
    EXPECT_TRUE(writer.contains("は他の端末が使用中です")) << writer.toStdString();
    store::Transaction waiting(deskB, store::Transaction::ForReading);
    waiting.serialise("予約 00001 2026/12/09");
    const QString busy = failureOf([&] {
        waiting.serialise("予約 00001 2026/12/08");
        firstStatement(deskB);
    });
    EXPECT_TRUE(busy.contains("は他の端末が使用中です")) << busy.toStdString();
}

} // namespace
