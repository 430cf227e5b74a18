#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Every failure of the database layer is reported with this one exception type. Its message is
// a complete Japanese sentence for the operator that names the file, table, index or field.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message, int sqliteCode = 0);

    const QString& message() const { return message_; }
    int sqliteCode() const { return sqliteCode_; }

private:
    QString message_;
    int sqliteCode_;
};

} // namespace store
