#pragma once

#include <QtGlobal>
#include <exception>
#include <functional>

namespace store {

// Told how far a long piece of work over many records is: `done` of `total` records, pages or
// steps (`total` 0 when it is not known). Returning false asks the work to stop.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Thrown by work whose Progress asked it to stop, before it writes anything more; the
// Transaction around the work then rolls back what it did.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled by the operator"; }
};

// Hands `done` of `total` to `progress`, when there is one, and throws Cancelled when it says stop.
inline void report(const Progress& progress, qint64 done, qint64 total)
{
    if (progress && !progress(done, total))
        throw Cancelled();
}

} // namespace store
