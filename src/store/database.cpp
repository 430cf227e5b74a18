#include "store/database.h"

#include "store/connection.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QRegularExpression>

namespace store {

bool isServerAddress(const QString& name)
{
    static const QRegularExpression keyValue(QStringLiteral("(^|\\s)(dbname|service|host|hostaddr)\\s*="));
    return name.startsWith(QLatin1String("postgresql://")) || name.startsWith(QLatin1String("postgres://")) ||
           keyValue.match(name).hasMatch();
}

Database Database::open(const QString& name)
{
    return Database(detail::Connection::open(name));
}

Database Database::openSeparately(const QString& name)
{
    return Database(detail::Connection::openSeparately(name));
}

Database Database::openServer(const QString& address, Sharing sharing)
{
    return Database(sharing == Sharing::Shared ? detail::openServer(address) : detail::connectServer(address));
}

Database Database::openToRead(const QString& name)
{
    return Database(detail::Connection::openToRead(name));
}

Database::Database(std::shared_ptr<detail::Connection> connection) : connection_(std::move(connection))
{}

const QString& Database::fileName() const
{
    return connection_->name();
}

bool Database::onServer() const
{
    return connection_->dialect().engine == schema::Engine::Server;
}

Table Database::table(const QString& tableName) const
{
    if (connection_->transactionDepth == 0)
        connection_->checkStillThere();
    return Table(connection_, tableName);
}

Table Database::table(const QString& tableName, const QString& indexName) const
{
    Table cursor = table(tableName);
    cursor.setIndex(indexName);
    return cursor;
}

bool Database::hasTable(const QString& tableName) const
{
    return connection_->hasTable(tableName);
}

bool Database::queryHasRows(const QString& queryText) const
{
    return connection_->queryHasRows(queryText);
}

void Database::execute(const QString& statementText) const
{
    static const QRegularExpression deleteAll(QStringLiteral("^\\s*DELETE\\s+\\*\\s+FROM\\s+(\\S+?)\\s*;?\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = deleteAll.match(statementText);
    const QString tableName = match.hasMatch() ? match.captured(1) : QString();
    if (!schema::findTable(tableName))
        throw StoreError(QStringLiteral("実行できない命令です: %1").arg(statementText.trimmed()));
    if (!connection_->hasTable(tableName))
        throw StoreError(QStringLiteral("データベース「%1」にテーブル「%2」がありません。").arg(fileName(), tableName));
    connection_->run(QStringLiteral("DELETE FROM %1").arg(schema::quoted(tableName)), QStringLiteral("テーブル「%1」").arg(tableName));
}

void Database::close()
{
    connection_.reset();
}

Database::ChangeStamp Database::changeStamp() const
{
    return connection_->changeStamp();
}

Transaction::Transaction(const Database& database, Purpose purpose) : connection_(database.connection())
{
    if (connection_->transactionDepth == 0)
        connection_->checkStillThere();
    connection_->beginTransaction(purpose == ForWriting);
}

Transaction::~Transaction()
{
    if (open_)
        connection_->endTransaction(false);
}

void Transaction::commit()
{
    if (!open_)
        return;
    connection_->endTransaction(true);
    open_ = false;
}

bool Database::othersConnected() const
{
    return connection_->othersConnected();
}

void Transaction::serialise(const QString& key) const
{
    connection_->serialise(key);
}

QString sqlLiteral(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\'', QStringLiteral("''"));
    return u'\'' + escaped + u'\'';
}

} // namespace store
