#include "store/busy_wait.h"

#include <sqlite3.h>

#include <chrono>

namespace store {

namespace {

// How long an action waits for another program that holds the file before it gives up, and how
// often it tries again meanwhile.
constexpr std::chrono::milliseconds kBusyTimeout{3000};
constexpr int kRetryMs = 10;

std::function<void()>& whileWaiting()
{
    static std::function<void()> hook;
    return hook;
}

thread_local bool waiting = false;

int onBusy(void*, int attempt)
{
    // One wait at a time per thread: each begins with attempt 0.
    thread_local std::chrono::steady_clock::time_point since;
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        since = now;
    // Measured on the clock, so the time the hook spends repainting counts towards the timeout.
    if (now - since >= kBusyTimeout)
        return 0;
    detail::waitTurn();
    sqlite3_sleep(kRetryMs);
    return 1;
}

} // namespace

void setWhileWaiting(std::function<void()> hook)
{
    whileWaiting() = std::move(hook);
}

bool isWaiting()
{
    return waiting;
}

namespace detail {

void waitTurn()
{
    const std::function<void()>& hook = whileWaiting();
    if (!hook || waiting)
        return;
    waiting = true;
    struct Done {
        Done() = default;
        ~Done() { waiting = false; }
        Done(const Done&) = delete;
        Done& operator=(const Done&) = delete;
    } done;
    hook();
}

void installBusyWait(sqlite3* db)
{
    sqlite3_busy_handler(db, &onBusy, nullptr);
}

} // namespace detail

} // namespace store
