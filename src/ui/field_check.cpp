#include "ui/field_check.h"

#include "ui/message_box.h"
#include "ui/palette.h"

#include <QWidget>

namespace ui {

void paintText(QWidget* box, int qbColour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, qbColor(qbColour));
    palette.setColor(QPalette::WindowText, qbColor(qbColour));
    box->setPalette(palette);
}

int textColourNumber(const QWidget* box)
{
    const QColor colour = box->palette().color(QPalette::Text);
    for (int number = 0; number < 16; ++number) {
        if (qbColor(number) == colour)
            return number;
    }
    return -1;
}

namespace {

bool takesTabFocus(const QWidget* widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled();
}

} // namespace

QWidget* firstInTabOrder(QWidget* window)
{
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (takesTabFocus(w) && w->window() == window)
            return w;
    }
    return nullptr;
}

void moveToFrontOfTabOrder(QWidget* control)
{
    QWidget* window = control->window();
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w != control && takesTabFocus(w) && w->window() == window)
            chain << w;
    }
    chain.prepend(control);
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void FieldCheck::clear()
{
    failed_ = false;
    message_.clear();
}

void FieldCheck::fail(QWidget* box, const QString& message)
{
    paintText(box, 12);
    if (!failed_) {
        moveToFrontOfTabOrder(box);
        message_ = message;
    }
    failed_ = true;
}

void FieldCheck::pass(QWidget* box)
{
    paintText(box, 0);
}

bool FieldCheck::reportFailure(const QString& title) const
{
    if (failed_)
        msg::exclaim(message_, title);
    return failed_;
}

} // namespace ui
