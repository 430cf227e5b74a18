#pragma once

#include <functional>

namespace store {
class Table;
}

namespace maintenance {

// The ranged deletion of the bulk deletions: from the record a seek ">=" found, deletes each
// record in index order for as long as `inRange` holds for it, and stops at the first record it
// refuses or at the end of the table. Returns how many records were deleted. The caller holds
// the transaction that makes the whole deletion all or nothing.
int DeleteWhile(store::Table& table, const std::function<bool(const store::Table&)>& inRange);

} // namespace maintenance
