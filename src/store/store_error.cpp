#include "store/store_error.h"

namespace store {

StoreError::StoreError(const QString& message, int sqliteCode)
    : std::runtime_error(message.toStdString()), message_(message), sqliteCode_(sqliteCode)
{
}

} // namespace store
