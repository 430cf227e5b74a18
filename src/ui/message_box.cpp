#include "ui/message_box.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace msg {

namespace {

Responder& responder()
{
    static Responder installed;
    return installed;
}

// The index among a choice's buttons of the one a responder's answer names.
int chosenIndex(const Shown& message, int answer)
{
    const int count = int(message.choices.size());
    return answer >= 1 && answer <= count ? answer - 1 : count - 1;
}

// A question or a message: true for Yes; for a choice, the index of the button pressed.
int show(const Shown& message)
{
    if (responder()) {
        const int answer = responder()(message);
        return message.choices.isEmpty() ? int(answer != 0) : chosenIndex(message, answer);
    }
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(message.title);
    // Messages name records (a reserver "<b>太郎</b>" too): shown as plain text, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(message.text);
    // Shown at once, not behind a details button: the operator reads what the answer acts on.
    box.setInformativeText(message.detail);
    if (auto* detail = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        detail->setTextFormat(Qt::PlainText);
    switch (message.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (!message.choices.isEmpty()) {
        QList<QPushButton*> buttons;
        for (const QString& caption : message.choices) {
            const bool last = buttons.size() == message.choices.size() - 1;
            QPushButton* button = box.addButton(caption, last ? QMessageBox::RejectRole : QMessageBox::ActionRole);
            button->setObjectName(caption);
            buttons << button;
        }
        box.setDefaultButton(buttons.value(message.defaultChoice, buttons.last()));
        box.setEscapeButton(buttons.last());
        box.exec();
        const qsizetype pressed = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
        return pressed < 0 ? int(buttons.size()) - 1 : int(pressed);
    }
    if (message.question) {
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        yes->setObjectName(QStringLiteral("Yes"));
        QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        no->setObjectName(QStringLiteral("No"));
        box.setDefaultButton(message.defaultNo ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OK"));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return true;
}

} // namespace

void exclaim(const QString& text, const QString& title)
{
    show({text, title, Icon::Exclamation, false});
}

void plain(const QString& text, const QString& title)
{
    show({text, title, Icon::None, false});
}

bool ask(const QString& text, const QString& title, Icon icon)
{
    return show({text, title, icon, true}) != 0;
}

bool askAbout(const QString& text, const QString& detail, const QString& title)
{
    return show({text, title, Icon::None, true, detail, true}) != 0;
}

int choose(const QString& text, const QString& detail, const QString& title, const QStringList& buttons, int defaultButton)
{
    Shown message{text, title, Icon::None, true, detail, false};
    message.choices = buttons;
    message.defaultChoice = defaultButton;
    return show(message);
}

void storeFailure(const QString& text)
{
    show({text, QStringLiteral("Kelvora"), Icon::Critical, false});
}

void setResponder(Responder installed)
{
    responder() = std::move(installed);
}

void clearResponder()
{
    responder() = nullptr;
}

} // namespace msg
