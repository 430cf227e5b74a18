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

// The operator's sentence for a failure on a database server: `state` is the server's SQLSTATE
// (class 08 when the connection is lost), `database` the database as messages name it, `server`
// its host and port, `what` the table or action, `reason` the server's own words.
QString serverFailureMessage(const QByteArray& state, const QString& database, const QString& server, const QString& what,
                             const QString& reason);
// The sentence for a server that left an action `seconds` without an answer: the desk gave up and
// closed the connection.
QString serverSilentMessage(const QString& server, const QString& what, int seconds);
// The sentences for a connection lost while a COMMIT was on its way: connected again, the desk found
// the change saved, or could not find out (`reason`).
QString commitKeptMessage(const QString& server, const QString& what);
QString commitUnknownMessage(const QString& server, const QString& what, const QString& reason);
// The sentence for a server that cannot be reached with the connection string `address`: it
// names the server and the database (never a password) and gives libpq's reason.
QString connectFailureMessage(const QString& address, const QString& reason);

// A database as messages, output and logs show the name it was given: a server's connection string
// that holds a password (password=…, or a URI's user:password@) as its settings in key=value form
// without the password; anything else (a file name, a connection string without a password) as it
// is.
QString shownDatabase(const QString& name);

} // namespace store
