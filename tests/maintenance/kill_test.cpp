// A purge and a reorganisation killed half-way (SIGKILL, as a crash or a power cut would stop
// them) leave a sound file in which each table is wholly as it was before or wholly as after.
//
// The test runs itself again as a child process that works on the parent's folder; the child
// reports each finished action in a file, the parent kills it shortly after and inspects the
// file, several times, each time a little later into the work. A kill counts as half-way when
// the rollback journal is still there, that is when the child was inside a write transaction;
// at least one kill must have been half-way.

#include "support/fixture.h"
#include "table_contents.h"
#include "maintenance/period_end_form.h"
#include "maintenance/reorganise.h"
#include "store/file_tools.h"
#include "ui/forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <functional>

namespace {

const char* kChildFolder = "KELVORA_KILL_TEST_FOLDER";
const QString kProgressFile = "progress.txt";
const QDate kFirstDay(2025, 1, 1);
constexpr int kDays = 150;
// Each attempt kills the child a little later into its work.
constexpr int kAttempts = 4;
int delayOf(int attempt)
{
    return 2 + 7 * attempt;
}

QString day(int n)
{
    return kFirstDay.addDays(n).toString("yyyy/MM/dd");
}

class KillTest : public DatabaseTest {
protected:
    static bool inChild() { return qEnvironmentVariableIsSet(kChildFolder); }

    // In the child: work on the parent's folder, with every question answered Yes and each
    // message that ends an action noted in the progress file.
    void enterParentFolder(const std::function<bool(const QString&)>& endsAnAction)
    {
        const QString own = folder();
        ASSERT_TRUE(QDir::setCurrent(qEnvironmentVariable(kChildFolder)));
        QDir(own).removeRecursively(); // a killed child cannot clean up after itself
        msg::setResponder([endsAnAction](const msg::Shown& shown) {
            if (endsAnAction(shown.text)) {
                QFile progress(kProgressFile);
                if (progress.open(QIODevice::Append))
                    progress.write("1\n");
            }
            return true;
        });
    }

    static int progress()
    {
        QFile file(kProgressFile);
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }

    // Runs this test again as a child on this folder, waits until it has finished `actions`
    // actions, lets it run `delayMs` longer and kills it. True when the kill caught it inside a
    // write transaction.
    bool killChildAfter(int actions, int delayMs)
    {
        QFile::remove(kProgressFile);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kChildFolder, QDir::currentPath());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.setStandardOutputFile(QProcess::nullDevice());
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        EXPECT_TRUE(child.waitForStarted());
        QDeadlineTimer deadline(60000);
        while (progress() < actions && child.state() == QProcess::Running && !deadline.hasExpired())
            QThread::msleep(1);
        QThread::msleep(ulong(delayMs));
        EXPECT_EQ(child.state(), QProcess::Running) << "the child ended before it was killed";
        child.kill();
        child.waitForFinished();
        return QFile::exists(store::kMainFile + "-journal");
    }

    // A fresh main file holding `fill`'s records.
    void recreateMainFile(const std::function<void()>& fill)
    {
        QFile::remove(store::kMainFile);
        QFile::remove(store::kMainFile + "-journal");
        store::createDatabaseFile(store::kMainFile);
        store::Transaction batch(db());
        fill();
        batch.commit();
    }

    void expectSoundFile()
    {
        // The program's next read of the file rolls back whatever the killed transaction wrote.
        store::Table reservations = db().table("予約");
        reservations.setIndex("Key_予約");
        reservations.seek(">=", {store::Value()});
        EXPECT_EQ(store::checkDatabaseFile(store::kMainFile), QStringList());
    }
};

// -- the period-end purge ---------------------------------------------------------------------

const QStringList kDatedTables = {"カレンダー", "予約", "予約者", "特定日"};

class PurgeKillTest : public KillTest {
protected:
    // Records on each of kDays days in every dated table.
    void fillDatedTables()
    {
        for (int d = 0; d < kDays; ++d) {
            for (int t = 1; t <= 4; ++t) {
                const QString target = QString::number(t).rightJustified(5, '0');
                insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", day(d)}, {"カレ_休日FLG", 1}});
                insert("特定日", {{"特定_番号", target}, {"特定_日付", day(d)}, {"特定_開始時間", "10:00"}, {"特定_終了時間", "12:00"}});
                insert("予約者", {{"予約者_予約者NO", QStringLiteral("-%1%2").arg(d, 4, 10, QChar('0')).arg(t, 2, 10, QChar('0'))},
                                  {"予約者_最新予約日", day(d)}});
                for (int slot = 0; slot < 8; ++slot) {
                    insert("予約", {{"予約_設定番号", target}, {"予約_年月日", day(d)},
                                    {"予約_開始時間", QStringLiteral("%1:00").arg(9 + slot, 2, 10, QChar('0'))},
                                    {"予約_予約者NO", "-000001"}, {"予約_終了時間", "23:00"}});
                }
            }
        }
    }
    // The dated tables as they are after purging every day before `firstKept`.
    static Contents purgedBefore(const Contents& original, int firstKept)
    {
        Contents expected;
        const QMap<QString, int> dateColumn = {{"カレンダー", 1}, {"予約", 1}, {"予約者", 9}, {"特定日", 1}};
        for (const QString& table : kDatedTables) {
            for (const QStringList& record : original.at(table)) {
                if (record[dateColumn[table]] >= day(firstKept))
                    expected[table].push_back(record);
            }
        }
        return expected;
    }
};

