// The connection to a database on a PostgreSQL server, through libpq.
//
// A branch desk may reach its server over a slow link, where an action costs what its round trips
// cost, not what its statements cost. So the connection stays in libpq's pipeline mode and waits
// for an answer only where the program needs one: a statement is prepared in the same round trip
// as its first run; what opens a transaction or a savepoint, a lock, a write inside a transaction
// and the notification of a change wait for the next statement whose answer is needed, or for the
// COMMIT; the reads a screen declares go out together (store::ReadAhead). A transaction that sent
// nothing sends no BEGIN or COMMIT either.
//
// No call to the server blocks the windows: connecting and every answer are waited for on the
// socket in short turns (store::setWhileWaiting), and a server that leaves an action without an
// answer for kAnswerBound is given up with one message. When the connection is lost after a COMMIT
// went out and before its answer came, the desk connects again and asks the server how the
// transaction ended, by the number it was given when it began.

#include "store/connection.h"

#include "store/busy_wait.h"
#include "store/notices.h"
#include "store/pg_wire.h"
#include "store/reserver_keys.h"
#include "store/store_error.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <poll.h>

namespace store::detail {

namespace {

using namespace pg;

// The channel on which commits that changed rows are announced.
constexpr char kChangeChannel[] = "kelvora_changes";
// How long a statement waits for a lock another desk holds, as long as a file's busy wait.
constexpr int kLockTimeoutMs = 3000;
// How long the server may leave a connection attempt or an action without an answer.
constexpr std::chrono::seconds kAnswerBound{10};
// How long the watch waits before it tries again to reach a server that is away: twice as long
// after each failure, up to the longest.
constexpr std::chrono::seconds kFirstRetry{1};
constexpr std::chrono::seconds kLongestRetry{30};

bool startsWithWord(const QByteArray& sql, std::initializer_list<const char*> words)
{
    const QByteArray head = sql.trimmed().left(8).toUpper();
    return std::any_of(words.begin(), words.end(), [&](const char* word) { return head.startsWith(word); });
}

bool isWrite(const QByteArray& sql)
{
    return startsWithWord(sql, {"INSERT", "UPDATE", "DELETE", "COPY", "MERGE"});
}

// The server as messages name it: its host (or socket folder) and port.
QString serverOf(PGconn* conn)
{
    return QStringLiteral("%1:%2").arg(QString::fromUtf8(PQhost(conn)), QString::fromUtf8(PQport(conn)));
}

QString silence()
{
    return QStringLiteral("%1 秒たっても応答がありません").arg(kAnswerBound.count());
}

class PgConnection;

class PgStatement : public Prepared {
public:
    PgStatement(PgConnection& connection, QByteArray sql) : connection_(connection), sql_(std::move(sql)), write_(isWrite(sql_)) {}

    void bind(int position, const Cell& value) override
    {
        if (values_.size() < size_t(position))
            values_.resize(size_t(position));
        values_[size_t(position - 1)] = textOf(value);
    }
    bool step(const QString& what) override;
    Cell cell(int column) const override { return cellOf(result(), row_, column); }
    QByteArray bytes(int column) const override { return {PQgetvalue(result(), row_, column), PQgetlength(result(), row_, column)}; }
    qint64 integer(int column) const override { return QByteArray(PQgetvalue(result(), row_, column)).toLongLong(); }
    bool isNull(int column) const override { return PQgetisnull(result(), row_, column) == 1; }
    int columns() const override { return PQnfields(result()); }
    qint64 changed() const override { return QByteArray(PQcmdTuples(const_cast<PGresult*>(settled(connection_, answer_)))).toLongLong(); }
    qint64 insertedRowid() const override { return rowidOf(connection_, answer_); }
    std::function<qint64()> insertedRowidLater() const override
    {
        return [&connection = connection_, answer = answer_] { return rowidOf(connection, answer); };
    }
    void reset() override
    {
        answer_.reset();
        values_.clear();
        row_ = -1;
    }

private:
    const PGresult* result() const { return answer_->result.get(); }
    // The answer of a write, waited for when it is still on its way.
    static const PGresult* settled(PgConnection& connection, const std::shared_ptr<Answer>& answer);
    static qint64 rowidOf(PgConnection& connection, const std::shared_ptr<Answer>& answer)
    {
        return QByteArray(PQgetvalue(settled(connection, answer), 0, 0)).toLongLong();
    }

