#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

// kelvora-bench: measures the program's work on a large generated database and compares it with
// the same work done directly with SQLite where that makes sense. One line per figure.

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

void printRatio(const char* name, double oursUs, double rawUs, const char* unit = "us");
void printMillis(const char* name, double micros);

// The benchmarks, one per command.
int storeBench();
int closuresBench();
int masterBench();
int gridBench();
int maintenanceBench();
int bookingBench();
int hoursBench();
// The day and week sheets as PDF and a month of reservations as CSV.
int sheetsBench();
// The database check of the generated database.
int checkBench();
// The reserver card's look-ups on 100,000 reservers.
int reserversBench();
// Launch of the program to the menu painted, on the demo database.
int startupBench();

} // namespace bench
