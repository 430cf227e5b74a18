// The windows keep their turns while the program waits for a file another program holds.

#include "records/targets.h"
#include "store/busy_wait.h"
#include "store/store_error.h"
#include "support/fixture.h"
#include "ui/work_progress.h"

#include <QTimer>
#include <sqlite3.h>

namespace {

TEST_F(DatabaseTest, TheWaitForAFileAnotherProgramHoldsLetsTheWindowsRepaint)
{
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2("Kelvora.mdb", &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    ui::repaintWhileWaitingForTheFile();
    int turns = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&turns] { ++turns; });
    ticking.start(50);
    EXPECT_THROW(records::saveTarget(db(), {"00001", "会議室", "会議室", ""}), store::StoreError);
    store::setWhileWaiting({});
    sqlite3_close(other);
    // Three seconds of waiting give the windows dozens of turns; a wait that only sleeps gives none.
    EXPECT_GE(turns, 20);
}

} // namespace
