#include "kill_harness.h"

#include "store/file_tools.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace {

const char* kChildFolder = "KELVORA_KILL_TEST_FOLDER";
// The report of the reliability suite is written by the parent only.
const char* kReportVariable = "KELVORA_RELIABILITY_REPORT";
const QString kProgressFile = QStringLiteral("progress.txt");

int progress()
{
    QFile file(kProgressFile);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
}

} // namespace

bool KillTest::inChild()
{
    return qEnvironmentVariableIsSet(kChildFolder);
}

void KillTest::enterParentFolder(const std::function<bool(const QString&)>& endsAnAction)
{
    const QString own = folder();
    ASSERT_TRUE(QDir::setCurrent(qEnvironmentVariable(kChildFolder)));
    workIn(QDir::currentPath());
    QDir(own).removeRecursively(); // a killed child cannot clean up after itself
    msg::setResponder([endsAnAction](const msg::Shown& shown) {
        if (endsAnAction(shown.text)) {
            QFile file(kProgressFile);
            if (file.open(QIODevice::Append))
                file.write("1\n");
        }
        return true;
    });
}

bool KillTest::killChildAfter(int actions, int delayMs)
{
    QFile::remove(kProgressFile);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildFolder, QDir::currentPath());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(kReportVariable);
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
    return QFile::exists(store::kMainFile + QStringLiteral("-journal"));
}

void KillTest::recreateMainFile(const std::function<void()>& fill)
{
    QFile::remove(store::kMainFile);
    QFile::remove(store::kMainFile + QStringLiteral("-journal"));
    store::createDatabaseFile(store::kMainFile);
    store::Transaction batch(db());
    fill();
    batch.commit();
}

void KillTest::expectSoundFile()
{
    store::Table reservations = db().table(QStringLiteral("予約"));
    reservations.setIndex(QStringLiteral("Key_予約"));
    reservations.seek(">=", {store::Value()});
    const QStringList problems = store::checkDatabaseFile(store::kMainFile);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}
