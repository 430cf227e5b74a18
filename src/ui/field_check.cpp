#include "ui/field_check.h"

#include "ui/form.h"
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

void moveToFrontOfTabOrder(QWidget* control)
{
    if (auto* form = dynamic_cast<Form*>(control->window()))
        form->moveToFrontOfTabOrder(control);
}

void FieldCheck::clear()
{
    failed_ = false;
    fixed_ = false;
    message_.clear();
}

void FieldCheck::fail(QWidget* box, const QString& message)
{
    paintText(box, 12);
    if (!failed_) {
        moveToFrontOfTabOrder(box);
        message_ = message;
        fixed_ = true;
    }
    failed_ = true;
}

void FieldCheck::failReplacing(QWidget* box, const QString& message)
{
    paintText(box, 12);
    if (!fixed_) {
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
