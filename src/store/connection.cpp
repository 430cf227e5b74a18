#include "store/connection.h"

#include "store/database.h"
#include "store/store_error.h"

#include <algorithm>

namespace store::detail {

Statement::Statement(std::shared_ptr<Connection> connection, QString sql, std::unique_ptr<Prepared> prepared)
    : connection_(std::move(connection)), sql_(std::move(sql)), prepared_(std::move(prepared))
{}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        release();
        connection_ = std::move(other.connection_);
        sql_ = std::move(other.sql_);
        prepared_ = std::move(other.prepared_);
    }
    return *this;
}

Statement::~Statement()
{
    release();
}

void Statement::reset()
{
    if (prepared_)
        prepared_->reset();
}

void Statement::release()
{
    if (prepared_) {
        prepared_->reset();
        connection_->giveBack(sql_, std::move(prepared_));
    }
    connection_.reset();
}

std::map<QString, std::weak_ptr<Connection>>& openConnections()
{
    static std::map<QString, std::weak_ptr<Connection>> connections;
    return connections;
}

std::shared_ptr<Connection> Connection::open(const QString& name)
{
    return isServerAddress(name) ? openServer(name) : openFile(name);
}

std::shared_ptr<Connection> Connection::openSeparately(const QString& name)
{
    return isServerAddress(name) ? connectServer(name) : connectFile(name);
}

std::shared_ptr<Connection> Connection::openToRead(const QString& name)
{
    return isServerAddress(name) ? connectServer(name, true) : connectFile(name, true);
}

Connection::Connection(QString name, Dialect dialect) : name_(std::move(name)), dialect_(dialect)
{}

Connection::~Connection()
{
    auto& connections = openConnections();
    for (auto it = connections.begin(); it != connections.end();) {
        if (it->second.expired())
            it = connections.erase(it);
        else
            ++it;
    }
}

QString Connection::mark(int position) const
{
    return dialect_.engine == schema::Engine::Server ? QStringLiteral("$%1").arg(position) : QStringLiteral("?");
}

Statement Connection::prepare(const QString& sql)
{
    if (transactionDepth == 0)
        checkStillThere();
    auto& idle = idle_[sql];
    if (!idle.empty()) {
        std::unique_ptr<Prepared> prepared = std::move(idle.back());
        idle.pop_back();
        return Statement(shared_from_this(), sql, std::move(prepared));
    }
    return Statement(shared_from_this(), sql, compile(sql));
}

void Connection::giveBack(const QString& sql, std::unique_ptr<Prepared> prepared)
{
    idle_[sql].push_back(std::move(prepared));
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
    forgetWindows();
    execute(sql, what);
}

QList<QStringList> Connection::rows(const QString& sql, const QString& what)
{
    Statement query = prepare(sql);
    QList<QStringList> result;
    while (query->step(what)) {
        QStringList row;
        for (int column = 0; column < query->columns(); ++column) {
            const Cell cell = query->cell(column);
            row << (cell.isInteger ? QString::number(cell.number) : cell.text);
        }
        result << row;
    }
    return result;
}

namespace {

// The savepoint of a transaction nested `depth` deep (the outermost is 0 and has none).
QString savepointAt(int depth)
{
    return depth == 0 ? QString() : QStringLiteral("kelvora_%1").arg(depth);
}

// Windows a transaction read, and seeks' windows, that may be kept at once: what one action reads
// again, not every batch of a long piece of work.
constexpr size_t kMostAutomaticWindows = 64;

} // namespace

void Connection::beginTransaction(bool writing)
{
    // A transaction that writes reads for itself what it checks: what was read before it began
    // may have changed since.
    if (transactionDepth == 0 && writing)
        std::erase_if(windows_, [](const std::shared_ptr<const Window>& window) { return !window->inTransaction; });
    openTransaction(writing, savepointAt(transactionDepth));
    ++transactionDepth;
}

void Connection::endTransaction(bool commit)
{
    const QString savepoint = savepointAt(transactionDepth - 1);
    if (commit) {
        closeTransaction(true, savepoint);
        --transactionDepth;
    } else {
        --transactionDepth;
        suspendScans();
        closeTransaction(false, savepoint);
    }
    if (transactionDepth == 0)
        std::erase_if(windows_, [](const std::shared_ptr<const Window>& window) { return window->inTransaction; });
}

void Connection::openTransaction(bool writing, const QString& savepoint)
{
    try {
        run(savepoint.isEmpty() ? begin(writing) : QStringLiteral("SAVEPOINT %1").arg(savepoint), QString());
    } catch (const StoreError&) {
        // A server may have begun the transaction before the wait for the writers' lock failed.
        if (savepoint.isEmpty())
            runQuietly(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void Connection::closeTransaction(bool commit, const QString& savepoint)
{
    if (commit)
        run(savepoint.isEmpty() ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE %1").arg(savepoint), QStringLiteral("確定"));
    else
        runQuietly(savepoint.isEmpty() ? QStringLiteral("ROLLBACK") : QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(savepoint));
}

std::optional<std::vector<std::vector<Window::Row>>> Connection::readTogether(const std::vector<Read>&)
{
    return std::nullopt;
}

std::pair<std::shared_ptr<const Window>, size_t> Connection::windowFor(const schema::IndexDef& index, const std::vector<Window::Key>& keys,
                                                                       bool greater) const
{
    // The newest first: it holds what was read last.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if ((*it)->index != &index)
            continue;
        if (const std::optional<size_t> at = (*it)->answer(keys, greater))
            return {*it, *at};
    }
    return {nullptr, 0};
}

void Connection::keepWindow(std::shared_ptr<const Window> window)
{
    if (window->automatic) {
        const auto automatic = [](const std::shared_ptr<const Window>& kept) { return kept->automatic; };
        if (size_t(std::count_if(windows_.begin(), windows_.end(), automatic)) >= kMostAutomaticWindows)
            windows_.erase(std::find_if(windows_.begin(), windows_.end(), automatic));
    }
    windows_.push_back(std::move(window));
}

void Connection::forgetWindow(const Window* window)
{
    std::erase_if(windows_, [window](const std::shared_ptr<const Window>& kept) { return kept.get() == window; });
}

void Connection::forgetWindows(const QString& table)
{
    std::erase_if(windows_, [&table](const std::shared_ptr<const Window>& kept) { return table.isEmpty() || kept->table->name == table; });
}

} // namespace store::detail
