// Database handles, statements, transactions and the failures an operator can meet.

#include "support/file_faults.h"
#include "support/fixture.h"
#include "store/file_tools.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <optional>
#include <sqlite3.h>

namespace {

class DatabaseHandleTest : public DatabaseTest {};

class StoreHandleTest : public BothStoresTest {
protected:
    void addReservation(const QString& target, const QString& date)
    {
        insert("予約", {{"予約_設定番号", target}, {"予約_年月日", date}, {"予約_開始時間", "10:00"}, {"予約_予約者NO", "-000001"}});
    }
    QString futureQuery(const QString& target, const QString& date)
    {
        return "SELECT 予約.* From 予約  WHERE 予約.予約_設定番号 =  " + store::sqlLiteral(target) +
               " AND 予約.予約_年月日 >=  " + store::sqlLiteral(date) + " ORDER BY 予約.予約_年月日 DESC ; ";
    }
};

TEST_F(DatabaseHandleTest, AMissingFileIsAnErrorAndNothingIsCreated)
{
    QFile::remove("Kelvora.mdb");
    try {
        db();
        FAIL() << "opened a missing file";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(error.message().contains("Kelvora.mdb"));
    }
    EXPECT_FALSE(QFile::exists("Kelvora.mdb"));
}

TEST_P(StoreHandleTest, FutureReservationQuerySelectsOneTargetFromTheDateOn)
{
    addReservation("00001", "2026/12/07");
    EXPECT_FALSE(db().queryHasRows(futureQuery("00001", "2026/12/08")));
    addReservation("00002", "2026/12/09");
    EXPECT_FALSE(db().queryHasRows(futureQuery("00001", "2026/12/08")));
    addReservation("00001", "2026/12/08");
    EXPECT_TRUE(db().queryHasRows(futureQuery("00001", "2026/12/08")));

    // A quote in the target number stays inside its literal.
    addReservation("0'1", "2026/12/10");
    EXPECT_TRUE(db().queryHasRows(futureQuery("0'1", "2026/12/08")));
    EXPECT_FALSE(db().queryHasRows(futureQuery("x' OR '1'='1", "2026/12/08")));
    EXPECT_THROW(db().queryHasRows("SELECT 1; DELETE FROM 予約"), store::StoreError);
    EXPECT_EQ(count("予約"), 4);
}

TEST_P(StoreHandleTest, WholeTableDeletionsAndNothingElse)
{
    addReservation("00001", "2026/12/07");
    addReservation("00002", "2026/12/07");
    db().execute("DELETE * FROM 予約 ;");
    EXPECT_EQ(count("予約"), 0);
    EXPECT_THROW(db().execute("DROP TABLE 予約"), store::StoreError);
    EXPECT_THROW(db().execute("DELETE * FROM sqlite_master ;"), store::StoreError);
}

TEST_P(StoreHandleTest, TransactionsAreAllOrNothing)
{
    {
        store::Database database = db();
        store::Transaction transaction(database);
        store::Table targets = database.table("設定");
        targets.addNew();
        targets.set("設定_番号", "00001");
        targets.update();
    }
    EXPECT_EQ(count("設定"), 0);
    {
        store::Database database = db();
        store::Transaction outer(database);
        {
            store::Transaction inner(database);
            insert("設定", {{"設定_番号", "00001"}});
            inner.commit();
        }
        insert("設定", {{"設定_番号", "00002"}});
        outer.commit();
    }
    EXPECT_EQ(count("設定"), 2);
}

TEST_P(StoreHandleTest, MissingTablesAndIndexesAreNamedInTheError)
{
    runSql("DROP INDEX \"予約.Key_予約\"");
    try {
        store::Table reservations = db().table("予約");
        reservations.setIndex("key_予約");
        FAIL() << "selected a missing index";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(error.message().contains("key_予約"));
    }
    runSql("DROP TABLE 発番");
    try {
        db().table("発番");
        FAIL() << "opened a missing table";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(error.message().contains("発番"));
    }
}

ON_BOTH_STORES(StoreHandleTest);

TEST_F(DatabaseHandleTest, MainAndBackupFilesSideBySide)
{
    insert("設定", {{"設定_番号", "00001"}});
    store::backupDatabaseFile(store::kMainFile, store::kBackupFile);
    insert("設定", {{"設定_番号", "00002"}});

    store::Database main = store::Database::open(store::kMainFile);
    store::Database backup = store::Database::open(store::kBackupFile);
    store::Table fromBackup = backup.table("設定");
    fromBackup.setIndex("Key_設定");
    fromBackup.seek(">=", {""});
    store::Table fromMain = main.table("設定");
    fromMain.setIndex("Key_設定");
    fromMain.seek("=", {"00002"});
    EXPECT_FALSE(fromMain.noMatch());
    EXPECT_EQ(fromBackup.text("設定_番号"), "00001");
    fromBackup.moveNext();
    EXPECT_TRUE(fromBackup.eof());
}

// The desks tell of each other by shared locks on the companion "-desks" beside the file: it goes
// with the last desk that closes the file, never from under a desk that holds it, and a desk whose
// companion was taken away while it changed its lock holds the one under the name again.
TEST_F(DatabaseHandleTest, TheDesksCompanionGoesWithTheLastDeskOnly)
{
    store::createDatabaseFile("desks.mdb");
    const QString companion = "desks.mdb-desks";
    std::optional<store::Database> a = store::Database::openSeparately("desks.mdb");
    std::optional<store::Database> b = store::Database::openSeparately("desks.mdb");
    EXPECT_TRUE(a->othersConnected());
    b.reset();
    EXPECT_TRUE(QFile::exists(companion)) << "taken away from under a desk";
    EXPECT_FALSE(a->othersConnected());

    QFile::remove(companion);
    EXPECT_FALSE(a->othersConnected());
    b = store::Database::openSeparately("desks.mdb");
    EXPECT_TRUE(a->othersConnected()) << "a desk left holding a companion no other desk finds";
    EXPECT_TRUE(b->othersConnected());
    a.reset();
    b.reset();
    EXPECT_FALSE(QFile::exists(companion));

    // A desk of another login, which may not write the companion the first one made, still sees
    // it (the immutable attribute refuses writing even here, where tests run as root).
    a = store::Database::openSeparately("desks.mdb");
    {
        ImmutablePath unwritable(companion);
        if (!unwritable.holds())
            GTEST_SKIP() << "the immutable attribute cannot be set here";
        b = store::Database::openSeparately("desks.mdb");
        EXPECT_TRUE(a->othersConnected());
        EXPECT_TRUE(b->othersConnected());
        b.reset();
    }
}

TEST_F(DatabaseHandleTest, AFileThatIsNotADatabaseIsReportedAsSuch)
{
    QFile::remove("Kelvora.mdb");
    QFile junk("Kelvora.mdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    try {
        db();
        FAIL() << "opened a file that is not a database";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(error.message().contains("データベースファイルではありません"));
    }
}

// The data folder, not the file, is what stops a save when the journal cannot be made beside the
// file; and a folder too deep for SQLite's paths is said to be so.
TEST_F(DatabaseHandleTest, TheDataFolderIsNamedWhenItIsWhatStopsTheFile)
{
    {
        ImmutablePath locked(folder());
        if (!locked.holds())
            GTEST_SKIP() << "the immutable attribute cannot be set here";
        try {
            insert("設定", {{"設定_番号", "00001"}});
            FAIL() << "saved into a folder that cannot be written";
        } catch (const store::StoreError& error) {
            EXPECT_TRUE(
                error.message().startsWith(QString("フォルダ「%1」に書き込めないため、データベース「Kelvora.mdb」に書き込めません。")
                                               .arg(QDir(folder()).absolutePath())))
                << error.message().toStdString();
        }
    }
    EXPECT_EQ(count("設定"), 0);

    QString deep = folder();
    while (deep.toUtf8().size() <= 512)
        deep += '/' + QString(50, u'深');
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QFile::copy("Kelvora.mdb", deep + "/Kelvora.mdb"));
    ASSERT_TRUE(QDir::setCurrent(deep));
    workIn(deep);
    try {
        db();
        FAIL() << "the path was not too long after all";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(error.message().startsWith("データベース「Kelvora.mdb」のパスが長すぎるため開けません"))
            << error.message().toStdString();
    }
}

} // namespace

namespace {

TEST_F(DatabaseTest, AReadingTransactionDoesNotHoldUpAnotherProgramThatWrites)
{
    insert("設定", {{"設定_番号", "00001"}});
    store::Database database = db();
    store::Transaction reading(database, store::Transaction::ForReading);
    store::Table targets = database.table("設定");
    targets.setIndex("Key_設定");
    targets.seek("=", {"00001"});
    ASSERT_FALSE(targets.noMatch());
    // Another program (here a connection of its own) takes the write lock while the look-ups go on.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2("Kelvora.mdb", &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    reading.commit();
}

} // namespace
