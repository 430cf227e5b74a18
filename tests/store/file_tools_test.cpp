// Making, checking and copying whole database files.

#include "support/fixture.h"
#include "store/file_tools.h"
#include "store/store_error.h"

#include <QFile>
#include <sqlite3.h>

namespace {

using FileToolsTest = DatabaseTest;

TEST_F(FileToolsTest, ANewFileHasEveryTableAndIndexAndPassesTheCheck)
{
    EXPECT_TRUE(store::checkDatabaseFile("Kelvora.mdb").isEmpty());
    EXPECT_THROW(store::createDatabaseFile("Kelvora.mdb"), store::StoreError);
}

TEST_F(FileToolsTest, TheCheckNamesWhatIsMissingOrWrong)
{
    runSql("DROP INDEX \"予約者.Idx_カナ\"");
    runSql("DROP TABLE 発番");
    runSql("ALTER TABLE 設定 ADD COLUMN extra TEXT");
    const QStringList problems = store::checkDatabaseFile("Kelvora.mdb");
    EXPECT_EQ(problems.size(), 4) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.join('\n').contains("Idx_カナ"));
    EXPECT_TRUE(problems.join('\n').contains("テーブル「発番」がありません"));
    EXPECT_TRUE(problems.join('\n').contains("Key_発番"));
    EXPECT_TRUE(problems.join('\n').contains("extra"));
}

TEST_F(FileToolsTest, ABackupHoldsTheSameRecords)
{
    insert("予約者", {{"予約者_予約者NO", "-000001"}, {"予約者_予約者名", "佐藤"}});
    store::backupDatabaseFile("Kelvora.mdb", "copy.mdb");
    EXPECT_TRUE(store::checkDatabaseFile("copy.mdb").isEmpty());
    store::Table copy = store::Database::open("copy.mdb").table("予約者");
    copy.setIndex("Key_予約者");
    copy.seek("=", {"-000001"});
    EXPECT_EQ(copy.text("予約者_予約者名"), "佐藤");
    EXPECT_THROW(store::backupDatabaseFile("absent.mdb", "other.mdb"), store::StoreError);
    EXPECT_FALSE(QFile::exists("other.mdb"));
}

} // namespace
