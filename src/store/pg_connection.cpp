// The connection to a database on a PostgreSQL server, through libpq.

#include "store/connection.h"

#include "store/busy_wait.h"
#include "store/reserver_keys.h"
#include "store/store_error.h"
#include "store/stored_text.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cerrno>
#include <libpq-fe.h>
#include <poll.h>

namespace store::detail {

namespace {

// The channel on which commits that changed rows are announced.
constexpr char kChangeChannel[] = "kelvora_changes";
// How long a statement waits for a lock another desk holds, as long as a file's busy wait.
constexpr int kLockTimeoutMs = 3000;
// How long the server may take to answer before the windows get a turn, and between turns.
constexpr int kWaitTurnMs = 50;

// The type numbers of PostgreSQL's integer columns (int8, int2, int4).
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

struct ConnDeleter {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
using Conn = std::unique_ptr<PGconn, ConnDeleter>;

bool succeeded(const PGresult* result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

class PgConnection;

class PgStatement : public Prepared {
public:
    PgStatement(PgConnection& connection, QByteArray sql) : connection_(connection), sql_(std::move(sql)) {}

    void bind(int position, const Cell& value) override
    {
        if (values_.size() < size_t(position))
            values_.resize(size_t(position));
        values_[size_t(position - 1)] = value.isInteger ? QByteArray::number(value.number) : value.text.toUtf8();
    }
    bool step(const QString& what) override;
    Cell cell(int column) const override
    {
        Cell cell;
        const char* text = PQgetvalue(result_.get(), row_, column);
        const Oid type = PQftype(result_.get(), column);
        if (!PQgetisnull(result_.get(), row_, column) && (type == kInt8 || type == kInt2 || type == kInt4)) {
            cell.isInteger = true;
            cell.number = QByteArray(text).toLongLong();
        } else {
            cell.text = storedText(text, PQgetlength(result_.get(), row_, column));
        }
        return cell;
    }
    QByteArray bytes(int column) const override
    {
        return {PQgetvalue(result_.get(), row_, column), PQgetlength(result_.get(), row_, column)};
    }
    qint64 integer(int column) const override { return QByteArray(PQgetvalue(result_.get(), row_, column)).toLongLong(); }
    int columns() const override { return PQnfields(result_.get()); }
    qint64 changed() const override { return QByteArray(PQcmdTuples(result_.get())).toLongLong(); }
    qint64 insertedRowid() const override { return integer(0); }
    void reset() override
    {
        result_.reset();
        values_.clear();
        row_ = -1;
    }

private:
    PgConnection& connection_;
    QByteArray sql_;
    // The server's name of the prepared statement, and the connection (counted from the first)
    // it was prepared on: a connection made again has forgotten it.
    QByteArray serverName_;
    int preparedOn_ = -1;
    std::vector<QByteArray> values_;
    Result result_;
    int row_ = -1;
};

class PgConnection : public Connection {
public:
    PgConnection(Conn conn, const QString& server, bool onlyReading)
        : Connection(QString::fromUtf8(PQdb(conn.get())) + QStringLiteral("（") + server + QStringLiteral("）"),
                     Dialect{.engine = schema::Engine::Server,
                             .firstBatch = 32,
                             .nextBatch = 512,
                             .removeBatch = 5000,
                             .insertEnd = " RETURNING rowid"}),
          conn_(std::move(conn)), server_(server), onlyReading_(onlyReading)
    {}
    ~PgConnection() override { dropIdleStatements(); }

    [[noreturn]] void fail(const PGresult* result, const QString& what) const
    {
        const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
        const QString reason = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_.get())).trimmed();
        const bool lost = PQstatus(conn_.get()) != CONNECTION_OK;
        throw StoreError(serverFailureMessage(lost ? QByteArray("08006") : QByteArray(state), name_, server_, what,
                                              reason.isEmpty() ? QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed() : reason));
    }

    // A connection that broke outside a transaction is made again before the next statement;
    // inside one, the transaction is lost and its guard rolls it back.
    int usable()
    {
        if (PQstatus(conn_.get()) != CONNECTION_OK && transactionDepth == 0) {
            PQreset(conn_.get());
            if (PQstatus(conn_.get()) != CONNECTION_OK)
                fail(nullptr, QString());
            ++generation_;
            dropIdleStatements();
            startSession();
        }
        return generation_;
    }

    Result exec(const QByteArray& sql, const QString& what)
    {
        usable();
        Result result = answer(PQsendQuery(conn_.get(), sql.constData()) == 1);
        if (!succeeded(result.get()))
            fail(result.get(), what);
        announce(result.get());
        return result;
    }

