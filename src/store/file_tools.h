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
// file is sound. A file of an earlier version is checked against the catalogue of its version (it
// lacks the later tables by right); a file of a newer version is refused. Writes nothing, but rolls back a save that a crash cut short, as the program does.
QStringList checkDatabaseFile(const QString& path, const Progress& progress = {});

// A consistent copy of `from` written into `to` through SQLite's online backup, under the
// destination's locks: a destination that another program is writing is waited for and, after
// the busy timeout, refused; a link is written through. Refuses a destination that is not a
// database.
void backupDatabaseFile(const QString& from, const QString& to, const Progress& progress = {});

// The version of the file's tables: schema::kCurrentVersion for a file of this program, less for
// one made by an earlier version. A file of a newer version is refused.
int databaseFileVersion(const QString& path);

// Brings a file of an earlier version up to this program's in one transaction, as the program
// does when it opens one; returns the version the file had. A file of a newer version, or one
// without the tables of its version, is refused and left as it is.
int upgradeDatabaseFile(const QString& path);

// Refuses a path that is missing or names a folder, with the operator's message.
void requireDatabaseFile(const QString& path);

} // namespace store
