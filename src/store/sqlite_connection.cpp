// The connection to a database file, through SQLite.

#include "store/connection.h"

#include "store/busy_wait.h"
#include "store/reserver_keys.h"
#include "store/schema_upgrade.h"
#include "store/sqlite_handle.h"
#include "store/stored_text.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store::detail {

namespace {

class SqliteConnection;

class SqliteStatement : public Prepared {
public:
    SqliteStatement(SqliteConnection& connection, sqlite3_stmt* stmt) : connection_(connection), stmt_(stmt) {}
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int position, const Cell& value) override
    {
        if (value.isInteger) {
            sqlite3_bind_int64(stmt_, position, value.number);
            return;
        }
        // As UTF-8: SQLite takes a byte-order mark at the start of UTF-16 text for its own and drops it.
        const QByteArray utf8 = value.text.toUtf8();
        sqlite3_bind_text(stmt_, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    bool step(const QString& what) override;
    Cell cell(int column) const override
    {
        Cell cell;
        if (sqlite3_column_type(stmt_, column) == SQLITE_INTEGER) {
            cell.isInteger = true;
            cell.number = sqlite3_column_int64(stmt_, column);
        } else {
            cell.text = storedText(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)), sqlite3_column_bytes(stmt_, column));
        }
        return cell;
    }
    QByteArray bytes(int column) const override
    {
        // Asked for as a blob, an integer would be turned into text for good.
        if (sqlite3_column_type(stmt_, column) == SQLITE_INTEGER)
            return QByteArray::number(sqlite3_column_int64(stmt_, column));
        return {static_cast<const char*>(sqlite3_column_blob(stmt_, column)), sqlite3_column_bytes(stmt_, column)};
    }
    qint64 integer(int column) const override { return sqlite3_column_int64(stmt_, column); }
    bool isNull(int column) const override { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    int columns() const override { return sqlite3_column_count(stmt_); }
    qint64 changed() const override { return sqlite3_changes64(sqlite3_db_handle(stmt_)); }
    qint64 insertedRowid() const override { return sqlite3_last_insert_rowid(sqlite3_db_handle(stmt_)); }
    void reset() override
    {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

private:
    SqliteConnection& connection_;
    sqlite3_stmt* stmt_;
};

class SqliteConnection : public Connection {
public:
    SqliteConnection(const QString& fileName, sqlite3* db) : Connection(fileName, Dialect{}), db_(db)
    {
        installBusyWait(db_);
        sqlite3_extended_result_codes(db_, 1);
        // A lock of its own, apart from SQLite's locks of the database file, so that it can never
        // hold a reader or a writer up; it is released when the connection closes.
        presencePath_ = QFile::encodeName(QFileInfo(fileName).absoluteFilePath() + QStringLiteral("-desks"));
        attachPresence();
        filePath_ = QFile::encodeName(fileName);
        struct stat opened;
        if (::stat(filePath_.constData(), &opened) == 0)
            opened_ = {opened.st_dev, opened.st_ino};
    }
    ~SqliteConnection() override
    {
        dropIdleStatements();
        sqlite3_close_v2(db_);
        if (presence_ < 0)
            return;
        // The last desk to close takes the companion away. No other desk holds its shared lock
        // while this one holds the exclusive lock, and one that opened the file but has not locked
        // it yet finds, once it has, that the name no longer leads to it and opens the name again.
        if (flock(presence_, LOCK_EX | LOCK_NB) == 0 && presenceStillNamed())
            ::unlink(presencePath_.constData());
        ::close(presence_);
    }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return db_; }

    [[noreturn]] void fail(int code, const QString& what) const
    {
        throw StoreError(failureMessage(code, name_, what, QString::fromUtf8(sqlite3_errmsg(db_))), code);
    }

    void loadCatalogue() override
    {
        tables_.clear();
        indexes_.clear();
        SqliteStatement master(*this, compiled("SELECT type, name FROM sqlite_master"));
        while (master.step(QString())) {
            const QString type = master.cell(0).text;
            if (type == QLatin1String("table"))
                tables_.insert(master.cell(1).text);
            else if (type == QLatin1String("index"))
                indexes_.insert(master.cell(1).text);
        }
    }

    void runQuietly(const QString& sql) override { sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }

    // One that will write takes the write lock at once: one that read first and wanted to write
    // later could not wait for another program that holds the file, and would fail at once
    // instead of after the busy timeout.
    QString begin(bool writing) const override { return writing ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"); }

    bool queryHasRows(const QString& queryText) override
    {
        const QByteArray utf8 = queryText.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, &tail);
        if (rc != SQLITE_OK)
            fail(rc, QStringLiteral("照会"));
        SqliteStatement query(*this, stmt);
        if (!stmt || !sqlite3_stmt_readonly(stmt) || !QByteArray(tail).trimmed().isEmpty())
            throw StoreError(QStringLiteral("照会文が正しくありません（%1）。").arg(name_));
        return query.step(QStringLiteral("照会"));
    }

    void bulkInsert(const schema::TableDef& table, const std::function<bool(std::vector<Cell>&)>& next) override
    {
        QStringList marks;
        for (size_t i = 0; i < table.fields.size(); ++i)
            marks << QStringLiteral("?");
        Statement insert = prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(schema::quoted(table.name), marks.join(u',')));
        const QString what = QStringLiteral("テーブル「%1」").arg(table.name);
        std::vector<Cell> values;
        while (next(values)) {
            for (size_t i = 0; i < values.size(); ++i)
                insert->bind(int(i) + 1, values[i]);
            insert->step(what);
            insert.reset();
        }
    }

