#pragma once

#include "store/database.h"
#include "store/value.h"

#include <QString>
#include <memory>
#include <vector>

namespace store {

namespace detail {
struct Window;
}

// The records of an index that a screen reads: from where a seek ">=" with `from` lands, through the
// last whose leading key fields are `through`; or, without `through`, `most` records (every one to
// the end of the index when 0).
struct Range {
    QString table;
    QString index;
    std::vector<Value> from;
    std::vector<Value> through;
    int most = 0;
};

// Reads what a screen shows at once: on a server in one round trip and one snapshot, where one seek
// at a time costs a round trip each. While it lives (inside a transaction: while the transaction
// lasts), a cursor's seek whose records lie in one of the ranges is answered from what was read; a
// write to a table forgets what was read of it. A file reads nothing ahead: it answers each seek
// as fast.
class ReadAhead {
public:
    ReadAhead(const Database& db, const std::vector<Range>& wanted);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

private:
    std::shared_ptr<detail::Connection> connection_;
    std::vector<std::shared_ptr<const detail::Window>> windows_;
};

} // namespace store
