#pragma once

#include <QStringList>

// kelvora-db sheet and kelvora-db export: the sheets as PDF and the CSV files, for a morning job.
// Each takes the arguments after its command word and returns the exit code.
int runSheetCommand(const QStringList& arguments);
int runExportCommand(const QStringList& arguments);
