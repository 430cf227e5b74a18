#pragma once

#include "store/cell.h"
#include "store/schema.h"
#include "store/window.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace store::detail {

// A statement prepared by one engine. Parameters are bound by position from 1, columns read by
// position from 0. Failures are StoreErrors naming `what` (a table or an action).
class Prepared {
public:
    virtual ~Prepared() = default;
    virtual void bind(int position, const Cell& value) = 0;
    // Runs the statement, or moves to its next row: true while there is a row.
    virtual bool step(const QString& what) = 0;
    // A column of the current row; NULL reads as the empty text.
    virtual Cell cell(int column) const = 0;
    // The same as the database holds it, byte for byte: text in its stored UTF-8, an integer as
    // its decimal digits, NULL as nothing.
    virtual QByteArray bytes(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual bool isNull(int column) const = 0;
    virtual int columns() const = 0;
    // The records the statement's run inserted, changed or deleted.
    virtual qint64 changed() const = 0;
    // The rowid of the record the statement's run inserted (its SQL ends as Dialect::insertEnd).
    virtual qint64 insertedRowid() const = 0;
    // The same, asked for only when it is needed: a server may still be carrying the insert
    // together with the statements after it.
    virtual std::function<qint64()> insertedRowidLater() const
    {
        const qint64 rowid = insertedRowid();
        return [rowid] { return rowid; };
    }
    // Ready to run again, bindings cleared.
    virtual void reset() = 0;
};

class Connection;

// A prepared statement borrowed from a connection's cache; reset and handed back when the
// handle goes away.
class Statement {
public:
    Statement() = default;
    Statement(std::shared_ptr<Connection> connection, QString sql, std::unique_ptr<Prepared> prepared);
    Statement(Statement&& other) noexcept = default;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Prepared* operator->() const { return prepared_.get(); }
    explicit operator bool() const { return prepared_ != nullptr; }
    void reset();   // ready to run again, bindings cleared
    void release(); // back to the cache

private:
    std::shared_ptr<Connection> connection_;
    QString sql_;
    std::unique_ptr<Prepared> prepared_;
};

// Something that holds a statement stepping through rows and must stop before the connection
// writes (an unfinished read would otherwise keep the write from being committed).
class ActiveScan {
public:
    virtual void suspendScan() = 0;

protected:
    ~ActiveScan() = default;
};

// How the SQL of one engine differs where the cursor writes it.
// SQLite is told which index a scan reads (INDEXED BY) and takes plain parameter marks ("?");
// PostgreSQL chooses the index by itself and numbers its marks ("$1").
struct Dialect {
    schema::Engine engine = schema::Engine::File;
    // Rows a scan reads at a time, for the first batch and for each continuation; 0 reads the
    // whole range through one statement, step by step.
    int firstBatch = 0;
    int nextBatch = 0;
    // Records a ranged deletion removes per statement: few enough that the progress window moves
    // and can stop the work, many enough that reading a batch's keys and deleting it costs little
    // more than one statement over the whole range. A server deletes a record in microseconds,
    // a file in tens of them.
    int removeBatch = 1000;
    // How an INSERT ends that hands back the new record's rowid. SQLite tells it without asking;
    // RETURNING there would make every insert keep a statement journal (it runs as a trigger).
    const char* insertEnd = "";
};

// A connection to one database, shared by every handle on it that is open at the same time, so
// that they see each other's writes at once and never lock each other out. The engine (SQLite
// for a file, PostgreSQL for a server) lies behind it; it closes when the last handle lets it go.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    // A file name, or a server's connection string (isServerAddress()).
    static std::shared_ptr<Connection> open(const QString& name);
    // A connection no other handle shares.
    static std::shared_ptr<Connection> openSeparately(const QString& name);
    // A connection of its own that reads the database as it is: neither upgraded nor written.
    static std::shared_ptr<Connection> openToRead(const QString& name);
    virtual ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The database as messages name it: the file name, or the database and its server.
    const QString& name() const { return name_; }
    const Dialect& dialect() const { return dialect_; }
    // The parameter mark for position `position` (from 1) of a statement.
    QString mark(int position) const;

    bool hasTable(const QString& name) const { return tables_.contains(name); }
    bool hasIndex(const QString& storedName) const { return indexes_.contains(storedName); }
    // Reads the names of the tables and indexes again (after they were made).
    virtual void loadCatalogue() = 0;

    // A statement from the cache, or compiled. Outside a transaction the database is first made
    // sure to be still there (checkStillThere()).
    Statement prepare(const QString& sql);
    void giveBack(const QString& sql, std::unique_ptr<Prepared> prepared);

    void addScan(ActiveScan* scan) { scans_.insert(scan); }
    void removeScan(ActiveScan* scan) { scans_.erase(scan); }
    // Called before every write and before a transaction ends.
    void suspendScans();

