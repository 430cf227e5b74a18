#pragma once

#include <optional>

class QApplication;

// Starts the program in the current folder: without a Kelvora.mdb there it asks first what to do
// (the first-start window), then loads the start-up settings and shows the menu; on a database it
// has just made empty it leads the operator to the first settings. Returns the exit code when the
// program ends before its menu shows (the operator ended, or the file cannot be used: said so),
// nothing while the menu is up.
std::optional<int> startProgram();

// startProgram(), then the event loop until the last window closes.
int runProgram(QApplication& application);
