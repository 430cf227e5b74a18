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

bool show(const Shown& message)
{
    if (responder())
        return responder()(message);
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
    return show({text, title, icon, true});
}

bool askAbout(const QString& text, const QString& detail, const QString& title)
{
    return show({text, title, Icon::None, true, detail, true});
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
