#include "modal_script.h"

#include "modal_watchdog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

ModalScript::ModalScript()
{
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
    timer_.start();
}

ModalScript::~ModalScript()
{
    timer_.stop();
}

ModalScript& ModalScript::answer(const QString& buttonName)
{
    steps_.push_back({[](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                      [this, buttonName](QWidget* w) {
                          auto* box = qobject_cast<QMessageBox*>(w);
                          texts_ << box->text();
                          auto* button = box->findChild<QAbstractButton*>(buttonName);
                          ASSERT_NE(button, nullptr)
                              << "no button " << buttonName.toStdString() << " on \"" << box->text().toStdString() << "\"";
                          button->click();
                      }});
    return *this;
}

void ModalScript::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == handled_ || !modal->isVisible())
        return;
    handled_ = modal;
    if (steps_.empty() || !steps_.front().matches(modal)) {
        ADD_FAILURE() << "unexpected modal window " << modal_watchdog::describe(modal);
        modal->close();
        return;
    }
    // Taken off the queue before it runs: the step may open further modal windows, whose steps
    // run while this one is still on the stack. Qt does not fire a timer again while its handler
    // runs, so a fresh timer watches for them meanwhile.
    Step step = std::move(steps_.front());
    steps_.pop_front();
    QTimer inner;
    inner.setInterval(5);
    QObject::connect(&inner, &QTimer::timeout, &inner, [this] { poll(); });
    inner.start();
    step.act(modal);
}
