#pragma once

#include "base/settings.h"
#include "ui/form.h"

#include <QApplication>
#include <QWidget>
#include <utility>

// Opening forms. Each form exists once: opening a form that is open already brings it to the
// front instead. The open forms are found among the application's windows, so nothing else keeps
// a list of them.
//
// A form whose loading fails is closed at once, after its message: its controls may hold half of
// what it was loading, and an action on them would work on records and positions that are not
// there.
namespace forms {

// The open form of this type, or nullptr.
template <typename F> F* find()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (F* form = dynamic_cast<F*>(window); form && !form->isClosing())
            return form;
    }
    return nullptr;
}

// Runs Form_Load; a form whose loading failed is closed (deleted later) and the result is false.
bool load(Form* form);

// Shows F(args...) with the desk without waiting for it to close, or brings the open one to
// the front; nullptr when its loading failed.
template <typename F, typename... Args> F* showModeless(const Desk& desk, Args&&... args)
{
    if (F* open = find<F>()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    F* form = new F(std::forward<Args>(args)...);
    form->takeDesk(desk);
    if (!load(form))
        return nullptr;
    form->show();
    return form;
}

// Shows F(args...) with the desk and waits until it is closed (at once when its loading
// failed). An open one is brought to the front instead.
template <typename F, typename... Args> void showModal(const Desk& desk, Args&&... args)
{
    if (F* open = find<F>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    F* form = new F(std::forward<Args>(args)...);
    form->takeDesk(desk);
    if (load(form))
        form->exec();
}

// Every open form takes the settings read again.
void handSettings(const Settings& settings);

} // namespace forms
