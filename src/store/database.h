#pragma once

#include "store/table.h"

#include <QString>
#include <memory>
#include <utility>

namespace store {

namespace detail {
class Connection;
}

// The two database files of a data folder, and the settings file there that may name a database
// server instead (store/desk_database.h reads it).
inline const QString kMainFile = QStringLiteral("Kelvora.mdb");
inline const QString kBackupFile = QStringLiteral("Kelvorabkup.mdb");
inline const QString kSettingsFile = QStringLiteral("Kelvora.ini");

// Whether a name given for a database is a server's connection string ("postgresql://…",
// "postgres://…", or key/value text holding "dbname=", "service=", "host=" or "hostaddr=")
// rather than a file name.
bool isServerAddress(const QString& name);

// A handle on a database: a file, or a database on a server. Opening never creates a file: a
// missing file is a StoreError, as is a server that cannot be reached. Several handles on the
// same database may be open at once; they share one connection.
class Database {
public:
    // A file, or a server's connection string (isServerAddress()).
    static Database open(const QString& name);
    // A handle with a connection of its own, shared with no other handle: the database as another
    // desk sees it (a second desk in the same process, or a tool working beside the program).
    static Database openSeparately(const QString& name);
    // A server named by any connection string libpq reads (a list of hosts, a service, ...).
    enum class Sharing { Shared, Separately };
    static Database openServer(const QString& address, Sharing sharing = Sharing::Shared);
    // A handle of its own that only reads the database as it is, for a copy, an export or a sheet:
    // one of an earlier version is not upgraded (the tables of later versions are missing), and
    // nothing is written, except that a file's save cut short by a crash is rolled back first.
    static Database openToRead(const QString& name);

    // The file name, or the database and its server, as messages name it.
    const QString& fileName() const;
    // Whether the database lives on a server.
    bool onServer() const;

    // A table cursor ("OpenRecordset" on a table).
    Table table(const QString& tableName) const;
    // The same with an index selected.
    Table table(const QString& tableName, const QString& indexName) const;

    // Whether the database holds the table: one of an earlier version read as it is (openToRead)
    // lacks the tables of later versions.
    bool hasTable(const QString& tableName) const;

    // Runs a query text and tells whether its result holds at least one row. The text must be one
    // SELECT statement; text literals in it must be made with sqlLiteral().
    bool queryHasRows(const QString& queryText) const;

    // Runs one of the whole-table deletions, "DELETE * FROM <table> ;". Any other statement text
    // is refused.
    void execute(const QString& statementText) const;

    void close();

    // Something that differs after any commit to the database since it was last read, by another
    // connection or by this one. Screens compare it on a timer to follow what other desks do.
    using ChangeStamp = std::pair<qint64, qint64>;
    ChangeStamp changeStamp() const;

    // Whether another desk has the database open now (another program, or a separate handle).
    bool othersConnected() const;

    std::shared_ptr<detail::Connection> connection() const { return connection_; }

private:
    explicit Database(std::shared_ptr<detail::Connection> connection);
    std::shared_ptr<detail::Connection> connection_;
};

// Work over many records runs inside one transaction: it is all or nothing, and fast. The
// transaction is rolled back when the guard goes away without commit(). Guards nest; an outermost
// transaction that will write takes the write lock when it begins, waiting up to the busy timeout
// for another program that holds the file. One that only reads (many look-ups under one read lock)
// takes no write lock, so it never holds other programs up.
class Transaction {
public:
    enum Purpose { ForWriting, ForReading };

    explicit Transaction(const Database& database, Purpose purpose = ForWriting);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

    // Holds every other transaction that serialises on the same key until this one ends. On
    // SQLite a writing transaction already holds the file's only write lock, so nothing more is
    // taken; the PostgreSQL store takes a transaction-scoped advisory lock on the key here.
    void serialise(const QString& key) const;

private:
    std::shared_ptr<detail::Connection> connection_;
    bool open_ = true;
};

// Text made into an SQL text literal: quoted, with quotes inside doubled.
QString sqlLiteral(const QString& text);

} // namespace store
