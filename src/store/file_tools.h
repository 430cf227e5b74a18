#pragma once

#include <QString>
#include <QStringList>

// Work on whole database files, for the database tool and the tests: making a new file from the
// schema catalogue, verifying a file against it, and taking a consistent copy.
namespace store {

// Creates a new, empty database file with every table and index. Refuses an existing file.
void createDatabaseFile(const QString& path);

// Every table, field and index that is missing or wrong, and any fault the integrity check finds;
// empty when the file is sound. Opens the file read-only.
QStringList checkDatabaseFile(const QString& path);

// A consistent copy of `from` at `to`, made with SQLite's online backup into a scratch file that
// replaces `to` only when complete.
void backupDatabaseFile(const QString& from, const QString& to);

} // namespace store
