#pragma once

class QApplication;

// Runs the program: loads the start-up settings and shows the menu, then the event loop until the
// last window closes. Without a usable Kelvora.mdb in the current folder it says so and returns 1.
int runProgram(QApplication& application);
