#include "store/window.h"

namespace store::detail {

namespace {

// How one key field compares with another: as SQL compares them, where a NULL makes the
// comparison unknown (no record is found by it). A text against an integer is a comparison this
// program does not make the server's way: the window then answers nothing.
enum class Order { Less, Equal, Greater, Unknown, Foreign };

Order compare(const Window::Key& a, const Window::Key& b)
{
    if (a.isInteger != b.isInteger && !a.isNull && !b.isNull)
        return Order::Foreign;
    if (a.isNull || b.isNull)
        return Order::Unknown;
    const int order = a.isInteger ? (a.number > b.number) - (a.number < b.number) : a.text.compare(b.text);
    return order < 0 ? Order::Less : order > 0 ? Order::Greater : Order::Equal;
}

// Row values compared over the first `count` fields, as SQL compares (a, b) with (x, y).
Order compare(const std::vector<Window::Key>& a, const std::vector<Window::Key>& b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Order order = compare(a[i], b[i]);
        if (order != Order::Equal)
            return order;
    }
    return Order::Equal;
}

} // namespace

Window::Key Window::keyOf(const Cell& cell, bool isNull)
{
    return {isNull, cell.isInteger, cell.number, cell.isInteger ? QByteArray() : cell.text.toUtf8()};
}

std::optional<size_t> Window::answer(const std::vector<Key>& keys, bool greater) const
{
    // Every record the seek may find must lie at or after where the window begins.
    const size_t shared = std::min(keys.size(), from.size());
    const Order order = compare(keys, from, shared);
    if (order != Order::Greater && order != Order::Equal)
        return std::nullopt;
    if (order == Order::Equal) {
        const bool covered = keys.size() >= from.size() ? !fromGreater || (keys.size() == from.size() && greater) : greater;
        if (!covered)
            return std::nullopt;
    }
    for (size_t at = 0; at < rows.size(); ++at) {
        const Order against = compare(rows[at].keys, keys, keys.size());
        if (against == Order::Foreign)
            return std::nullopt;
        if (against == Order::Greater || (against == Order::Equal && !greater))
            return at;
    }
    return reachesEnd ? std::optional<size_t>(rows.size()) : std::nullopt;
}

} // namespace store::detail
