#include "rules/ranged_deletion.h"

#include "store/table.h"

namespace maintenance {

int DeleteWhile(store::Table& table, const std::function<bool(const store::Table&)>& inRange)
{
    int deleted = 0;
    for (; !table.eof(); table.moveNext()) {
        if (!inRange(table))
            break;
        table.remove();
        ++deleted;
    }
    return deleted;
}

} // namespace maintenance