    PgConnection& connection_;
    QByteArray sql_;
    bool write_;
    // The server's name of the prepared statement, the connection (counted from the first) it was
    // prepared on (a connection made again has forgotten it), and the answer to its preparation,
    // which may still be on its way with its first run.
    QByteArray serverName_;
    int preparedOn_ = -1;
    std::shared_ptr<Answer> prepared_;
    std::vector<QByteArray> values_;
    std::shared_ptr<Answer> answer_;
    int row_ = -1;
};

class PgConnection : public Connection {
public:
    PgConnection(QString address, bool onlyReading)
        : Connection(QString(), Dialect{.engine = schema::Engine::Server,
                                        .firstBatch = 32,
                                        .nextBatch = 512,
                                        .removeBatch = 5000,
                                        .insertEnd = " RETURNING rowid"}),
          address_(std::move(address)), onlyReading_(onlyReading)
    {}
    ~PgConnection() override { dropIdleStatements(); }
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Connects, waiting for the server in turns: the first connection of a desk or a tool.
    void connect()
    {
        startConnecting();
        advanceConnecting(true);
        name_ = QString::fromUtf8(PQdb(conn_.get())) + QStringLiteral("（") + server_ + QStringLiteral("）");
    }

    // A connection that broke outside a transaction is made again before the next statement;
    // inside one, the transaction is lost and its guard rolls it back.
    int usable()
    {
        if (link_ == Link::Open)
            return generation_;
        if (lostTransaction_)
            failLost(QString(), QStringLiteral("接続が切れています"));
        if (link_ == Link::Broken)
            startConnecting();
        advanceConnecting(true);
        return generation_;
    }

    void queue(Command command) { queued_.push_back(std::move(command)); }

    // A write, with the notification of a change after the first of a transaction (the server
    // folds the same one sent twice, and delivers it only if the transaction commits). Inside a
    // transaction it waits for the next round trip; alone it goes at once.
    void queueWrite(Command command)
    {
        queue(std::move(command));
        writesQueued_ = true;
        announce();
    }

    void announce()
    {
        if (!announced_) {
            queue(Command::text(QByteArray("NOTIFY ").append(kChangeChannel)));
            announced_ = transactionDepth > 0;
        }
        if (transactionDepth == 0)
            settle();
    }

    QByteArray nextStatementName() { return "k" + QByteArray::number(++statements_); }

    // Sends what is queued in one round trip and takes the answers. A statement that fails is
    // reported as its own failure (the pipeline stops at it, and its transaction is lost). A
    // connection lost, or a server silent for kAnswerBound, ends the action with its message; a
    // COMMIT whose answer was lost is looked up once connected again.
    void settle()
    {
        if (queued_.empty())
            return;
        // A server that closed an idle connection (it was stopped, or the session ended) is
        // noticed before anything is sent on it, and the statements go on a new one.
        if (link_ == Link::Open && !inTransactionOnServer_ && !stillOpen())
            breakLink(false);
        try {
            usable();
        } catch (const StoreError&) {
            dropQueue();
            throw;
        }
        const std::vector<Command> commands = std::exchange(queued_, {});
        const bool beginning = beginQueued_;
        beginQueued_ = false;
        writesQueued_ = false;
        if (beginning)
            numberOf_ = backendPid_;
        const Clock::time_point deadline = patient_ ? Clock::time_point::max() : Clock::now() + kAnswerBound;
        const bool handed = std::all_of(commands.begin(), commands.end(), [&](const Command& c) { return c.send(conn_.get()); }) &&
                            PQpipelineSync(conn_.get()) == 1;
        Wait ending = handed ? flush(conn_.get(), deadline) : Wait::Lost;
        size_t failed = commands.size();
        Result failure;
        for (size_t at = 0; ending == Wait::Done && at < commands.size(); ++at) {
            const std::shared_ptr<Answer>& answer = commands[at].answer;
            for (Result result; (ending = nextResult(conn_.get(), deadline, result)) == Wait::Done && result;) {
                if (!succeeded(result.get())) {
                    if (failed == commands.size() && PQresultStatus(result.get()) != PGRES_PIPELINE_ABORTED) {
                        failed = at;
                        failure = std::move(result);
                    }
                } else if (answer && !answer->result) {
                    answer->result = std::move(result);
                }
            }
            if (ending == Wait::Done && answer)
                answer->arrived = true;
        }
        if (ending == Wait::Done) {
            Result sync;
            ending = nextResult(conn_.get(), deadline, sync);
        }
        for (const Command& command : commands) {
            if (command.answer)
                command.answer->arrived = true;
        }
        const bool commitOnItsWay =
            std::any_of(commands.begin(), commands.end(), [](const Command& c) { return c.commits && (!c.answer || !c.answer->result); });
        if (failed < commands.size()) {
            // The pipeline stopped at the failure: nothing after it ran, a COMMIT neither.
            if (ending != Wait::Done)
                breakLink(beginning || inTransactionOnServer_);
            else
                noteTransactionState();
            fail(failure.get(), commands[failed].what);
        }
        if (ending == Wait::Done) {
            noteTransactionState();
            return;
        }
        const QString what = commands.empty() ? QString() : commands.back().what;
        const QString reason = ending == Wait::Silent ? silence() : QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed();
        const bool inTransaction = beginning || inTransactionOnServer_;
        breakLink(inTransaction && !commitOnItsWay);
        if (commitOnItsWay) {
            if (ending == Wait::Lost)
                resolveCommit(what, reason);
            else
                throw StoreError(commitUnknownMessage(server_, what, reason));
            return;
        }
        if (ending == Wait::Silent)
            throw StoreError(serverSilentMessage(server_, what, int(kAnswerBound.count())));
        failLost(what, reason);
    }