    // The answer to what was just sent: the first failure, or else the last result, as PQexec
    // gives. While the server keeps the statement waiting (another desk holds a lock, up to the
    // lock timeout) the program's windows get their turns, as while a file's connection waits.
    Result answer(bool sent)
    {
        Result last;
        if (!sent)
            return last;
        for (;;) {
            while (PQisBusy(conn_.get())) {
                pollfd socket{PQsocket(conn_.get()), POLLIN, 0};
                const int ready = ::poll(&socket, 1, kWaitTurnMs);
                if (ready == 0 || (ready < 0 && errno == EINTR)) {
                    waitTurn();
                    continue;
                }
                if (ready < 0 || PQconsumeInput(conn_.get()) != 1)
                    break; // the next result tells what went wrong
            }
            PGresult* result = PQgetResult(conn_.get());
            if (!result)
                return last;
            if (!last || succeeded(last.get()))
                last.reset(result);
            else
                PQclear(result);
        }
    }

    // Every connection of the program hears the commits that changed rows: a write sends a
    // notification, which the server delivers to each listener when (and only if) its transaction
    // commits. One per transaction is enough, as the server folds the same one sent twice.
    // A connection, new or made again, listens for them, and waits for another desk's locks as
    // long as a file's connection waits for another program (then the action is refused as busy).
    // One that only reads has the server refuse every write.
    void startSession()
    {
        QList<QByteArray> settings = {QByteArray("LISTEN ").append(kChangeChannel),
                                      QByteArray("SET lock_timeout = ") + QByteArray::number(kLockTimeoutMs)};
        if (onlyReading_)
            settings << QByteArray("SET default_transaction_read_only = on");
        for (const QByteArray& sql : settings) {
            Result result(PQexec(conn_.get(), sql.constData()));
            if (!succeeded(result.get()))
                fail(result.get(), QString());
        }
    }

    void announce(const PGresult* result)
    {
        const bool inTransaction = PQtransactionStatus(conn_.get()) == PQTRANS_INTRANS;
        if (!inTransaction)
            announced_ = false;
        const QByteArray command = PQcmdStatus(const_cast<PGresult*>(result));
        static const std::array<QByteArray, 5> writes = {"INSERT ", "UPDATE ", "DELETE ", "COPY ", "MERGE "};
        const bool wrote = std::any_of(writes.begin(), writes.end(), [&](const QByteArray& w) { return command.startsWith(w); }) &&
                           !command.endsWith(" 0");
        if (!wrote || announced_)
            return;
        Result notified(PQexec(conn_.get(), QByteArray("NOTIFY ").append(kChangeChannel).constData()));
        if (!succeeded(notified.get()))
            fail(notified.get(), QString());
        announced_ = inTransaction;
    }

    QByteArray prepareOnServer(const QByteArray& sql, const QString& what)
    {
        const QByteArray name = "k" + QByteArray::number(++statements_);
        Result result(PQprepare(conn_.get(), name.constData(), sql.constData(), 0, nullptr));
        if (!succeeded(result.get()))
            fail(result.get(), what);
        return name;
    }

    Result execPrepared(const QByteArray& name, const std::vector<QByteArray>& values, const QString& what)
    {
        std::vector<const char*> pointers;
        for (const QByteArray& value : values)
            pointers.push_back(value.constData());
        Result result =
            answer(PQsendQueryPrepared(conn_.get(), name.constData(), int(pointers.size()), pointers.data(), nullptr, nullptr, 0) == 1);
        if (!succeeded(result.get()))
            fail(result.get(), what);
        announce(result.get());
        return result;
    }

    void loadCatalogue() override
    {
        tables_.clear();
        indexes_.clear();
        const Result names = exec("SELECT c.relname, c.relkind FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                                  "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'i')",
                                  QString());
        for (int row = 0; row < PQntuples(names.get()); ++row) {
            const QString name = QString::fromUtf8(PQgetvalue(names.get(), row, 0));
            (*PQgetvalue(names.get(), row, 1) == 'r' ? tables_ : indexes_).insert(name);
        }
    }

    void runQuietly(const QString& sql) override
    {
        if (PQstatus(conn_.get()) == CONNECTION_OK)
            PQclear(PQexec(conn_.get(), sql.toUtf8().constData()));
        if (PQtransactionStatus(conn_.get()) != PQTRANS_INTRANS)
            announced_ = false;
    }

    // Other client sessions on the same database, whatever program they are.
    bool othersConnected() override
    {
        return PQntuples(exec("SELECT 1 FROM pg_stat_activity WHERE datname = current_database() "
                              "AND pid <> pg_backend_pid() AND backend_type = 'client backend' LIMIT 1",
                              QStringLiteral("接続の確認"))
                             .get()) > 0;
    }

