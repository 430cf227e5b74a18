#pragma once

#include "store/cell.h"
#include "store/schema.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace store::detail {

// Records of one index of one table as the server handed them over at one moment, in index order:
// every record from where a seek with `from` lands, up to the last one read, and whether the
// index ends there. A cursor's seek whose records lie in it is answered from it, with no round
// trip. It is never changed: a write forgets it, and a cursor standing in it reads on from the
// server (see Table).
struct Window {
    // A key field of a record, as the server orders it: integers by value, text by its bytes
    // (every text field of the server collates "C"), NULL after everything.
    struct Key {
        bool isNull = false;
        bool isInteger = false;
        qint64 number = 0;
        QByteArray text;
    };
    struct Row {
        std::vector<Cell> cells; // the rowid, then every field of the table
        std::vector<Key> keys;   // the index's key fields
    };

    const schema::TableDef* table = nullptr;
    const schema::IndexDef* index = nullptr;
    std::vector<Key> from; // the leading key values of the seek it begins at
    bool fromGreater = false;
    std::vector<Row> rows;
    bool reachesEnd = false;
    // Read inside a transaction, and true only while it lasts; read by a cursor on its own (a
    // continuation), or kept only by whoever reads ahead.
    bool inTransaction = false;
    bool automatic = false;

    static Key keyOf(const Cell& cell, bool isNull = false);

    // Where a seek ">=" (">" with `greater`) with the leading key values `keys` lands: the position
    // of a row, rows.size() past the last record of the index, or nothing when the answer may lie
    // outside the window.
    std::optional<size_t> answer(const std::vector<Key>& keys, bool greater) const;
};

} // namespace store::detail
