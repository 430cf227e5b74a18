#include "store/read_ahead.h"

#include "store/connection.h"

#include <algorithm>
#include <iterator>

namespace store {

ReadAhead::ReadAhead(const Database& db, const std::vector<Range>& wanted) : connection_(db.connection())
{
    if (!db.onServer())
        return;
    // A table a database of an earlier version lacks has nothing to read.
    std::vector<Range> ranges;
    std::copy_if(wanted.begin(), wanted.end(), std::back_inserter(ranges), [&](const Range& range) { return db.hasTable(range.table); });
    if (ranges.empty())
        return;
    std::vector<Table> cursors;
    std::vector<detail::Connection::Read> reads;
    for (const Range& range : ranges) {
        cursors.push_back(db.table(range.table, range.index));
        for (detail::Connection::Read& read : cursors.back().rangeReads(range.from, range.through, range.most))
            reads.push_back(std::move(read));
    }
    const std::optional<std::vector<std::vector<detail::Window::Row>>> rows = connection_->readTogether(reads);
    if (!rows)
        return;
    auto next = rows->begin();
    for (size_t i = 0; i < ranges.size(); ++i) {
        // A bounded range was read with the record after it.
        const auto end = next + (ranges[i].through.empty() ? 1 : 2);
        windows_.push_back(cursors[i].rangeWindow(ranges[i].from, ranges[i].through, ranges[i].most, {next, end}));
        connection_->keepWindow(windows_.back());
        next = end;
    }
}

ReadAhead::~ReadAhead()
{
    // What a transaction read stays true until it writes or ends.
    for (const std::shared_ptr<const detail::Window>& window : windows_) {
        if (!window->inTransaction)
            connection_->forgetWindow(window.get());
    }
}

} // namespace store
