#pragma once

#include "store/progress.h"

#include <QString>
#include <QStringList>

// Work on whole databases, for the database tool and the tests: making a new file (or the tables
// of an empty database on a server) from the schema catalogue, verifying one against it, and
// copying one into another.
namespace store {

// `progress` of the longer ones hears the steps of the check or the pages of the copy.

// Creates a new, empty database file with every table and index. Refuses an existing file.
void createDatabaseFile(const QString& path);
// Makes every table and index in an existing database on a server (the administrator made it
// with createdb), in one transaction. Refuses a database that already holds a table.
void createServerTables(const QString& address);
// The one or the other, by the name given (isServerAddress()).
void createDatabase(const QString& name);

// Every way in which the file differs from what the program expects, one line each: tables,
// fields, indexes and objects it does not know, loose column types, stored values of the wrong
// shape or NULL and keys held twice (each named by table, key, field and value, the first few of
// a kind and a count of the rest), and the faults of SQLite's integrity check. Empty when the
// file is sound. A file of an earlier version is checked against the catalogue of its version (it
// lacks the later tables by right); a file of a newer version is refused. Writes nothing, but rolls back a save that a crash cut short, as
// the program does.
QStringList checkDatabaseFile(const QString& path, const Progress& progress = {});

// The same for a database on a server: missing or foreign tables, fields, indexes, triggers and
// views, column types, NOT NULL and collation, and keys held twice.
QStringList checkServerDatabase(const QString& address);
// The one or the other, by the name given; `progress` hears the steps of a file's check.
QStringList checkDatabase(const QString& name, const Progress& progress = {});

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

// Every record of every table of `from` copied into `to`, each a file or a database on a server:
// into a new file, or a database on a server whose tables are missing (they are made) or empty.
// The target is written in one transaction and its row counts and a checksum of each table are
// verified before it is committed. Refuses a target that holds data.
void copyDatabase(const QString& from, const QString& to);
// backupDatabaseFile() for a file; for a database on a server, a copy into a new file put in
// place of `to` when complete.
void backupDatabase(const QString& from, const QString& to, const Progress& progress = {});

// Refuses a path that is missing or names a folder, with the operator's message.
void requireDatabaseFile(const QString& path);

} // namespace store
