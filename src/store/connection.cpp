#include "store/connection.h"

#include "store/busy_wait.h"
#include "store/schema_upgrade.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace store::detail {

namespace {

std::map<QString, std::weak_ptr<Connection>>& openConnections()
{
    static std::map<QString, std::weak_ptr<Connection>> connections;
    return connections;
}

} // namespace

Statement::Statement(std::shared_ptr<Connection> connection, QString sql, sqlite3_stmt* stmt)
    : connection_(std::move(connection)), sql_(std::move(sql)), stmt_(stmt)
{
}

Statement::Statement(Statement&& other) noexcept
    : connection_(std::move(other.connection_)), sql_(std::move(other.sql_)), stmt_(other.stmt_)
{
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        release();
        connection_ = std::move(other.connection_);
        sql_ = std::move(other.sql_);
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement()
{
    release();
}

void Statement::reset()
{
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

void Statement::release()
{
    if (stmt_) {
        reset();
        connection_->giveBack(sql_, stmt_);
        stmt_ = nullptr;
    }
    connection_.reset();
}

std::shared_ptr<Connection> Connection::open(const QString& fileName)
{
    // A file already open in this process is found by its path without asking the file system.
    const QString absolute = QDir::current().absoluteFilePath(fileName);
    auto& connections = openConnections();
    if (auto it = connections.find(absolute); it != connections.end()) {
        if (std::shared_ptr<Connection> shared = it->second.lock())
            return shared;
    }
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile()) {
        throw StoreError(QStringLiteral("データベースファイル「%1」が見つかりません（フォルダ: %2）。")
                             .arg(fileName, QDir::toNativeSeparators(QDir::currentPath())),
                         SQLITE_CANTOPEN);
    }
    // Different spellings of one file (a link, "./") share one connection too.
    const QString key = info.canonicalFilePath();
    if (auto it = connections.find(key); it != connections.end()) {
        if (std::shared_ptr<Connection> shared = it->second.lock()) {
            connections[absolute] = shared;
            return shared;
        }
    }

    std::shared_ptr<Connection> connection = openSeparately(fileName);
    connections[key] = connection;
    connections[absolute] = connection;
    return connection;
}

std::shared_ptr<Connection> Connection::openSeparately(const QString& fileName)
{
    sqlite3* db = nullptr;
    // Never SQLITE_OPEN_CREATE: a missing file is an error, not a new empty database.
    int rc = sqlite3_open_v2(fileName.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        if (db)
            rc = sqlite3_extended_errcode(db);
        sqlite3_close(db);
        throw StoreError(failureMessage(rc, fileName, QString(), detail), rc);
    }
    std::shared_ptr<Connection> connection(new Connection(fileName, db));
    installBusyWait(db);
    sqlite3_extended_result_codes(db, 1);
    // A file of an older version is brought up to this one before anything reads it.
    upgradeSchema(db, fileName);
    connection->loadCatalogue();
    connection->run(QStringLiteral("PRAGMA synchronous = FULL"), QString());
    // A lock of its own, apart from SQLite's locks of the database file, so that it can never
    // hold a reader or a writer up.
    connection->presence_ = ::open(QFile::encodeName(fileName + QStringLiteral("-desks")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (connection->presence_ >= 0)
        flock(connection->presence_, LOCK_SH | LOCK_NB);
    return connection;
}

Connection::Connection(QString fileName, sqlite3* db) : fileName_(std::move(fileName)), db_(db)
{
}

Connection::~Connection()
{
    for (auto& [sql, statements] : idle_) {
        for (sqlite3_stmt* stmt : statements)
            sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(db_);
    if (presence_ >= 0)
        ::close(presence_);
    auto& connections = openConnections();
    for (auto it = connections.begin(); it != connections.end();) {
        if (it->second.expired())
            it = connections.erase(it);
        else
            ++it;
    }
}

void Connection::loadCatalogue()
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, "SELECT type, name FROM sqlite_master", -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, QString());
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        if (type == QLatin1String("table"))
            tables_.insert(name);
        else if (type == QLatin1String("index"))
            indexes_.insert(name);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        fail(rc, QString());
}

Statement Connection::prepare(const QString& sql)
{
    auto& idle = idle_[sql];
    if (!idle.empty()) {
        sqlite3_stmt* stmt = idle.back();
        idle.pop_back();
        return Statement(shared_from_this(), sql, stmt);
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db_, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, QString());
    return Statement(shared_from_this(), sql, stmt);
}

void Connection::giveBack(const QString& sql, sqlite3_stmt* stmt)
{
    idle_[sql].push_back(stmt);
}

void Connection::suspendScans()
{
    // A scan removes itself while suspending, so walk a copy.
    const std::set<ActiveScan*> scans = scans_;
    for (ActiveScan* scan : scans)
        scan->suspendScan();
}

void Connection::run(const QString& sql, const QString& what)
{
    suspendScans();
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        fail(rc, what);
}

bool Connection::othersConnected() const
{
    if (presence_ < 0)
        return false;
    const bool alone = flock(presence_, LOCK_EX | LOCK_NB) == 0;
    // Changing a lock may drop it first: the shared lock is taken again either way.
    flock(presence_, LOCK_SH | LOCK_NB);
    return !alone;
}

void Connection::fail(int code, const QString& what) const
{
    throw StoreError(failureMessage(code, fileName_, what, QString::fromUtf8(sqlite3_errmsg(db_))), code);
}

} // namespace store::detail