    // The notifications heard so far, and the connection made again (it may have missed some).
    // The round trip lets the server hand over what was committed before it: it sends the
    // notifications a session was signalled about before it reads the next statement.
    std::pair<qint64, qint64> changeStamp() override
    {
        exec("SELECT 1", QString());
        const int generation = usable();
        while (PGnotify* notice = PQnotifies(conn_.get())) {
            ++heard_;
            PQfreemem(notice);
        }
        return {heard_, generation};
    }

    // An advisory lock the server releases when the transaction ends.
    void serialise(const QString& key) override
    {
        Statement lock = prepare(QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended($1, 0))"));
        lock->bind(1, Cell{false, 0, key});
        lock->step(QStringLiteral("排他"));
    }

    // A database of an earlier version (every table of that version there, a later one missing)
    // gets what it lacks, in one transaction under a lock that other desks opening it at the same
    // time wait for. An empty database, or one of another program, is left as it is.
    void upgradeTables()
    {
        if (versionOfTables() == schema::kCurrentVersion)
            return;
        const QString what = QStringLiteral("版の更新");
        exec("BEGIN", what);
        try {
            serialise(what);
            loadCatalogue();
            if (const int version = versionOfTables(); version > 0 && version < schema::kCurrentVersion) {
                for (const QString& statement : schema::upgradeStatements(version, schema::Engine::Server))
                    exec(statement.toUtf8(), what);
                if (version < schema::findTable(reserver_keys::kTable)->since)
                    reserver_keys::fillAll(*this);
            }
            exec("COMMIT", what);
        } catch (const StoreError&) {
            runQuietly(QStringLiteral("ROLLBACK"));
            throw;
        }
        loadCatalogue();
    }

    // The highest version whose tables are all there; 0 when not even the first one's are.
    int versionOfTables() const
    {
        int version = 0;
        while (version < schema::kCurrentVersion &&
               std::all_of(schema::tables().begin(), schema::tables().end(),
                           [&](const schema::TableDef& table) { return table.since > version + 1 || hasTable(table.name); }))
            ++version;
        return version;
    }

    // Reading under one snapshot, as SQLite's read lock gives. Writing one desk at a time, as
    // SQLite's write lock gives: what a transaction read (the last reserver number, the bookings
    // of a slot) stays true until it commits. The writers' lock is an advisory lock of the
    // two-key kind, apart from the keys of serialise().
    QString begin(bool writing) const override
    {
        return writing ? QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(0, 0)")
                       : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ");
    }

    bool queryHasRows(const QString& queryText) override
    {
        // The extended protocol takes one statement only; one that yields no columns is no query.
        const QString what = QStringLiteral("照会");
        usable();
        const QByteArray sql = queryText.trimmed().toUtf8();
        if (!sql.left(6).toUpper().startsWith("SELECT"))
            throw StoreError(QStringLiteral("照会文が正しくありません（%1）。").arg(name_));
        Result prepared(PQprepare(conn_.get(), "", sql.constData(), 0, nullptr));
        if (!succeeded(prepared.get()))
            fail(prepared.get(), what);
        Result described(PQdescribePrepared(conn_.get(), ""));
        if (!succeeded(described.get()))
            fail(described.get(), what);
        if (PQnfields(described.get()) == 0)
            throw StoreError(QStringLiteral("照会文が正しくありません（%1）。").arg(name_));
        return PQntuples(execPrepared("", {}, what).get()) > 0;
    }

    // Through COPY, in its text form: a tab between fields, a backslash before a tab, a line end
    // or a backslash inside a value.
    void bulkInsert(const schema::TableDef& table, const std::function<bool(std::vector<Cell>&)>& next) override
    {
        const QString what = QStringLiteral("テーブル「%1」").arg(table.name);
        QStringList columns;
        for (const schema::FieldDef& field : table.fields)
            columns << schema::quoted(field.name);
        usable();
        Result started(
            PQexec(conn_.get(),
                   QStringLiteral("COPY %1 (%2) FROM STDIN").arg(schema::quoted(table.name), columns.join(u',')).toUtf8().constData()));
        if (PQresultStatus(started.get()) != PGRES_COPY_IN)
            fail(started.get(), what);
        QByteArray buffer;
        std::vector<Cell> values;
        bool sent = true;
        const auto end = [&](const char* failure) {
            PQputCopyEnd(conn_.get(), failure);
            Result finished(PQgetResult(conn_.get()));
            while (PGresult* more = PQgetResult(conn_.get()))
                PQclear(more);
            return finished;
        };
        try {
            fillCopy(next, values, buffer, sent);
        } catch (...) {
            end("kelvora: reading the records failed");
            throw;
        }
        if (sent && !buffer.isEmpty())
            sent = PQputCopyData(conn_.get(), buffer.constData(), int(buffer.size())) == 1;
        const Result finished = end(sent ? nullptr : "kelvora: sending failed");
        if (!succeeded(finished.get()))
            fail(finished.get(), what);
    }

