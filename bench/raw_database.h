#pragma once

#include <QString>
#include <memory>

// The yardstick of the store benchmarks: the same work written directly against the engine's own
// client library (SQLite's C API for a file, libpq for a server), with prepared statements and
// nothing else. The SQL is the same for both engines: quoted names and numbered marks ($1, $2, …).
namespace bench {

class RawQuery {
public:
    virtual ~RawQuery() = default;
    virtual void bind(int position, const QString& text) = 0;
    // Runs the statement, or moves to its next row: true while there is a row.
    virtual bool step() = 0;
    virtual QString text(int column) const = 0;
    // Ready to run again, bindings cleared.
    virtual void reset() = 0;
};

class RawDatabase {
public:
    // A file name, or a server's connection string.
    static std::unique_ptr<RawDatabase> open(const QString& name);
    virtual ~RawDatabase() = default;
    virtual std::unique_ptr<RawQuery> prepare(const char* sql) = 0;
    virtual void exec(const char* sql) = 0;
};

} // namespace bench