    // Runs SQL that returns no rows; throws StoreError on failure.
    void run(const QString& sql, const QString& what);
    // The rows of a query, each as texts (integers in decimal), for the database tools.
    QList<QStringList> rows(const QString& sql, const QString& what);
    // The same where a failure cannot be reported any more (undoing in a destructor).
    virtual void runQuietly(const QString& sql) = 0;
    // The statement that opens an outermost transaction that will write, or one that only reads.
    virtual QString begin(bool writing) const = 0;
    // Opens a transaction (store::Transaction): the outermost, or one nested in it (a savepoint);
    // and ends the innermost, committing it or rolling it back (a rollback reports nothing).
    void beginTransaction(bool writing);
    void endTransaction(bool commit);
    // Whether one SELECT statement yields a row; anything but one SELECT is refused.
    virtual bool queryHasRows(const QString& queryText) = 0;
    // Adds many records to a table at once, inside the caller's transaction: `next` fills the
    // values of the next record (every field, in catalogue order) and returns false after the last.
    virtual void bulkInsert(const schema::TableDef& table, const std::function<bool(std::vector<Cell>&)>& next) = 0;

    // Whether another connection has the database open: another program, or a separate handle.
    virtual bool othersConnected() = 0;
    // A pair that differs after any commit to the database, by this connection or another, since
    // it was last asked.
    virtual std::pair<qint64, qint64> changeStamp() = 0;
    // Holds every other transaction that serialises on `key` until the current one ends.
    virtual void serialise(const QString& key) = 0;

    int transactionDepth = 0;

    // Reads each statement with its values, all at once (a server: in one round trip, in one
    // snapshot), and gives back the rows of each: the rowid first, then the fields. A file reads
    // nothing ahead: it answers each seek as fast as a window would.
    struct Read {
        QString table;
        QString sql;
        std::vector<Cell> values;
        std::vector<int> keyColumns; // the columns of the rows that hold the index's key fields
    };
    virtual std::optional<std::vector<std::vector<Window::Row>>> readTogether(const std::vector<Read>& reads);

    // The windows of records read ahead or by a seek inside a transaction, which answer the seeks
    // of the cursors on this connection (see Window).
    std::pair<std::shared_ptr<const Window>, size_t> windowFor(const schema::IndexDef& index, const std::vector<Window::Key>& keys,
                                                               bool greater) const;
    void keepWindow(std::shared_ptr<const Window> window);
    void forgetWindow(const Window* window);
    // After a write to `table` (every table when empty), its windows no longer hold.
    void forgetWindows(const QString& table = {});

    // A desk keeps its connection open for its whole life: a file removed or replaced meanwhile
    // must not go on taking writes nobody will see (a StoreError says so), and tables or indexes
    // another program made or dropped are read again. Done before a statement outside a
    // transaction, before a cursor is made outside one, and before an outermost transaction.
    virtual void checkStillThere() {}

protected:
    Connection(QString name, Dialect dialect);
    // What beginTransaction() and endTransaction() send: BEGIN (begin()) or SAVEPOINT `savepoint`,
    // COMMIT or RELEASE, ROLLBACK or ROLLBACK TO. A server may hold them back (see there).
    virtual void openTransaction(bool writing, const QString& savepoint);
    virtual void closeTransaction(bool commit, const QString& savepoint);
    virtual std::unique_ptr<Prepared> compile(const QString& sql) = 0;
    virtual void execute(const QString& sql, const QString& what) = 0;
    // Forgets the statements prepared so far (the server lost them when the connection broke).
    void dropIdleStatements() { idle_.clear(); }

    QString name_;
    QSet<QString> tables_;
    QSet<QString> indexes_;

private:
    Dialect dialect_;
    std::map<QString, std::vector<std::unique_ptr<Prepared>>> idle_;
    std::set<ActiveScan*> scans_;
    std::vector<std::shared_ptr<const Window>> windows_;
};

// The connections open in this process, by the names they were opened with, so that every
// handle on one database shares one connection.
std::map<QString, std::weak_ptr<Connection>>& openConnections();

// The engines' own ways of opening: one shared with the other handles on the database, and one
// of its own.
std::shared_ptr<Connection> openFile(const QString& fileName);
std::shared_ptr<Connection> connectFile(const QString& fileName, bool onlyReading = false);
std::shared_ptr<Connection> openServer(const QString& address);
// Whether a server's connection string holds a password (password=…, or a URI's user:password@).
bool holdsPassword(const QString& address);
// Why libpq cannot read a connection string, or the empty text when it can.
QString connectionStringProblem(const QString& address);
std::shared_ptr<Connection> connectServer(const QString& address, bool onlyReading = false);

} // namespace store::detail