    // The answer to one statement on its own (prepared for this one run), with what is queued.
    Result exec(const QByteArray& sql, const QString& what)
    {
        if (sql.contains(';'))
            return simpleQuery(sql, what);
        auto answer = std::make_shared<Answer>();
        Command command = Command::text(sql, what, answer);
        if (isWrite(sql))
            queueWrite(std::move(command));
        else
            queue(std::move(command));
        settle();
        return std::move(answer->result);
    }

    // Pipeline mode takes one statement at a time and no COPY: a text of several statements (the
    // tables and their triggers) goes on its own, outside it.
    Result simpleQuery(const QByteArray& sql, const QString& what)
    {
        settle();
        usable();
        PQexitPipelineMode(conn_.get());
        const Clock::time_point deadline = patient_ ? Clock::time_point::max() : Clock::now() + kAnswerBound;
        Wait ending = PQsendQuery(conn_.get(), sql.constData()) == 1 ? flush(conn_.get(), deadline) : Wait::Lost;
        Result last;
        for (Result result; ending == Wait::Done && (ending = nextResult(conn_.get(), deadline, result)) == Wait::Done && result;) {
            if (PQresultStatus(result.get()) == PGRES_COPY_IN)
                return result; // bulkInsert() goes on
            if (!last || succeeded(last.get()))
                last = std::move(result);
        }
        if (ending != Wait::Done) {
            breakLink(inTransactionOnServer_);
            if (ending == Wait::Silent)
                throw StoreError(serverSilentMessage(server_, what, int(kAnswerBound.count())));
            failLost(what, QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed());
        }
        PQenterPipelineMode(conn_.get());
        noteTransactionState();
        if (!succeeded(last.get()))
            fail(last.get(), what);
        if (isWrite(sql))
            announce();
        return last;
    }

    [[noreturn]] void fail(const PGresult* result, const QString& what) const
    {
        const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
        const QString reason = QString::fromUtf8(result ? PQresultErrorMessage(result) : "").trimmed();
        const bool lost = link_ != Link::Open;
        throw StoreError(
            serverFailureMessage(lost ? QByteArray("08006") : QByteArray(state), name_, server_, what,
                                 reason.isEmpty() && conn_ ? QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed() : reason));
    }

    [[noreturn]] void failLost(const QString& what, const QString& reason) const
    {
        throw StoreError(serverFailureMessage("08006", name_, server_, what, reason));
    }

