#include "ui/database_watch.h"

#include "ui/handlers.h"

#include <QApplication>
#include <QWidget>

namespace {

constexpr int kLookEveryMs = 1000;

} // namespace

DatabaseWatch::DatabaseWatch(QWidget* form, std::function<void()> changed)
    : QObject(form), form_(form), changed_(std::move(changed)), db_(store::Database::open()), seen_(db_.changeStamp())
{
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start(kLookEveryMs);
}

void DatabaseWatch::poll()
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (!form_->isVisible() || (modal && modal != form_->window()))
        return;
    ui::guarded([this] {
        const store::Database::ChangeStamp now = db_.changeStamp();
        if (now == seen_)
            return;
        seen_ = now;
        changed_();
    });
}