    // Each connection holds a shared lock on the file's "-desks" companion while it is open; this
    // one asks for the exclusive lock for a moment, which only the only one can get.
    bool othersConnected() override
    {
        if (presence_ < 0)
            return false;
        const bool alone = flock(presence_, LOCK_EX | LOCK_NB) == 0;
        // Changing a lock drops it first, and meanwhile the last other desk may have closed and
        // taken the companion away: the shared lock is taken again, on the companion the name leads to.
        if (lockShared() && !presenceStillNamed()) {
            ::close(presence_);
            attachPresence();
        }
        return !alone;
    }

    // SQLite counts the commits of other connections in PRAGMA data_version, and this one's rows
    // changed in total_changes.
    std::pair<qint64, qint64> changeStamp() override
    {
        SqliteStatement version(*this, compiled("PRAGMA data_version"));
        if (!version.step(QString()))
            fail(SQLITE_ERROR, QString());
        return {version.integer(0), sqlite3_total_changes64(db_)};
    }

    // A writing transaction already holds the file's only write lock.
    void serialise(const QString&) override {}

protected:
    std::unique_ptr<Prepared> compile(const QString& sql) override
    {
        return std::make_unique<SqliteStatement>(*this, compiled(sql.toUtf8()));
    }

public:
    void checkStillThere() override
    {
        struct stat named;
        if (::stat(filePath_.constData(), &named) != 0) {
            throw StoreError(QStringLiteral("データベースファイル「%1」が見つかりません（フォルダ: %2）。")
                                 .arg(name_, QDir::toNativeSeparators(QDir::currentPath())),
                             SQLITE_CANTOPEN);
        }
        if (opened_ && (named.st_dev != opened_->first || named.st_ino != opened_->second)) {
            throw StoreError(
                QStringLiteral("データベースファイル「%1」は別のファイルに置き換えられました。プログラムを終了して、起動し直してください。")
                    .arg(name_),
                SQLITE_CANTOPEN);
        }
        // Another program may have made or dropped tables and indexes since they were read: read
        // again after any change of the file (a few dozen names).
        const std::pair<qint64, qint64> stamp{named.st_size, qint64(named.st_mtim.tv_sec) * 1000000000 + named.st_mtim.tv_nsec};
        if (stamp != catalogueStamp_) {
            loadCatalogue();
            catalogueStamp_ = stamp;
        }
    }

protected:
    void execute(const QString& sql, const QString& what) override
    {
        const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            fail(rc, what);
    }

private:
    // Opens the companion and holds its shared lock, waiting the moment another desk holds the
    // exclusive lock to look whether it is alone. A companion the last desk removed while this
    // one was opening it is left for the one now under the name.
    void attachPresence()
    {
        for (;;) {
            presence_ = ::open(presencePath_.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            // A desk of another login may have made it without write permission for this one:
            // a lock needs only reading.
            if (presence_ < 0 && (errno == EACCES || errno == EPERM))
                presence_ = ::open(presencePath_.constData(), O_RDONLY | O_CLOEXEC);
            if (presence_ < 0 || !lockShared() || presenceStillNamed())
                return;
            ::close(presence_);
        }
    }
    // False on a file system without such locks (the companion is kept; the file is one to warn about).
    bool lockShared() const
    {
        int rc;
        while ((rc = flock(presence_, LOCK_SH)) != 0 && errno == EINTR) {
        }
        return rc == 0;
    }
    bool presenceStillNamed() const
    {
        struct stat held, named;
        return fstat(presence_, &held) == 0 && ::stat(presencePath_.constData(), &named) == 0 && held.st_dev == named.st_dev &&
               held.st_ino == named.st_ino;
    }

    sqlite3_stmt* compiled(const QByteArray& utf8)
    {
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v3(db_, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(rc, QString());
        return stmt;
    }

    sqlite3* db_;
    std::pair<qint64, qint64> catalogueStamp_{-1, -1}; // size and modification time of the file when last read
    QByteArray filePath_;                              // the file as it was named when opened
    std::optional<std::pair<dev_t, ino_t>> opened_;    // the file the name led to then
    QByteArray presencePath_;                          // the "-desks" companion file
    int presence_ = -1;
};

bool SqliteStatement::step(const QString& what)
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        connection_.fail(rc, what);
    return false;
}

// A missing file is named with the folder it was looked for in: the program never makes one.
void requireFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile()) {
        throw StoreError(QStringLiteral("データベースファイル「%1」が見つかりません（フォルダ: %2）。")
                             .arg(shownDatabase(fileName), QDir::toNativeSeparators(QDir::currentPath())),
                         SQLITE_CANTOPEN);
    }
}

} // namespace

