// The windows keep their turns while the program waits for another program or desk that holds the
// database, and their own looks at the database wait for the end of that wait.

#include "records/targets.h"
#include "store/busy_wait.h"
#include "store/store_error.h"
#include "support/fixture.h"
#include "ui/work_progress.h"

#include <QTimer>
#include <memory>
#include <sqlite3.h>

namespace {

class WaitTest : public BothStoresTest {
protected:
    // Another program (a file) or desk (a server) holding the right to write until `release`.
    void holdWriting()
    {
        if (onServer()) {
            otherDesk_ = std::make_unique<store::Database>(otherDesk());
            otherWrite_ = std::make_unique<store::Transaction>(*otherDesk_);
            // A transaction takes its locks with its first statement.
            otherDesk_->table("設定", "Key_設定").seek(">=", {""});
            return;
        }
        ASSERT_EQ(sqlite3_open_v2("Kelvora.mdb", &otherProgram_, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(otherProgram_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void release()
    {
        otherWrite_.reset();
        otherDesk_.reset();
        sqlite3_close(otherProgram_);
        otherProgram_ = nullptr;
    }
    void TearDown() override
    {
        release();
        store::setWhileWaiting({});
        BothStoresTest::TearDown();
    }

private:
    sqlite3* otherProgram_ = nullptr;
    std::unique_ptr<store::Database> otherDesk_;
    std::unique_ptr<store::Transaction> otherWrite_;
};

TEST_P(WaitTest, TheWaitForAnotherDeskLetsTheWindowsRepaintAndTheDeskWorksAfterwards)
{
    const store::Database desk = db();
    holdWriting();
    ui::repaintWhileWaitingForTheFile();
    int turns = 0;
    int looksDuringTheWait = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] {
        ++turns;
        looksDuringTheWait += store::isWaiting() ? 1 : 0;
    });
    ticking.start(50);
    const QString refused = [&] {
        try {
            store::Transaction writing(desk);
            records::saveTarget(desk, {"00001", "会議室", "会議室", ""});
            writing.commit();
        } catch (const store::StoreError& error) {
            return error.message();
        }
        return QString();
    }();
    EXPECT_TRUE(refused.contains("使用中です")) << refused.toStdString();
    // Three seconds of waiting give the windows dozens of turns; a wait that only sleeps gives none.
    EXPECT_GE(turns, 20);
    EXPECT_EQ(looksDuringTheWait, turns);
    EXPECT_FALSE(store::isWaiting());

    release();
    records::saveTarget(desk, {"00001", "会議室", "会議室", ""});
    EXPECT_EQ(count("設定"), 1);
}

} // namespace

ON_BOTH_STORES(WaitTest);
