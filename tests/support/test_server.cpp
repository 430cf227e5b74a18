#include "test_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <memory>
#include <unistd.h>

namespace test_server {

namespace {

// The socket folder of this program's own server, stopped when the program ends.
QString& ownFolder()
{
    static QString folder;
    return folder;
}

void runScript(const QString& action, const QString& folder)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(KELVORA_TEST_SERVER_SCRIPT), {action, folder});
    const bool finished = script.waitForFinished(120000);
    if (!finished || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        ADD_FAILURE() << "the test database server could not be " << action.toStdString() << "ed: " << script.readAll().toStdString();
        throw std::runtime_error("no test database server");
    }
}

QString socketFolder()
{
    const QByteArray given = qgetenv("KELVORA_TEST_SERVER");
    if (!given.isEmpty())
        return QString::fromLocal8Bit(given);
    if (ownFolder().isEmpty()) {
        ownFolder() = QStringLiteral("/tmp/kelvora-test-server-%1").arg(::getpid());
        runScript(QStringLiteral("start"), ownFolder());
        // Stopped after the application is gone, so without Qt's process handling.
        std::atexit([] { std::system(("'" KELVORA_TEST_SERVER_SCRIPT "' stop '" + ownFolder().toStdString() + "'").c_str()); });
    }
    return ownFolder();
}

QString addressOf(const QString& database)
{
    return QStringLiteral("host=%1 user=postgres dbname=%2").arg(socketFolder(), database);
}

} // namespace

QString socketFile()
{
    return socketFolder() + QStringLiteral("/.s.PGSQL.5432");
}

void runSql(const QString& sql, const QString& address)
{
    const QString target = address.isEmpty() ? addressOf(QStringLiteral("postgres")) : address;
    std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(target.toUtf8().constData()), &PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        ADD_FAILURE() << "cannot reach the test database server: " << PQerrorMessage(conn.get());
        throw std::runtime_error("no test database server");
    }
    std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(conn.get(), sql.toUtf8().constData()), &PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << PQresultErrorMessage(result.get());
        throw std::runtime_error("administration failed");
    }
}

QString freshDatabase()
{
    static int made = 0;
    const QString name = QStringLiteral("kelvora_%1_%2").arg(::getpid()).arg(++made);
    runSql(QStringLiteral("CREATE DATABASE %1").arg(name));
    return addressOf(name);
}

void dropDatabase(const QString& address)
{
    static const QRegularExpression database(QStringLiteral("dbname=(\\S+)"));
    runSql(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database.match(address).captured(1)));
}

} // namespace test_server
