// A desk whose link to the server fails: an answer lost on its way back, a server that stops
// answering, a server that stays away.

#include "support/linked_desk.h"
#include "support/test_server.h"
#include "store/busy_wait.h"
#include "store/store_error.h"
#include "ui/handlers.h"
#include "ui/work_progress.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace {

class ServerLinkTest : public LinkedDeskTest {
protected:
    // A booking at `time`, saved in one transaction as a form saves one; whether it went through.
    bool book(const QString& time)
    {
        return ui::guarded([&] {
            store::Transaction booking(db());
            insert("予約", {{"予約_設定番号", "00001"}, {"予約_年月日", "2026/12/08"}, {"予約_開始時間", time}});
            booking.commit();
        });
    }
};

} // namespace

// The link fails after the COMMIT went out: the desk connects again, asks the server how the
// booking ended and says so, whether the server committed it or never got the COMMIT.
TEST_F(ServerLinkTest, ASaveWhoseAnswerIsLostIsLookedUpAndToldAsItEnded)
{
    const store::Database desk = db();
    link->cutAtNext("COMMIT");
    EXPECT_TRUE(book("10:00"));
    EXPECT_TRUE(link->cut());
    link->cutAtNext("COMMIT", true);
    EXPECT_FALSE(book("11:00"));
    EXPECT_TRUE(link->cut());

    EXPECT_EQ(rows("予約", "Key_予約", {"予約_開始時間"}), std::vector<QStringList>{{"10:00"}});
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 2) << shown.join('\n').toStdString();
    EXPECT_TRUE(shown[0].contains("変更は保存されていました")) << shown[0].toStdString();
    EXPECT_FALSE(shown[0].contains("取り消されました")) << shown[0].toStdString();
    EXPECT_TRUE(shown[1].contains("取り消されました")) << shown[1].toStdString();
}

// A server that takes what it is sent and never answers: the action ends after its bound with one
// message, and the windows are served all the while.
TEST_F(ServerLinkTest, AServerThatStopsAnsweringEndsTheActionWithOneMessageWhileTheWindowsGoOn)
{
    const store::Database desk = db();
    EXPECT_EQ(count("予約"), 0);
    ui::repaintWhileWaitingForTheFile();
    int turns = 0;
    QTimer painting;
    QObject::connect(&painting, &QTimer::timeout, [&turns] { ++turns; });
    painting.start(100);
    link->setSilent(true);
    EXPECT_FALSE(book("10:00"));
    painting.stop();
    store::setWhileWaiting({});

    // About ten seconds, at a turn each tenth of a second.
    EXPECT_GE(turns, 50);
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 1) << shown.join('\n').toStdString();
    EXPECT_TRUE(shown[0].contains("応答がない")) << shown[0].toStdString();
}

// While the server refuses the desk, the watch's looks never wait, and it asks again less and less
// often rather than at every look.
TEST_F(ServerLinkTest, TheWatchBacksOffWhileTheServerIsAway)
{
    const store::Database desk = db();
    desk.changeStamp();
    link->setRefusing(true);
    test_server::runSql("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'kelvora' "
                        "AND datname = current_database()",
                        serverAddress());
    const int taken = link->connectionsTaken();
    QElapsedTimer watching;
    watching.start();
    int failedLooks = 0;
    while (watching.elapsed() < 3500) {
        try {
            desk.changeStamp();
        } catch (const store::StoreError&) {
            ++failedLooks;
        }
        QTest::qWait(100);
    }
    // Tries at 0, 1 and 3 seconds, not at each of the looks.
    EXPECT_GE(failedLooks, 20);
    EXPECT_LE(link->connectionsTaken() - taken, 4);

    link->setRefusing(false);
    EXPECT_EQ(count("予約"), 0); // an action connects at once
}