sqlite3* sqliteHandle(const Connection& connection)
{
    const auto* file = dynamic_cast<const SqliteConnection*>(&connection);
    return file ? file->handle() : nullptr;
}

std::shared_ptr<Connection> openFile(const QString& fileName)
{
    // A file already open in this process is found by its path without asking the file system.
    const QString absolute = QDir::current().absoluteFilePath(fileName);
    auto& connections = openConnections();
    if (auto it = connections.find(absolute); it != connections.end()) {
        if (std::shared_ptr<Connection> shared = it->second.lock())
            return shared;
    }
    requireFile(fileName);
    // Different spellings of one file (a link, "./") share one connection too.
    const QString key = QFileInfo(fileName).canonicalFilePath();
    if (auto it = connections.find(key); it != connections.end()) {
        if (std::shared_ptr<Connection> shared = it->second.lock()) {
            connections[absolute] = shared;
            return shared;
        }
    }

    std::shared_ptr<Connection> connection = connectFile(fileName);
    connections[key] = connection;
    connections[absolute] = connection;
    return connection;
}

std::shared_ptr<Connection> connectFile(const QString& fileName, bool onlyReading)
{
    requireFile(fileName);
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
    auto connection = std::make_shared<SqliteConnection>(fileName, db);
    if (onlyReading) {
        // Opened for writing all the same where the file allows it, so that a save cut short by a
        // crash is rolled back from its journal at the first read, as the program does.
        connection->run(QStringLiteral("PRAGMA query_only = 1"), QString());
        connection->loadCatalogue();
        storedVersion(db, fileName);
        return connection;
    }
    // A file of an older version is brought up to this one before anything reads it.
    upgradeSchema(db, fileName);
    connection->loadCatalogue();
    connection->run(QStringLiteral("PRAGMA synchronous = FULL"), QString());
    reserver_keys::makeNotedKeys(*connection);
    return connection;
}

} // namespace store::detail
