#pragma once

#include <QStringList>

// kelvora-db sheet, export and stats: the sheets as PDF, the CSV files and the occupancy of a span
// of months, for a morning job. Each takes the arguments after its command word and returns the
// exit code.
int runSheetCommand(const QStringList& arguments);
int runExportCommand(const QStringList& arguments);
int runStatsCommand(const QStringList& arguments);