    void fillCopy(const std::function<bool(std::vector<Cell>&)>& next, std::vector<Cell>& values, QByteArray& buffer, bool& sent)
    {
        while (sent && next(values)) {
            for (size_t i = 0; i < values.size(); ++i) {
                if (i > 0)
                    buffer += '\t';
                if (values[i].isInteger) {
                    buffer += QByteArray::number(values[i].number);
                    continue;
                }
                for (const char c : values[i].text.toUtf8()) {
                    switch (c) {
                    case '\\': buffer += "\\\\"; break;
                    case '\t': buffer += "\\t"; break;
                    case '\n': buffer += "\\n"; break;
                    case '\r': buffer += "\\r"; break;
                    default: buffer += c;
                    }
                }
            }
            buffer += '\n';
            if (buffer.size() > (1 << 16)) {
                sent = PQputCopyData(conn_.get(), buffer.constData(), int(buffer.size())) == 1;
                buffer.clear();
            }
        }
    }

protected:
    std::unique_ptr<Prepared> compile(const QString& sql) override { return std::make_unique<PgStatement>(*this, sql.toUtf8()); }

    void execute(const QString& sql, const QString& what) override { exec(sql.toUtf8(), what); }

private:
    Conn conn_;
    QString server_;
    int generation_ = 0;
    int statements_ = 0;
    qint64 heard_ = 0;       // notifications of commits that changed rows
    bool announced_ = false; // this transaction has sent its notification
    bool onlyReading_ = false;
};

bool PgStatement::step(const QString& what)
{
    if (!result_) {
        const int generation = connection_.usable();
        if (preparedOn_ != generation) {
            serverName_ = connection_.prepareOnServer(sql_, what);
            preparedOn_ = generation;
        }
        result_ = connection_.execPrepared(serverName_, values_, what);
        row_ = -1;
    }
    return ++row_ < PQntuples(result_.get());
}

// The server as messages name it: its host (or socket folder) and port.
QString serverOf(PGconn* conn)
{
    return QStringLiteral("%1:%2").arg(QString::fromUtf8(PQhost(conn)), QString::fromUtf8(PQport(conn)));
}

} // namespace

std::shared_ptr<Connection> openServer(const QString& address)
{
    auto& connections = openConnections();
    if (auto it = connections.find(address); it != connections.end()) {
        if (std::shared_ptr<Connection> shared = it->second.lock())
            return shared;
    }
    std::shared_ptr<Connection> connection = connectServer(address);
    connections[address] = connection;
    return connection;
}

bool holdsPassword(const QString& address)
{
    PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), nullptr);
    bool found = false;
    for (PQconninfoOption* option = options; option && option->keyword; ++option)
        found = found || (QByteArray(option->keyword) == "password" && option->val && *option->val);
    PQconninfoFree(options);
    return found;
}

QString connectionStringProblem(const QString& address)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), &error);
    PQconninfoFree(options);
    const QString problem = error ? QString::fromUtf8(error).trimmed() : QString();
    PQfreemem(error);
    return problem;
}

std::shared_ptr<Connection> connectServer(const QString& address, bool onlyReading)
{
    // The address's own settings come last and win; a server that does not answer is given up
    // after a few seconds rather than freezing the desk.
    const QByteArray utf8 = address.toUtf8();
    const char* keywords[] = {"connect_timeout", "application_name", "client_encoding", "dbname", nullptr};
    const char* values[] = {"5", "kelvora", "UTF8", utf8.constData(), nullptr};
    Conn conn(PQconnectdbParams(keywords, values, 1));
    if (!conn || PQstatus(conn.get()) != CONNECTION_OK) {
        throw StoreError(connectFailureMessage(address, QString::fromUtf8(PQerrorMessage(conn.get())).trimmed()));
    }
    const QString server = serverOf(conn.get());
    auto connection = std::make_shared<PgConnection>(std::move(conn), server, onlyReading);
    connection->startSession();
    connection->loadCatalogue();
    if (onlyReading)
        return connection;
    connection->upgradeTables();
    reserver_keys::makeNotedKeys(*connection);
    return connection;
}

} // namespace store::detail
