#pragma once

// A way for a test to drive the real program from outside, as an operator at the desk would:
// with KELVORA_TEST_DRIVER set, the program reads commands from its standard input, one a line,
// fields separated by tabs, and writes every message it would have shown to its standard output
// instead of showing it. Without the variable nothing of this exists.
//
//   shown  FORM                  whether the window is open
//   set    FORM CONTROL TEXT     a text box's text, or the combo box entry with that text (chosen)
//   click  FORM BUTTON           the button clicked
//   cell   FORM GRID ROW COL     the grid cell clicked
//   text   FORM GRID ROW COL     answers "text<TAB>the cell's text"
//   answer QUESTION yes|no       how that question is answered from now on (unknown ones: No)
//
// The program ends as the operator ends it (the windows' 終了), or at once when its input closes.
// Every command but text answers "ok", or "missing" when its window or control is not there;
// each message shown is a line "msg<TAB>text". A click runs after its answer, since it may open a
// window that waits.
namespace test_driver {

// Starts reading commands when the variable is set.
void startWhenAsked();

} // namespace test_driver
