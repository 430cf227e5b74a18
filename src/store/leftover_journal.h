#pragma once

#include <QString>

namespace store::detail {

// Before a new file is put in place under `path`: SQLite takes a journal beside a file for the
// file's own, so the journal of a save that a crash cut short in an earlier file of that name
// ("-journal", or "-wal" where another program used WAL) would be rolled into the new file on its
// first open. Such a journal is rolled back into the file it belongs to, the one still under
// `path`; where there is none, or the journal stays (another program is in the middle of a save),
// a StoreError names the journal and nothing is put in place.
void settleLeftoverJournal(const QString& path);

// Removes a file of our own making and the journals SQLite may have left beside it.
void removeWithJournals(const QString& path);

} // namespace store::detail
