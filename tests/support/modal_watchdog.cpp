#include "modal_watchdog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace modal_watchdog {

namespace {

// Ticks come only while the event loop runs, so counting them measures how long a window has
// been waiting for an answer, not how long a test worked while a window it handles stayed open.
constexpr int kTickMs = 50;
constexpr int kGraceTicks = 20; // about a second

class Watchdog : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        forget();
        timer().start();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { timer().stop(); }
    // While the application still exists.
    void OnTestProgramEnd(const ::testing::UnitTest&) override
    {
        delete timer_;
        timer_ = nullptr;
    }

private:
    QTimer& timer()
    {
        if (!timer_) {
            timer_ = new QTimer;
            timer_->setInterval(kTickMs);
            QObject::connect(timer_, &QTimer::timeout, timer_, [this] { tick(); });
        }
        return *timer_;
    }
    void forget()
    {
        waiting_ = nullptr;
        ticks_ = 0;
    }
    void tick();

    QTimer* timer_ = nullptr;
    QPointer<QWidget> waiting_; // the active modal window at the last tick
    int ticks_ = 0;             // ticks it has been the active one
};

void Watchdog::tick()
{
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        forget();
        return;
    }
    if (modal != waiting_) {
        waiting_ = modal;
        ticks_ = 0;
    }
    if (++ticks_ < kGraceTicks)
        return;
    forget();
    ADD_FAILURE() << "unexpected modal window " << describe(modal) << ": nothing in the test answered it, so it was closed";
    modal->close();
    // A message box without an escape button refuses to close; hiding ends its exec() all the same.
    if (modal && modal->isVisible())
        modal->hide();
}

} // namespace

void install()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
}

std::string describe(const QWidget* window)
{
    std::string text = window->objectName().toStdString() + " 「" + window->windowTitle().toStdString() + "」";
    if (const auto* box = qobject_cast<const QMessageBox*>(window))
        text += " saying \"" + box->text().toStdString() + "\"";
    return text;
}

} // namespace modal_watchdog
