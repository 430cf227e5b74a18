#pragma once

#include <QString>

struct sqlite3;

// The version a file's tables are at, and bringing an older file up to this program's.
namespace store::detail {

// The file's version; a file made before versions were kept is version 1.
int storedVersion(sqlite3* db, const QString& shownName);

// Adds what a file of an older version lacks, in one transaction that waits for another program
// holding the file: a crash leaves the file as it was or wholly upgraded. A file of a newer
// version is refused with a StoreError and left as it is, and a file without the tables of its
// version (an empty file, another program's) is left as it is. Returns the version the file had.
int upgradeSchema(sqlite3* db, const QString& shownName);

} // namespace store::detail
