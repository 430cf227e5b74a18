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

// The operator's sentence for an SQLite failure on the database file `file`: `code` is SQLite's
// extended result code, `what` the table or action it happened in (may be empty) and `detail`
// SQLite's own text, shown only when nothing better can be said. It looks at the file and its
// folder to tell a read-only file from a folder where the journal cannot be made.
QString failureMessage(int code, const QString& file, const QString& what = {}, const QString& detail = {});

} // namespace store
