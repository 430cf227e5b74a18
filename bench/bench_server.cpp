// The PostgreSQL database of `--store postgresql`: the one given by `--connection`, or one on a
// server started for the run the way the tests start theirs, stopped when the run ends. Either is
// filled with the benchmark's database through the store's own copy when it holds nothing yet.
// With `--latency MS` the run's own server is reached through a link on the loopback address
// that adds MS milliseconds to each round trip, as a branch desk's VPN does.

#include "bench.h"
#include "link_proxy.h"
#include "raw_database.h"

#include "store/connection.h"
#include "store/database.h"
#include "store/desk_database.h"
#include "app/startup.h"
#include "store/file_tools.h"
#include "store/store_error.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace bench {

namespace {

std::string& ownServerFolder()
{
    static std::string folder;
    return folder;
}

void runServerScript(const char* action, const std::string& folder)
{
    const std::string command = "'" KELVORA_SERVER_SCRIPT "' " + std::string(action) + " '" + folder + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "cannot %s the benchmark's database server in %s\n", action, folder.c_str());
        std::exit(1);
    }
}

QString startOwnServer()
{
    ownServerFolder() = "/tmp/kelvora-bench-server-" + std::to_string(::getpid());
    runServerScript("start", ownServerFolder());
    std::atexit([] { runServerScript("stop", ownServerFolder()); });
    const QString host = QString::fromStdString(ownServerFolder());
    RawDatabase::open(QStringLiteral("host=%1 user=postgres dbname=postgres").arg(host))->exec("CREATE DATABASE kelvora_bench");
    return QStringLiteral("host=%1 user=postgres dbname=kelvora_bench").arg(host);
}

// Copies `file` into `address` unless it holds reservers already.
void fill(const QString& address, const QString& file)
{
    {
        const store::Database database = store::Database::open(address);
        if (database.connection()->hasTable(QStringLiteral("予約者")) && database.queryHasRows(QStringLiteral("SELECT 1 FROM 予約者"))) {
            std::printf("# the database on the server holds data already, and is measured as it is\n");
            return;
        }
    }
    QElapsedTimer timer;
    timer.start();
    store::copyDatabase(file, address);
    std::printf("# %s copied into the server in %.1f s\n", qPrintable(QFileInfo(file).fileName()), double(timer.elapsed()) / 1000);
}

// The address of the run's own server through a link of `latencyMs` round trip, kept for the run.
QString throughLink(const QString& address, int latencyMs)
{
    static std::unique_ptr<LinkProxy> link;
    link = std::make_unique<LinkProxy>(ownServerFolder() + "/.s.PGSQL.5432");
    link->setRoundTrip(std::chrono::milliseconds(latencyMs));
    std::printf("# the server is reached through a link of %d ms round trip\n", latencyMs);
    return address + " " + QString::fromStdString(link->address());
}

} // namespace

std::vector<BenchDatabase> benchDatabases(const QString& file, const StoreOptions& options)
{
    std::vector<BenchDatabase> databases{{file, ""}};
    if (!options.server)
        return databases;
    const QString address = options.connection.isEmpty() ? startOwnServer() : options.connection;
    try {
        fill(address, file);
    } catch (const store::StoreError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        std::exit(1);
    }
    databases.push_back({options.latencyMs >= 0 ? throughLink(address, options.latencyMs) : address, "/postgresql"});
    return databases;
}

namespace {

bool workIn(const QString& folder, const BenchDatabase& where)
{
    if (store::isServerAddress(where.name)) {
        store::writeDeskSettings(folder, where.name);
    } else if (!QFile::link(where.name, QDir(folder).filePath(store::kMainFile))) {
        return false;
    }
    return QDir::setCurrent(folder);
}

} // namespace

Desk workingDesk()
{
    const store::DeskDatabase where = store::deskDatabaseIn(QDir::currentPath());
    const store::Database database = store::openDeskDatabase(where);
    return {database, where, 初期処理::LoadStartupSettings(database)};
}

int measureInWorkingFolders(const std::vector<BenchDatabase>& databases, const char* benchmark,
                            const std::function<void(const BenchDatabase&)>& measure)
{
    const QString previous = QDir::currentPath();
    for (const BenchDatabase& where : databases) {
        QTemporaryDir folder;
        if (!folder.isValid() || !workIn(folder.path(), where)) {
            std::fprintf(stderr, "cannot prepare a working folder for the %s benchmark\n", benchmark);
            return 1;
        }
        measure(where);
        QDir::setCurrent(previous);
    }
    return 0;
}

} // namespace bench
