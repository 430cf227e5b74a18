#pragma once

#include <QString>

class QWidget;

namespace ui {

// Text colour of an entry box by palette number: 12 marks a failing box, 0 a passing one.
void paintText(QWidget* box, int qbColour);
// The text colour an entry box shows now.
int textColourNumber(const QWidget* box);
// Puts a control first in its form's tab order.
void moveToFrontOfTabOrder(QWidget* control);

// The state of a form's entry checks while it validates: the error flag, whether a first error
// was met, and the message kept for it. A failing box turns light red and, when it is the first
// failure since clear(), moves to the front of the tab order and gives the message; a passing
// box turns black.
class FieldCheck {
public:
    void clear();
    void fail(QWidget* box, const QString& message);
    // A failing check over several boxes (an hour and a minute that make no time of day): its
    // message replaces one kept by an earlier failure of this sort, never one kept by fail(),
    // whose box is the one to mend first.
    void failReplacing(QWidget* box, const QString& message);
    void pass(QWidget* box);

    bool failed() const { return failed_; }
    const QString& message() const { return message_; }
    // Shows the kept message (exclamation icon) when a check failed; true when one did.
    bool reportFailure(const QString& title) const;

private:
    bool failed_ = false;
    bool fixed_ = false; // the message came from fail()
    QString message_;
};

} // namespace ui