    // Every connection of the program hears the commits that changed rows (see queueWrite()).
    // A connection, new or made again, listens for them, and waits for another desk's locks as
    // long as a file's connection waits for another program (then the action is refused as busy).
    // One that only reads has the server refuse every write. Its catalogue comes in the same round
    // trip.
    void startSession()
    {
        // What an action queued meanwhile (its BEGIN) goes after the session is set up.
        std::vector<Command> waiting = std::exchange(queued_, {});
        const bool beginQueued = std::exchange(beginQueued_, false);
        const bool writesQueued = std::exchange(writesQueued_, false);
        PQsetnonblocking(conn_.get(), 1);
        PQenterPipelineMode(conn_.get());
        link_ = Link::Open;
        retryAfter_ = kFirstRetry;
        server_ = serverOf(conn_.get());
        backendPid_ = PQbackendPID(conn_.get());
        ++generation_;
        dropIdleStatements();
        inTransactionOnServer_ = false;
        announced_ = false;
        queue(Command::text(QByteArray("LISTEN ").append(kChangeChannel)));
        queue(Command::text(QByteArray("SET lock_timeout = ") + QByteArray::number(kLockTimeoutMs)));
        if (onlyReading_)
            queue(Command::text("SET default_transaction_read_only = on"));
        const std::shared_ptr<Answer> catalogue = queueCatalogue();
        settle();
        takeCatalogue(*catalogue);
        queued_ = std::move(waiting);
        beginQueued_ = beginQueued;
        writesQueued_ = writesQueued;
    }

    std::shared_ptr<Answer> queueCatalogue()
    {
        auto answer = std::make_shared<Answer>();
        queue(Command::text("SELECT c.relname, c.relkind FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                            "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'i')",
                            QString(), answer));
        return answer;
    }

    void takeCatalogue(const Answer& answer)
    {
        tables_.clear();
        indexes_.clear();
        const PGresult* names = answer.result.get();
        for (int row = 0; row < PQntuples(names); ++row) {
            const QString name = QString::fromUtf8(PQgetvalue(names, row, 0));
            (*PQgetvalue(names, row, 1) == 'r' ? tables_ : indexes_).insert(name);
        }
    }

    void loadCatalogue() override
    {
        const std::shared_ptr<Answer> catalogue = queueCatalogue();
        settle();
        takeCatalogue(*catalogue);
    }

    void runQuietly(const QString& sql) override
    {
        // What waits to be sent is undone anyway.
        dropQueue();
        if (link_ == Link::Open) {
            try {
                exec(sql.toUtf8(), QString());
            } catch (const StoreError&) {
            }
        }
        if (!inTransactionOnServer_ || link_ != Link::Open)
            endOnServer();
    }

    // Other client sessions on the same database, whatever program they are.
    bool othersConnected() override
    {
        return PQntuples(exec("SELECT 1 FROM pg_stat_activity WHERE datname = current_database() "
                              "AND pid <> pg_backend_pid() AND backend_type = 'client backend' LIMIT 1",
                              QStringLiteral("接続の確認"))
                             .get()) > 0;
    }

    // The notifications heard so far, and the connection made again (it may have missed some):
    // what has come on the socket is read, and nothing is sent, so an idle desk costs the server
    // and the link nothing. A server delivers a notification to a session that waits for its
    // client at once. A connection found broken is made again step by step, a little at each
    // look, so that the look never waits; after an attempt failed the next waits longer each time,
    // so a server that stays away is not asked at every look (an action still asks at once).
    std::pair<qint64, qint64> changeStamp() override
    {
        if (link_ == Link::Open && queued_.empty() && !stillOpen())
            breakLink(false);
        if (link_ != Link::Open) {
            const QString away = QStringLiteral("データベースサーバー「%1」に接続し直しています。").arg(server_);
            if (link_ == Link::Broken && Clock::now() < retryAt_)
                throw StoreError(away);
            try {
                if (link_ == Link::Broken)
                    startConnecting();
                advanceConnecting(false);
            } catch (const StoreError&) {
                retryAt_ = Clock::now() + retryAfter_;
                retryAfter_ = std::min(retryAfter_ * 2, kLongestRetry);
                throw;
            }
            if (link_ != Link::Open)
                throw StoreError(away);
        }
        while (PGnotify* notice = PQnotifies(conn_.get())) {
            ++heard_;
            PQfreemem(notice);
        }
        return {heard_, generation_};
    }

    // An advisory lock the server releases when the transaction ends. Inside a transaction it is
    // taken before the statements that follow it, in their round trip.
    void serialise(const QString& key) override
    {
        queue(Command::text("SELECT pg_advisory_xact_lock(hashtextextended($1, 0))", QStringLiteral("排他"), {}, {key.toUtf8()}));
        if (transactionDepth == 0)
            settle();
    }

