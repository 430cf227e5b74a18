#pragma once

#include "ui/handlers.h"

#include <QPointer>
#include <QWidget>

// Opening forms. Each form exists once in the process: opening a form that is open already
// brings it to the front instead.
//
// A form whose loading fails is closed at once, after its message: its controls may hold half of
// what it was loading, and an action on them would work on records and positions that are not
// there.
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

// Runs Form_Load; a form whose loading failed is forgotten and closed (deleted later).
template <typename F> bool load(F* form)
{
    if (ui::guarded([form] { form->Form_Load(); }))
        return true;
    if (instance<F>() == form)
        instance<F>() = nullptr;
    form->close();
    return false;
}

// Loads an open form again, for a caller that has just made another record current. False when
// the form was open and its loading failed: it is closed now.
template <typename F> bool reloadIfOpen()
{
    F* open = find<F>();
    return !open || load(open);
}

// Shows a form without waiting for it to close; nullptr when its loading failed.
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
    if (!load(form))
        return nullptr;
    form->show();
    return form;
}

// Shows a form and waits until it is closed (at once when its loading failed).
template <typename F> void showModal()
{
    if (F* open = find<F>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    F* form = new F();
    instance<F>() = form;
    if (load(form))
        form->exec();
}

} // namespace forms
