#include "store/database.h"

#include "store/connection.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace store {

Database Database::open(const QString& fileName)
{
    return Database(detail::Connection::open(fileName));
}

Database Database::openSeparately(const QString& fileName)
{
    return Database(detail::Connection::openSeparately(fileName));
}

Database::Database(std::shared_ptr<detail::Connection> connection) : connection_(std::move(connection))
{
}

const QString& Database::fileName() const
{
    return connection_->fileName();
}

Table Database::table(const QString& tableName) const
{
    return Table(connection_, tableName);
}

Table Database::table(const QString& tableName, const QString& indexName) const
{
    Table cursor = table(tableName);
    cursor.setIndex(indexName);
    return cursor;
}

bool Database::queryHasRows(const QString& queryText) const
{
    const QByteArray utf8 = queryText.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(connection_->handle(), utf8.constData(), int(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        connection_->fail(rc, QStringLiteral("照会"));
    const bool oneSelect = stmt && sqlite3_stmt_readonly(stmt) && QByteArray(tail).trimmed().isEmpty();
    if (!oneSelect) {
        sqlite3_finalize(stmt);
        throw StoreError(QStringLiteral("照会文が正しくありません（%1）。").arg(fileName()));
    }
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        connection_->fail(rc, QStringLiteral("照会"));
    return rc == SQLITE_ROW;
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
    connection_->run(QStringLiteral("DELETE FROM %1").arg(schema::quoted(tableName)),
                     QStringLiteral("テーブル「%1」").arg(tableName));
}

void Database::close()
{
    connection_.reset();
}

Database::ChangeStamp Database::changeStamp() const
{
    detail::Statement version = connection_->prepare(QStringLiteral("PRAGMA data_version"));
    const int rc = sqlite3_step(version.get());
    if (rc != SQLITE_ROW)
        connection_->fail(rc, QString());
    return {sqlite3_column_int64(version.get(), 0), sqlite3_total_changes64(connection_->handle())};
}

Transaction::Transaction(const Database& database, Purpose purpose) : connection_(database.connection())
{
    // An outermost transaction that writes takes the write lock at once: one that read first and
    // wanted to write later could not wait for another program that holds the file, and would
    // fail at once instead of after the busy timeout.
    outermost_ = connection_->transactionDepth == 0;
    name_ = QStringLiteral("kelvora_%1").arg(connection_->transactionDepth);
    const QString begin = purpose == ForWriting ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    connection_->run(outermost_ ? begin : QStringLiteral("SAVEPOINT %1").arg(name_), QString());
    ++connection_->transactionDepth;
}

Transaction::~Transaction()
{
    if (!open_)
        return;
    --connection_->transactionDepth;
    connection_->suspendScans();
    const QByteArray undo = (outermost_ ? QStringLiteral("ROLLBACK") : QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(name_)).toUtf8();
    sqlite3_exec(connection_->handle(), undo.constData(), nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    if (!open_)
        return;
    connection_->run(outermost_ ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE %1").arg(name_), QStringLiteral("確定"));
    open_ = false;
    --connection_->transactionDepth;
}

bool Database::othersConnected() const
{
    return connection_->othersConnected();
}

void Transaction::serialise(const QString&) const
{
}

QString sqlLiteral(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\'', QStringLiteral("''"));
    return u'\'' + escaped + u'\'';
}

} // namespace store