    // A database of an earlier version (every table of that version there, a later one missing)
    // gets what it lacks, in one transaction under a lock that other desks opening it at the same
    // time wait for. An empty database, or one of another program, is left as it is. Making the
    // indexes of a large database may take the server a while: it is waited for.
    void upgradeTables()
    {
        if (versionOfTables() == schema::kCurrentVersion)
            return;
        const QString what = QStringLiteral("版の更新");
        patient_ = true;
        try {
            exec("BEGIN", what);
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
            patient_ = false;
            runQuietly(QStringLiteral("ROLLBACK"));
            throw;
        }
        patient_ = false;
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
    // two-key kind, apart from the keys of serialise(). A transaction takes them with its first
    // statement.
    QString begin(bool writing) const override
    {
        return writing ? QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(0, 0)")
                       : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ");
    }

    // Whether the query yields a row, in one round trip. Made the subquery of EXISTS, a text that
    // is not one query (two statements, a SELECT INTO, a write) fails before it runs.
    bool queryHasRows(const QString& queryText) override
    {
        QByteArray sql = queryText.trimmed().toUtf8();
        while (sql.endsWith(';'))
            sql = sql.chopped(1).trimmed();
        if (!sql.left(6).toUpper().startsWith("SELECT") || sql.contains(';'))
            throw StoreError(QStringLiteral("照会文が正しくありません（%1）。").arg(name_));
        const Result exists = exec("SELECT EXISTS (" + sql + "\n)", QStringLiteral("照会"));
        return QByteArray(PQgetvalue(exists.get(), 0, 0)) == "t";
    }

    // Outside a transaction the reads get one snapshot of their own; so do they in a transaction
    // that only reads and has sent nothing yet (it need send nothing at all when they answer every
    // seek). A writing transaction reads them after its locks, in its own round trip.
    std::optional<std::vector<std::vector<Window::Row>>> readTogether(const std::vector<Read>& reads) override
    {
        const bool snapshot = transactionDepth == 0 || (beginQueued_ && !writing_ && !writesQueued_);
        std::vector<Command> waiting = snapshot ? std::exchange(queued_, {}) : std::vector<Command>();
        const bool beginQueued = snapshot && std::exchange(beginQueued_, false);
        if (snapshot)
            queue(Command::text("BEGIN ISOLATION LEVEL REPEATABLE READ"));
        std::vector<std::shared_ptr<Answer>> answers;
        for (const Read& read : reads) {
            std::vector<QByteArray> values;
            for (const Cell& value : read.values)
                values.push_back(textOf(value));
            answers.push_back(std::make_shared<Answer>());
            queue(Command::text(read.sql.toUtf8(), QStringLiteral("テーブル「%1」").arg(read.table), answers.back(), std::move(values)));
        }
        if (snapshot)
            queue(Command::text("COMMIT"));
        const auto resume = [&] {
            queued_ = std::move(waiting);
            beginQueued_ = beginQueued;
        };
        try {
            settle();
        } catch (const StoreError&) {
            if (snapshot) {
                runQuietly(QStringLiteral("ROLLBACK"));
                resume();
            }
            throw;
        }
        if (snapshot)
            resume();
        std::vector<std::vector<Window::Row>> rows;
        for (size_t i = 0; i < reads.size(); ++i) {
            const PGresult* result = answers[i]->result.get();
            std::vector<Window::Row>& read = rows.emplace_back();
            for (int row = 0; row < PQntuples(result); ++row) {
                Window::Row& kept = read.emplace_back();
                for (int column = 0; column < PQnfields(result); ++column)
                    kept.cells.push_back(cellOf(result, row, column));
                for (const int column : reads[i].keyColumns)
                    kept.keys.push_back(Window::keyOf(kept.cells[size_t(column)], PQgetisnull(result, row, column) == 1));
            }
        }
        return rows;
    }

    // Through COPY, in its text form: a tab between fields, a backslash before a tab, a line end
    // or a backslash inside a value. The server may take a while over many records: it is waited for.
    void bulkInsert(const schema::TableDef& table, const std::function<bool(std::vector<Cell>&)>& next) override
    {
        const QString what = QStringLiteral("テーブル「%1」").arg(table.name);
        QStringList columns;
        for (const schema::FieldDef& field : table.fields)
            columns << schema::quoted(field.name);
        forgetWindows(table.name);
        patient_ = true;
        struct Impatient {
            explicit Impatient(bool& flag) : patient(flag) {}
            ~Impatient() { patient = false; }
            Impatient(const Impatient&) = delete;
            Impatient& operator=(const Impatient&) = delete;
            bool& patient;
        } impatient{patient_};
        const Result started =
            simpleQuery(QStringLiteral("COPY %1 (%2) FROM STDIN").arg(schema::quoted(table.name), columns.join(u',')).toUtf8(), what);
        if (PQresultStatus(started.get()) != PGRES_COPY_IN)
            fail(started.get(), what);
        QByteArray buffer;
        std::vector<Cell> values;
        bool sent = true;
        try {
            fillCopy(next, values, buffer, sent);
        } catch (...) {
            finishCopy("kelvora: reading the records failed");
            throw;
        }
        if (sent && !buffer.isEmpty())
            sent = putCopy(buffer);
        const Result finished = finishCopy(sent ? nullptr : "kelvora: sending failed");
        if (!succeeded(finished.get()))
            fail(finished.get(), what);
        // The planner learns of the records now rather than when autovacuum comes by, a minute or
        // more later: until then it may read a large table whole for a look-up of a few records.
        exec(QStringLiteral("ANALYZE %1").arg(schema::quoted(table.name)).toUtf8(), what);
        writesQueued_ = true;
        announce();
    }

    // Hands COPY data over, waiting while libpq's buffer is full.
    bool putCopy(const QByteArray& data)
    {
        for (;;) {
            const int put = PQputCopyData(conn_.get(), data.constData(), int(data.size()));
            if (put != 0)
                return put == 1;
            if (flush(conn_.get(), Clock::time_point::max()) != Wait::Done)
                return false;
        }
    }

    // Ends the COPY (with a failure text to refuse it) and takes its result; pipeline mode again.
    Result finishCopy(const char* failure)
    {
        while (PQputCopyEnd(conn_.get(), failure) == 0) {
            if (flush(conn_.get(), Clock::time_point::max()) != Wait::Done)
                break;
        }
        Result finished;
        Wait ending = flush(conn_.get(), Clock::time_point::max());
        for (Result result;
             ending == Wait::Done && (ending = nextResult(conn_.get(), Clock::time_point::max(), result)) == Wait::Done && result;) {
            if (!finished || succeeded(finished.get()))
                finished = std::move(result);
        }
        if (ending != Wait::Done) {
            breakLink(inTransactionOnServer_);
            failLost(QString(), QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed());
        }
        PQenterPipelineMode(conn_.get());
        return finished;
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
                sent = putCopy(buffer);
                buffer.clear();
            }
        }
    }

protected:
    std::unique_ptr<Prepared> compile(const QString& sql) override { return std::make_unique<PgStatement>(*this, sql.toUtf8()); }

