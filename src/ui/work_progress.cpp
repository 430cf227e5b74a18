#include "ui/work_progress.h"

#include "store/busy_wait.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>

#include <climits>

namespace ui {

namespace {

// The window shows once the work has run this long; a short piece of work shows none.
constexpr qint64 kShowAfterMs = 400;
// How often the windows get a turn to repaint: often enough to look alive, seldom enough that the
// work does not slow down.
constexpr qint64 kTurnMs = 50;

} // namespace

WorkProgress::WorkProgress(const QString& title, Stop stop)
    : dialog_(std::make_unique<QProgressDialog>()), stoppable_(stop == Stop::Allowed)
{
    dialog_->setObjectName(QStringLiteral("進行状況"));
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog_->setWindowFlag(Qt::WindowCloseButtonHint, false);
    // Shown by update() alone, and left standing when the count reaches the end.
    dialog_->setMinimumDuration(INT_MAX);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setMinimumWidth(420);
    if (stoppable_)
        dialog_->setCancelButtonText(QStringLiteral("中止"));
    else
        dialog_->setCancelButton(nullptr);
    started_.start();
}

WorkProgress::~WorkProgress() = default;

store::Progress WorkProgress::report(const QString& what)
{
    return [this, what](qint64 done, qint64 total) { return update(what, done, total); };
}

bool WorkProgress::update(const QString& what, qint64 done, qint64 total)
{
    // Most calls only count; the first of a piece of work and then one in every turn do more.
    if (sinceTurn_.isValid() && sinceTurn_.elapsed() < kTurnMs && done != total)
        return true;
    sinceTurn_.start();
    const QLocale locale;
    dialog_->setLabelText(total > 0 ? QStringLiteral("%1（%2／%3件）").arg(what, locale.toString(done), locale.toString(total))
                                    : QStringLiteral("%1（%2件）").arg(what, locale.toString(done)));
    dialog_->setRange(0, total > 0 ? int(total) : 0);
    if (total > 0)
        dialog_->setValue(int(done));
    if (!dialog_->isVisible() && started_.elapsed() >= kShowAfterMs)
        dialog_->show();
    // Until the window stands there to take the operator's clicks, nothing else may take them.
    QCoreApplication::processEvents(dialog_->isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !(stoppable_ && dialog_->wasCanceled());
}

void repaintWhileWaitingForTheFile()
{
    store::setWhileWaiting([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

} // namespace ui
