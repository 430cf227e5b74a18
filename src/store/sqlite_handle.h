#pragma once

struct sqlite3;

namespace store::detail {

class Connection;

// The SQLite handle of a file's connection (nullptr for a server), for the fault tests that make
// the file's own calls fail.
sqlite3* sqliteHandle(const Connection& connection);

} // namespace store::detail