    void execute(const QString& sql, const QString& what) override { exec(sql.toUtf8(), what); }

    // BEGIN waits for the transaction's first statement, with the writers' lock and the number the
    // server gives the transaction; a savepoint for the statement after it.
    void openTransaction(bool writing, const QString& savepoint) override
    {
        if (!savepoint.isEmpty()) {
            queue(Command::text(QStringLiteral("SAVEPOINT %1").arg(savepoint).toUtf8()));
            return;
        }
        beginQueued_ = true;
        writing_ = writing;
        if (!writing) {
            queue(Command::text("BEGIN ISOLATION LEVEL REPEATABLE READ"));
            return;
        }
        queue(Command::text("BEGIN"));
        number_ = std::make_shared<Answer>();
        queue(Command::text("SELECT pg_advisory_xact_lock(0, 0), pg_current_xact_id()::text", QString(), number_));
    }

    // A transaction that sent nothing ends without a word to the server. A COMMIT goes with the
    // writes still waiting; the transaction's number has come back before it (a transaction that
    // only wrote learns it with its writes, a round trip before its COMMIT).
    void closeTransaction(bool commit, const QString& savepoint) override
    {
        suspendScans();
        if (!savepoint.isEmpty()) {
            queue(Command::text((commit ? QStringLiteral("RELEASE %1") : QStringLiteral("ROLLBACK TO %1")).arg(savepoint).toUtf8()));
            if (!commit)
                queue(Command::text(QStringLiteral("RELEASE %1").arg(savepoint).toUtf8()));
            return;
        }
        if (beginQueued_ && (!commit || !writesQueued_)) {
            dropQueue();
            endOnServer();
            return;
        }
        if (!commit) {
            // A transaction lost with the connection has nothing left on the server to roll back.
            if (inTransactionOnServer_) {
                runQuietly(QStringLiteral("ROLLBACK"));
                return;
            }
            dropQueue();
            endOnServer();
            return;
        }
        if (number_ && !number_->arrived)
            settle();
        Command committing = Command::text("COMMIT", QStringLiteral("確定"), std::make_shared<Answer>());
        committing.commits = writing_;
        queue(std::move(committing));
        settle();
        endOnServer();
    }

private:
    enum class Link { Open, Connecting, Broken };

