#pragma once

#include "store/database.h"
#include "store/progress.h"

// The reorganisation's table copy: the fifteen tables of the database in the order they are rebuilt
// from the backup copy.
namespace records {

constexpr int kRebuildSteps = 15;

// Step 1 to 15: replaces every record of one table of `main` with the records of the same table
// of `copy`, in the copy's key order. The copy's table is read before the main table is touched,
// and the replacement is one transaction: on a failure the main table keeps its old records and the
// StoreError goes on to the caller. `progress` hears how many records are copied; when it says
// stop, store::Cancelled goes on to the caller and the main table keeps its old records.
// The name of the table that step 1 to 15 rebuilds. Step 10, the reservers, makes their look-up
// keys again too, in the same transaction.
QString rebuiltTableName(int step);
void rebuildTable(const store::Database& main, const store::Database& copy, int step, const store::Progress& progress = {});

} // namespace records
