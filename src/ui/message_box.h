#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Every message the program shows goes through here: a real QMessageBox with the given text,
// title, icon and buttons. Tests may install a responder that answers instead and records.
namespace msg {

enum class Icon { None, Exclamation, Critical };

struct Shown {
    QString text;
    QString title;
    Icon icon = Icon::None;
    bool question = false; // Yes/No rather than OK
    // What a question acts on, shown under its text (empty: nothing), and whether No is the
    // button Enter presses.
    QString detail = {};
    bool defaultNo = false;
    // A question with buttons of its own: their captions in order, the last one the one Esc
    // presses, and the one Enter presses.
    QStringList choices = {};
    int defaultChoice = 0;
};

// OK with the exclamation icon.
void exclaim(const QString& text, const QString& title);
// OK without an icon.
void plain(const QString& text, const QString& title);
// Yes and No; true for Yes.
bool ask(const QString& text, const QString& title, Icon icon = Icon::None);
// Yes and No for a question whose Yes destroys or moves a record: `detail` names the record under
// the question and No is the default, so that a hurried Enter changes nothing.
bool askAbout(const QString& text, const QString& detail, const QString& title);
// A question answered with one of `buttons` (the last pressed by Esc, `defaultButton` by Enter);
// `detail` names what it acts on. The index of the button pressed.
int choose(const QString& text, const QString& detail, const QString& title, const QStringList& buttons, int defaultButton);
// A failure of the database, reported with the critical icon.
void storeFailure(const QString& text);

// While installed, messages are passed to the responder instead of being shown; its result is
// the answer to a question (non-zero, or true, for Yes; for a question with buttons of its own the
// number of the button, from 1, and 0 for the last one) and is ignored for OK messages.
using Responder = std::function<int(const Shown&)>;
void setResponder(Responder responder);
void clearResponder();

} // namespace msg