    // A new connection attempt, the first or one more after the link broke; it goes on in
    // advanceConnecting().
    void startConnecting()
    {
        // The address's own settings come last and win.
        const QByteArray utf8 = address_.toUtf8();
        const char* keywords[] = {"application_name", "client_encoding", "dbname", nullptr};
        const char* values[] = {"kelvora", "UTF8", utf8.constData(), nullptr};
        conn_.reset(PQconnectStartParams(keywords, values, 1));
        link_ = Link::Connecting;
        polling_ = PGRES_POLLING_WRITING;
        connectBy_ = Clock::now() + kAnswerBound;
        if (!conn_ || PQstatus(conn_.get()) == CONNECTION_BAD)
            connectionFailed(conn_ ? QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed() : QString());
    }

    // Takes the attempt as far as the server's answers allow: waiting for them up to the
    // attempt's bound, or (`wait` false) as far as they have come.
    void advanceConnecting(bool wait)
    {
        while (link_ == Link::Connecting) {
            if (polling_ == PGRES_POLLING_OK) {
                startSession();
                return;
            }
            if (polling_ == PGRES_POLLING_FAILED)
                connectionFailed(QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed());
            const short events = polling_ == PGRES_POLLING_READING ? POLLIN : POLLOUT;
            if (wait) {
                if (awaitSocket(conn_.get(), events, connectBy_) == Wait::Silent)
                    connectionFailed(silence());
            } else {
                pollfd socket{PQsocket(conn_.get()), events, 0};
                if (::poll(&socket, 1, 0) == 0) {
                    if (Clock::now() >= connectBy_)
                        connectionFailed(silence());
                    return;
                }
            }
            polling_ = PQconnectPoll(conn_.get());
        }
    }

    [[noreturn]] void connectionFailed(const QString& reason)
    {
        conn_.reset();
        link_ = Link::Broken;
        throw StoreError(connectFailureMessage(address_, reason));
    }

    // The connection is given up: closed at once, made again before the next statement (unless a
    // transaction the server held was lost with it).
    void breakLink(bool lostTransaction)
    {
        conn_.reset();
        link_ = Link::Broken;
        lostTransaction_ = lostTransaction;
        inTransactionOnServer_ = false;
        dropQueue();
    }

    // Reads what the server sent while the desk did not ask (notifications, or the news that it
    // closed the connection), without waiting.
    bool stillOpen()
    {
        for (;;) {
            if (PQconsumeInput(conn_.get()) != 1)
                return false;
            pollfd socket{PQsocket(conn_.get()), POLLIN, 0};
            if (::poll(&socket, 1, 0) <= 0)
                return PQstatus(conn_.get()) == CONNECTION_OK;
        }
    }

    void noteTransactionState()
    {
        const PGTransactionStatusType state = PQtransactionStatus(conn_.get());
        inTransactionOnServer_ = state == PQTRANS_INTRANS || state == PQTRANS_INERROR;
    }

    // What was queued and will never be sent: its answers come without results.
    void dropQueue()
    {
        for (const Command& command : queued_) {
            if (command.answer)
                command.answer->arrived = true;
        }
        queued_.clear();
        beginQueued_ = false;
        writesQueued_ = false;
    }

    void endOnServer()
    {
        beginQueued_ = false;
        writesQueued_ = false;
        announced_ = false;
        writing_ = false;
        lostTransaction_ = false;
        number_.reset();
    }

