#pragma once

#include <string>

class QWidget;

// A modal window that nobody answers (an entry form opened with exec(), a real message box) would
// keep its test waiting until ctest gives up. The watchdog, installed once by the test program,
// watches during every test: a modal window that stays the active one for about a second while
// the event loop runs is closed as Esc would close it (a question counts as No), and the test
// fails naming it. Modal windows a test answers with whenModalShown, answerNextMessageBox or a
// ModalScript are dealt with within milliseconds and never reach that point.
namespace modal_watchdog {

void install();

// "objectName 「title」", with " saying \"text\"" for a message box: how failures name a window.
std::string describe(const QWidget* window);

} // namespace modal_watchdog
