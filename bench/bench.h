#pragma once

#include "ui/desk.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

// kelvora-bench: measures the program's work on a large generated database and compares it with
// the same work done directly with the engine's client library where that makes sense. One line
// per figure. `store`, `grid`, `booking`, `stats` and `series` measure the SQLite file and, with `--store postgresql`,
// the same data on a PostgreSQL server in the same run, its lines named with "/postgresql".

namespace bench {

// The generated database: 100 targets, about 1,000,000 reservations over three years
// (2024/01/01 to 2026/12/31), their reservers, hours and calendar rows. Built once and kept under
// bench-data/ (or $KELVORA_BENCH_DATA); returns its path.
QString generatedDatabase();

// A private copy of the generated database in a scratch folder, for work that changes it.
QString scratchCopy(const QString& name);

// Median wall time of `runs` runs of `work`, in microseconds. `prepare` runs before each run
// and is not timed.
double medianMicros(int runs, const std::function<void()>& work, const std::function<void()>& prepare = {});

// Where `store`, `grid`, `booking`, `stats` and `reservers` run besides the file: nowhere, or a
// PostgreSQL database (the one `connection` names, or one on a server the run starts, reached
// through a link of `latencyMs` round trip when it is not negative).
struct StoreOptions {
    bool server = false;
    QString connection;
    int latencyMs = -1;
};

// One database a benchmark measures: the file or a connection string, and what its figures'
// names end with.
struct BenchDatabase {
    QString name;
    QByteArray suffix;
};

// `file` first, then the server's database filled with a copy of `file`, when asked for.
std::vector<BenchDatabase> benchDatabases(const QString& file, const StoreOptions& options);

// Runs `measure` for each database in a scratch folder made the current one, with that database
// as its main one (a link to the file, or a Kelvora.ini naming the server), for the program's
// modules that open the main database. Returns the benchmark's exit status.
int measureInWorkingFolders(const std::vector<BenchDatabase>& databases, const char* benchmark,
                            const std::function<void(const BenchDatabase&)>& measure);

// The desk of the working folder, as the program opens it at start: the database open (and kept
// open while the handle lives), the start-up settings read.
Desk workingDesk();

void printRatio(const QByteArray& name, double oursUs, double rawUs, const char* unit = "us");
void printMillis(const QByteArray& name, double micros);
void printMicros(const QByteArray& name, double micros);

// The benchmarks, one per command.
int storeBench(const StoreOptions& options);
int closuresBench();
int masterBench();
int gridBench(const StoreOptions& options);
int maintenanceBench();
int bookingBench(const StoreOptions& options);
int hoursBench();
// The day and week sheets as PDF and a month of reservations as CSV.
int sheetsBench();
// 稼働状況 of one and twelve months, on the file and, with --store postgresql, on the server.
int statsBench(const StoreOptions& options);
// 定期予約登録's 日程作成 and 登録 of a weekly series of 104 dates, on the file and, with --store
// postgresql, on the server.
int seriesBench(const StoreOptions& options);
// The database check of the generated database.
int checkBench();
// The reserver card's look-ups on 100,000 reservers, on the file and, with --store postgresql, on
// the server.
int reserversBench(const StoreOptions& options);
// The national holidays of a year, computed and with a database's corrections.
int holidaysBench();
// Launch of the program to the menu painted, on the demo database.
int startupBench();

} // namespace bench
