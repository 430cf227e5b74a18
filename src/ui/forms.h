#pragma once

#include "ui/handlers.h"

#include <QPointer>
#include <QWidget>

// Opening forms. Each form exists once in the process: opening a form that is open already
// brings it to the front instead.
namespace forms {

template <typename F> QPointer<F>& instance()
{
    static QPointer<F> open;
    return open;
}

// The open instance of a form, or nullptr.
template <typename F> F* find()
{
    return instance<F>().data();
}

// Loads an open form again, for a caller that has just made another record current.
template <typename F> void reloadIfOpen()
{
    if (F* open = find<F>())
        ui::guarded([open] { open->Form_Load(); });
}

// Shows a form without waiting for it to close.
template <typename F> F* showModeless()
{
    if (F* open = find<F>()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    F* form = new F();
    instance<F>() = form;
    ui::guarded([form] { form->Form_Load(); });
    form->show();
    return form;
}

// Shows a form and waits until it is closed.
template <typename F> void showModal()
{
    if (F* open = find<F>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    F* form = new F();
    instance<F>() = form;
    ui::guarded([form] { form->Form_Load(); });
    form->exec();
}

} // namespace forms
