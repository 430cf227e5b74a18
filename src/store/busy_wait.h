#pragma once

#include <functional>

struct sqlite3;

namespace store {

// Called over and over while an action waits for a file that another program holds, or for a
// server that has not answered yet (another desk holds a lock), so that the program's windows
// keep repainting; the store itself knows no windows. Installed once by the program; without it
// the wait only sleeps.
void setWhileWaiting(std::function<void()> hook);

// Whether the hook is running: the connection that waits must not be used until the wait ends.
bool isWaiting();

namespace detail {

// Makes the connection wait for a file that another program holds, up to the busy timeout, before
// the action fails with SQLITE_BUSY; the hook of setWhileWaiting() runs between tries.
void installBusyWait(sqlite3* db);

// One turn of the hook of setWhileWaiting(), if there is one.
void waitTurn();

} // namespace detail

} // namespace store
