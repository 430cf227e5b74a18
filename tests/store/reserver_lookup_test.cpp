// Finding a reserver by what the desk types, on both stores: the look-up keys kept with every
// reserver, and made for the reservers of a database of the version before them.

#include "records/reservers.h"
#include "rules/reserver_lookup.h"
#include "store/file_tools.h"
#include "support/file_faults.h"
#include "support/fixture.h"

#include <QFile>

namespace {

class ReserverLookupTest : public BothStoresTest {
protected:
    void SetUp() override
    {
        BothStoresTest::SetUp();
        save({"-000001", "ヤマダ ハナコ", "山田花子", "", "", "03-1234-5678", "090-1111-2222"});
        save({"-000002", "やまもと", "山本一郎", "", "", "(045)987-6543", ""});
        save({"-000003", "ｻﾄｳ", "佐藤50%'会員_\\", "", "", "", "080-3333-5678"});
    }

    void save(records::Reserver r) const { records::saveReserver(db(), r); }

    // The numbers of the reservers listed for what was typed, in the order listed.
    static QStringList found(const store::Database& database, const QString& typed)
    {
        QStringList numbers;
        for (const records::Reserver& r : reserver_lookup::findReservers(database, typed).reservers)
            numbers << r.number;
        return numbers;
    }
    QStringList found(const QString& typed) const { return found(db(), typed); }
};

TEST_P(ReserverLookupTest, EachWayOfTypingFindsTheReserver)
{
    // Phone and mobile, whole or by their last four digits or more, typed in any width.
    EXPECT_EQ(found("03-1234-5678"), QStringList{"-000001"});
    EXPECT_EQ(found("０３（１２３４）５６７８"), QStringList{"-000001"});
    EXPECT_EQ(found("045 987 6543"), QStringList{"-000002"});
    EXPECT_EQ(found("22 22"), QStringList{"-000001"});
    EXPECT_EQ(found("５６７８"), (QStringList{"-000001", "-000003"}));
    EXPECT_EQ(found("35678"), QStringList{"-000003"});
    EXPECT_EQ(found("678"), QStringList()) << "fewer than four digits are no phone number";
    // Kana by its first letters, however it was stored and typed.
    EXPECT_EQ(found("ﾔﾏ"), (QStringList{"-000001", "-000002"}));
    EXPECT_EQ(found("やまだ　は"), QStringList{"-000001"});
    EXPECT_EQ(found("さとう"), QStringList{"-000003"});
    // The name by its first letters, and the number.
    EXPECT_EQ(found("山"), (QStringList{"-000002", "-000001"})); // in name order: 本 before 田
    EXPECT_EQ(found("－０００００２"), QStringList{"-000002"});
    EXPECT_EQ(found("ヤマモトタロウ"), QStringList());
}

TEST_P(ReserverLookupTest, HostileInputFindsNothingOrTheRightReserver)
{
    for (const char* nothing : {"'", "%", "_", "\\", "' OR '1'='1", "%ヤ%", "*", "\"; DROP TABLE 予約者; --", "\x01\x02\x1b", ""})
        EXPECT_EQ(found(QString::fromUtf8(nothing)), QStringList()) << nothing;
    EXPECT_EQ(found(QString(100000, u'山')), QStringList());
    EXPECT_EQ(found(QString::fromUtf8("佐藤50%'")), QStringList{"-000003"});
    EXPECT_EQ(found(QString::fromUtf8("\t佐藤50%'会員_\\\r\n")), QStringList{"-000003"});
    EXPECT_EQ(count("予約者"), 3);
}

TEST_P(ReserverLookupTest, TheKeysFollowAChangeOfPhoneOrKanaAndARemoval)
{
    save({"-000001", "スズキ", "山田花子", "", "", "06-5555-4444", "", {}, records::Sex::Female, QDate(2026, 1, 10)});
    EXPECT_EQ(found("5678"), QStringList{"-000003"});
    EXPECT_EQ(found("4444"), QStringList{"-000001"});
    EXPECT_EQ(found("ヤマダ"), QStringList());
    EXPECT_EQ(found("すず"), QStringList{"-000001"});
    EXPECT_TRUE(records::removeReserver(db(), "-000002"));
    EXPECT_EQ(found("6543"), QStringList());
    EXPECT_EQ(records::removeReserversLastBookedBetween(db(), QDate(2026, 1, 1), QDate(2026, 1, 31)), 1);
    EXPECT_EQ(found("4444"), QStringList());
    EXPECT_EQ(count("予約者検索"), 1);
    EXPECT_EQ(count("予約者"), 1);
}

// Reservers that another program (sqlite3, psql) added, changed or removed: the next desk that
// opens the database makes their keys from what the triggers noted, and the check finds the keys
// sound.
TEST_P(ReserverLookupTest, ReserversWrittenByAnotherProgramAreFoundOnceADeskOpensTheDatabase)
{
    runSql("INSERT INTO 予約者 (\"予約者_予約者NO\", 予約者_予約者名, 予約者_予約者名カナ, 予約者_電話番号) "
           "VALUES ('-000004', '加藤', 'カトウ', '06-1111-2468');"
           "UPDATE 予約者 SET 予約者_電話番号 = '011-222-1357' WHERE \"予約者_予約者NO\" = '-000001';"
           "DELETE FROM 予約者 WHERE \"予約者_予約者NO\" = '-000002'");
    const store::Database desk = otherDesk();
    EXPECT_EQ(found(desk, "2468"), QStringList{"-000004"});
    EXPECT_EQ(found(desk, "かとう"), QStringList{"-000004"});
    EXPECT_EQ(found(desk, "1357"), QStringList{"-000001"});
    EXPECT_EQ(found(desk, "5678"), QStringList{"-000003"}) << "the changed phone no longer finds -000001";
    EXPECT_EQ(found(desk, "6543"), QStringList()) << "the removed reserver's keys are gone";
    EXPECT_EQ(count("予約者変更"), 0);
    EXPECT_EQ(store::checkDatabase(onServer() ? serverAddress() : store::kMainFile), QStringList());
}

// A database of the version before the keys: opening it makes the keys of its reservers in the
// upgrade, nothing else changes, and it checks sound afterwards.
TEST_P(ReserverLookupTest, AnOlderDatabaseGetsTheKeysOfItsReserversWhenOpened)
{
    const QStringList reserverFields = {"予約者_予約者NO", "予約者_予約者名カナ", "予約者_予約者名", "予約者_電話番号", "予約者_携帯番号"};
    const std::vector<QStringList> before = rows("予約者", "Key_予約者", reserverFields);
    QString name = serverAddress();
    if (onServer()) {
        runSql(dropLaterThan(2, store::schema::Engine::Server));
    } else {
        name = "old.mdb";
        ASSERT_TRUE(QFile::copy(store::kMainFile, name));
        makeFormerVersionFile(name, 2);
        EXPECT_EQ(store::databaseFileVersion(name), 2);
        EXPECT_EQ(store::checkDatabase(name), QStringList()) << "a sound file of its version";
    }
    const store::Database upgraded = store::Database::openSeparately(name);
    EXPECT_EQ(found(upgraded, "5678"), (QStringList{"-000001", "-000003"}));
    EXPECT_EQ(found(upgraded, "やま"), (QStringList{"-000001", "-000002"}));
    store::Table reservers = upgraded.table("予約者", "Key_予約者");
    std::vector<QStringList> after;
    for (reservers.seek(">=", {QString()}); !reservers.eof(); reservers.moveNext()) {
        QStringList row;
        for (const QString& field : reserverFields)
            row << reservers.text(field);
        after.push_back(row);
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(store::checkDatabase(name), QStringList());
}

ON_BOTH_STORES(ReserverLookupTest);

} // namespace
