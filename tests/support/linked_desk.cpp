#include "support/linked_desk.h"

#include "support/test_server.h"
#include "store/desk_database.h"

void LinkedDeskTest::SetUp()
{
    DatabaseTest::SetUp();
    link.emplace(test_server::socketFile().toStdString());
    // The link's host and port come after the database's own and win.
    store::writeDeskSettings(folder(), serverAddress() + " " + QString::fromStdString(link->address()));
    workIn(folder());
}

void LinkedDeskTest::TearDown()
{
    DatabaseTest::TearDown();
    link.reset();
}
