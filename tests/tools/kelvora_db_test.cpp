// The database tool as an operator runs it from a shell.

#include "support/fixture.h"
#include "store/file_tools.h"

#include <QFile>
#include <QProcess>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class KelvoraDbTest : public DatabaseTest {
protected:
    ToolRun tool(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(KELVORA_DB_TOOL), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_F(KelvoraDbTest, CreateMakesASoundEmptyFileAndNeverOverwrites)
{
    EXPECT_EQ(tool({"create", "new.mdb"}).exitCode, 0);
    EXPECT_TRUE(store::checkDatabaseFile("new.mdb").isEmpty());

    insert("設定", {{"設定_番号", "00001"}});
    const ToolRun refused = tool({"create", "Kelvora.mdb"});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_FALSE(refused.err.isEmpty());
    EXPECT_EQ(count("設定"), 1);
}

TEST_F(KelvoraDbTest, DemoHoldsTargetsReserversAndAWeekOfReservations)
{
    ASSERT_EQ(tool({"demo", "demo.mdb"}).exitCode, 0);
    EXPECT_EQ(tool({"check", "demo.mdb"}).exitCode, 0);
    QFile::remove("Kelvora.mdb");
    QFile::rename("demo.mdb", "Kelvora.mdb");
    EXPECT_GE(count("設定"), 4);
    EXPECT_EQ(count("予約者"), 12);
    EXPECT_GE(count("予約"), 12);
    EXPECT_GE(count("カレンダー"), 2);
    EXPECT_GE(count("営業"), 1);
    EXPECT_GE(count("日別"), 1);
    EXPECT_GE(count("特定日"), 1);
}

TEST_F(KelvoraDbTest, BackupDefaultsToTheTwoFilesOfTheCurrentFolder)
{
    insert("設定", {{"設定_番号", "00001"}});
    QProcess process;
    process.setWorkingDirectory(folder());
    process.start(QStringLiteral(KELVORA_DB_TOOL), {"backup"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(store::checkDatabaseFile("Kelvorabkup.mdb").isEmpty());
}

TEST_F(KelvoraDbTest, BadArgumentsAndBadFilesFailWithOneLineAndChangeNothing)
{
    for (const QStringList& arguments : {QStringList{}, QStringList{"frobnicate"}, QStringList{"create"},
                                         QStringList{"check", "absent.mdb"}, QStringList{"backup", "absent.mdb", "x.mdb"}}) {
        const ToolRun run = tool(arguments);
        EXPECT_NE(run.exitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.trimmed().count('\n'), 0) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists("absent.mdb"));
    EXPECT_FALSE(QFile::exists("x.mdb"));

    QFile junk("junk.mdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(2048, 'j'));
    junk.close();
    const ToolRun check = tool({"check", "junk.mdb"});
    EXPECT_NE(check.exitCode, 0);
    EXPECT_TRUE(check.err.contains("データベースファイルではありません")) << check.err.toStdString();
    EXPECT_EQ(QFile("junk.mdb").size(), 2048);
}

} // namespace