    // The COMMIT went out and its answer was lost with the connection. Connected again, the desk
    // asks how the transaction ended, by its number. One the server still holds (it has not yet
    // noticed that the old connection is gone) is ended first, so that the answer is final.
    void resolveCommit(const QString& what, const QString& reason)
    {
        const std::shared_ptr<Answer> number = std::exchange(number_, {});
        const int oldPid = numberOf_;
        endOnServer();
        const Clock::time_point until = Clock::now() + kAnswerBound;
        QByteArray state;
        try {
            if (!number || !number->result)
                throw StoreError(reason);
            const QByteArray txid = PQgetvalue(number->result.get(), 0, 1);
            while (Clock::now() < until) {
                const auto answer = std::make_shared<Answer>();
                usable();
                queue(Command::text("SELECT pg_xact_status($1::xid8), (SELECT pg_terminate_backend(pid, 1000) FROM pg_stat_activity "
                                    "WHERE pid = $2 AND backend_xid = xid($1::xid8))",
                                    QStringLiteral("確定"), answer, {txid, QByteArray::number(oldPid)}));
                settle();
                state = PQgetvalue(answer->result.get(), 0, 0);
                if (state != "in progress")
                    break;
                pauseATurn();
            }
        } catch (const StoreError&) {
            state.clear();
        }
        if (state == "committed") {
            noteForOperator(commitKeptMessage(server_, what));
            return;
        }
        if (state == "aborted")
            failLost(what, reason);
        throw StoreError(commitUnknownMessage(server_, what, reason));
    }

    QString address_;
    Conn conn_;
    Link link_ = Link::Broken;
    PostgresPollingStatusType polling_ = PGRES_POLLING_WRITING;
    Clock::time_point connectBy_;
    // When the watch may try to connect again, and how long it waits after the next failure.
    Clock::time_point retryAt_;
    std::chrono::seconds retryAfter_ = kFirstRetry;
    QString server_;
    int backendPid_ = 0;
    int generation_ = -1;
    int statements_ = 0;
    qint64 heard_ = 0; // notifications of commits that changed rows
    bool onlyReading_ = false;
    // Waits for the server without a bound (work over a whole database).
    bool patient_ = false;

    std::vector<Command> queued_;
    // The transaction as the server sees it: its BEGIN still waiting to go, writes waiting, its
    // notification sent, whether it writes, lost with the connection; and its number (with the
    // session that was given it), for a COMMIT whose answer is lost.
    bool beginQueued_ = false;
    bool writesQueued_ = false;
    bool announced_ = false;
    bool writing_ = false;
    bool lostTransaction_ = false;
    bool inTransactionOnServer_ = false;
    std::shared_ptr<Answer> number_;
    int numberOf_ = 0;
};

const PGresult* PgStatement::settled(PgConnection& connection, const std::shared_ptr<Answer>& answer)
{
    if (answer && !answer->arrived)
        connection.settle();
    if (!answer || !answer->result)
        throw StoreError(QStringLiteral("データベースの書き込みの結果がありません。"));
    return answer->result.get();
}

bool PgStatement::step(const QString& what)
{
    if (!answer_) {
        const int generation = connection_.usable();
        const bool preparationFailed = prepared_ && prepared_->arrived && !(prepared_->result && succeeded(prepared_->result.get()));
        if (preparedOn_ != generation || preparationFailed) {
            Command preparing;
            preparing.kind = Command::Kind::Prepare;
            preparing.sql = sql_;
            preparing.name = serverName_ = connection_.nextStatementName();
            preparing.what = what;
            preparing.answer = prepared_ = std::make_shared<Answer>();
            connection_.queue(std::move(preparing));
            preparedOn_ = generation;
        }
        Command running;
        running.kind = Command::Kind::Execute;
        running.name = serverName_;
        running.values = values_;
        running.what = what;
        running.answer = answer_ = std::make_shared<Answer>();
        row_ = -1;
        if (write_) {
            // Read back only when asked (changed(), insertedRowid()).
            connection_.queueWrite(std::move(running));
            return false;
        }
        connection_.queue(std::move(running));
        connection_.settle();
    }
    return result() && ++row_ < PQntuples(result());
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
    QString problem = error ? QString::fromUtf8(error).trimmed() : QString();
    PQfreemem(error);
    return problem;
}

std::shared_ptr<Connection> connectServer(const QString& address, bool onlyReading)
{
    auto connection = std::make_shared<PgConnection>(address, onlyReading);
    connection->connect();
    if (onlyReading)
        return connection;
    connection->upgradeTables();
    reserver_keys::makeNotedKeys(*connection);
    return connection;
}

} // namespace store::detail
