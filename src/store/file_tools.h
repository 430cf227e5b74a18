#pragma once

#include "store/progress.h"

#include <QString>
#include <QStringList>

// Work on whole database files, for the database tool and the tests: making a new file from the
// schema catalogue, verifying a file against it, and taking a consistent copy.
namespace store {

// `progress` of the longer ones hears the steps of the check or the pages of the copy.

// Creates a new, empty database file with every table and index. Refuses an existing file.
void createDatabaseFile(const QString& path);

// Every way in which the file differs from what the program expects, one line each: tables,
// fields, indexes and objects it does not know, loose column types, stored values of the wrong
// shape or NULL and keys held twice (each named by table, key, field and value, the first few of
// a kind and a count of the rest), and the faults of SQLite's integrity check. Empty when the
// file is sound. Writes nothing, but rolls back a save that a crash cut short, as the program does.
QStringList checkDatabaseFile(const QString& path, const Progress& progress = {});

// A consistent copy of `from` written into `to` through SQLite's online backup, under the
// destination's locks: a destination that another program is writing is waited for and, after
// the busy timeout, refused; a link is written through. Refuses a destination that is not a
// database.
void backupDatabaseFile(const QString& from, const QString& to, const Progress& progress = {});

// Refuses a path that is missing or names a folder, with the operator's message.
void requireDatabaseFile(const QString& path);

} // namespace store
