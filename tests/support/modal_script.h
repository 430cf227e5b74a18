#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

// Acts on the modal windows that an action opens, in the order they appear, as an operator would:
// a form opened with exec() inside a handler, a real message box answered with a button. Modal
// windows nest (a message box over an entry form over the time inquiry); each step runs when its
// window is the active modal one. A modal window no step expects fails the test and is closed.
class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // The next modal window is a form of type F; `act` works it (and usually closes it).
    template <typename F> ModalScript& form(std::function<void(F*)> act)
    {
        steps_.push_back(
            {[](QWidget* w) { return dynamic_cast<F*>(w) != nullptr; }, [act = std::move(act)](QWidget* w) { act(dynamic_cast<F*>(w)); }});
        return *this;
    }
    // The next modal window is a message box: its text is recorded and the button with this
    // objectName ("Yes", "No", "OK") is clicked.
    ModalScript& answer(const QString& buttonName);

    // Every step has run.
    bool finished() const { return steps_.empty(); }
    // The texts of the message boxes answered, in order.
    const QStringList& texts() const { return texts_; }

private:
    struct Step {
        std::function<bool(QWidget*)> matches;
        std::function<void(QWidget*)> act;
    };
    void poll();

    QTimer timer_;
    std::deque<Step> steps_;
    QPointer<QWidget> handled_;
    QStringList texts_;
};
