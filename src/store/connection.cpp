#include "store/connection.h"

#include "store/database.h"

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

} // namespace store::detail