TEST_F(PurgeKillTest, APurgeKilledHalfWayLeavesEveryTableWhollyBeforeOrAfter)
{
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text == "期末削除処理は終了しました"; });
        期末処理* form = forms::showModeless<期末処理>();
        for (int d = 0; d < kDays; ++d) {
            form->findChild<QLineEdit*>("取消日")->setText(day(d));
            form->findChild<QPushButton*>("確定")->click();
        }
        return;
    }

    bool caughtHalfWay = false;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        recreateMainFile([this] { fillDatedTables(); });
        const Contents original = tableContents(kDatedTables);
        caughtHalfWay |= killChildAfter(3, delayOf(attempt));
        expectSoundFile();

        // The four tables were purged together: all as after the same number of whole purges.
        const Contents now = tableContents(kDatedTables);
        int matching = -1;
        for (int kept = 0; kept <= kDays && matching < 0; ++kept) {
            if (now == purgedBefore(original, kept))
                matching = kept;
        }
        EXPECT_GE(matching, 3) << "attempt " << attempt;
    }
    EXPECT_TRUE(caughtHalfWay) << "no kill landed inside a purge";
}

// -- the reorganisation -----------------------------------------------------------------------

class ReorganiseKillTest : public KillTest {
protected:
    // Every table holds records marked with `tag`; 予約 holds `reservations` of them.
    void fillAll(const QString& tag, int reservations)
    {
        const QString target = "0000" + tag;
        insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", "2025/01/01"}, {"カレ_休日FLG", 1}});
        insert("マスタ", {{"マス_番号", tag.toInt()}, {"マス_内容", tag}});
        insert("営業", {{"営業_番号", target}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}});
        insert("基本", {{"基本_番号", target}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", 0}});
        insert("設定", {{"設定_番号", target}, {"設定_名称", tag}});
        insert("特定日", {{"特定_番号", target}, {"特定_日付", "2025/01/01"}});
        insert("日別", {{"日別_番号", target}, {"日別_区分", 1}, {"日別_日付", 2}});
        insert("発番", {{"発番_設備", target}, {"発番_番号", "000001"}});
        insert("予約者", {{"予約者_予約者NO", "-00000" + tag}});
        for (int n = 0; n < reservations; ++n) {
            insert("予約", {{"予約_設定番号", target}, {"予約_年月日", day(n % kDays)},
                            {"予約_開始時間", QStringLiteral("%1:00").arg(n / kDays, 2, 10, QChar('0'))},
                            {"予約_予約者NO", "-00000" + tag}, {"予約_受付日", "2024/12/01"}});
        }
    }
};

TEST_F(ReorganiseKillTest, AReorganisationKilledHalfWayLeavesEveryTableWhollyBeforeOrAfter)
{
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text.endsWith("残りを続けますか"); });
        for (int run = 0; run < 20; ++run)
            DB再編成::ReorganiseDatabase();
        return;
    }

    recreateMainFile([this] { fillAll("2", 3000); });
    store::backupDatabaseFile(store::kMainFile, store::kBackupFile);
    const Contents copy = tableContents(kAllTables);

    bool caughtHalfWay = false;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        recreateMainFile([this] { fillAll("1", 2000); });
        const Contents before = tableContents(kAllTables);
        // After eight tables the child copies the reservations, the largest table.
        caughtHalfWay |= killChildAfter(8, delayOf(attempt));
        expectSoundFile();
        const Contents now = tableContents(kAllTables);
        for (const QString& table : kAllTables) {
            EXPECT_TRUE(now.at(table) == before.at(table) || now.at(table) == copy.at(table))
                << table.toStdString() << " is half copied (attempt " << attempt << ")";
        }
        EXPECT_EQ(now.at("発番"), copy.at("発番"));
    }
    EXPECT_TRUE(caughtHalfWay) << "no kill landed inside a step";
}

} // namespace
