#include "ui/database_watch.h"

#include "store/busy_wait.h"
#include "store/store_error.h"
#include "ui/form.h"
#include "ui/handlers.h"

#include <QApplication>
#include <QWidget>

namespace {

constexpr int kLookEveryMs = 1000;

} // namespace

DatabaseWatch::DatabaseWatch(Form* form, std::function<void()> changed) : QObject(form), form_(form), changed_(std::move(changed))
{
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
}

void DatabaseWatch::watch(const store::Database& db)
{
    db_ = db;
    seen_ = look();
    timer_.start(kLookEveryMs);
}

std::optional<store::Database::ChangeStamp> DatabaseWatch::look()
{
    try {
        return db_->changeStamp();
    } catch (const store::StoreError&) {
        return std::nullopt;
    }
}

void DatabaseWatch::poll()
{
    // A look while an action waits for another desk would use the connection that is waiting.
    const QWidget* modal = QApplication::activeModalWidget();
    if (!db_ || !form_->isVisible() || (modal && modal != form_->window()) || store::isWaiting())
        return;
    const std::optional<store::Database::ChangeStamp> now = look();
    if (!now || now == seen_)
        return;
    // After a look that failed the stamp is of another connection: shown again to be sure.
    seen_ = now;
    ui::guarded([this] { changed_(); });
}
