#pragma once

#include <QString>
#include <QSet>
#include <map>
#include <memory>
#include <set>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store::detail {

class Connection;

// A prepared statement borrowed from a connection's cache; reset and handed back when the
// handle goes away.
class Statement {
public:
    Statement() = default;
    Statement(std::shared_ptr<Connection> connection, QString sql, sqlite3_stmt* stmt);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }
    void reset();   // ready to run again, bindings cleared
    void release(); // back to the cache

private:
    std::shared_ptr<Connection> connection_;
    QString sql_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Something that holds a statement stepping through rows and must stop before the connection
// writes (an unfinished read would otherwise keep the write from being committed).
class ActiveScan {
public:
    virtual void suspendScan() = 0;

protected:
    ~ActiveScan() = default;
};

// One SQLite connection per database file, shared by every handle on that file that is open at
// the same time, so that they see each other's writes at once and never lock each other out.
// It closes when the last handle lets it go.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    static std::shared_ptr<Connection> open(const QString& fileName);
    // A connection no other handle shares.
    static std::shared_ptr<Connection> openSeparately(const QString& fileName);
    ~Connection();

    sqlite3* handle() const { return db_; }
    const QString& fileName() const { return fileName_; }

    bool hasTable(const QString& name) const { return tables_.contains(name); }
    bool hasIndex(const QString& sqliteName) const { return indexes_.contains(sqliteName); }

    Statement prepare(const QString& sql);
    void giveBack(const QString& sql, sqlite3_stmt* stmt);

    void addScan(ActiveScan* scan) { scans_.insert(scan); }
    void removeScan(ActiveScan* scan) { scans_.erase(scan); }
    // Called before every write and before a transaction ends.
    void suspendScans();

    // Runs SQL that returns no rows; throws StoreError on failure.
    void run(const QString& sql, const QString& what);
    // Whether another connection has the file open: another program, or a separate handle. Each
    // connection holds a shared lock on the file's "-desks" companion while it is open; this one
    // asks for the exclusive lock for a moment, which only the only one can get.
    bool othersConnected() const;

    // Throws the StoreError for an SQLite result code, worded for the operator.
    [[noreturn]] void fail(int code, const QString& what) const;

    int transactionDepth = 0;

private:
    Connection(QString fileName, sqlite3* db);
    void loadCatalogue();

    QString fileName_;
    sqlite3* db_ = nullptr;
    QSet<QString> tables_;
    QSet<QString> indexes_;
    std::map<QString, std::vector<sqlite3_stmt*>> idle_;
    std::set<ActiveScan*> scans_;
    int presence_ = -1; // the companion file; its lock is released when the connection closes
};

} // namespace store::detail
