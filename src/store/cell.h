#pragma once

#include <QString>

namespace store::detail {

// One stored value as the engines hand it over: an integer or a text.
struct Cell {
    bool isInteger = false;
    qint64 number = 0;
    QString text;
    bool operator==(const Cell& other) const = default;
    static Cell ofInteger(qint64 value) { return {true, value, QString()}; }
};

} // namespace store::detail
