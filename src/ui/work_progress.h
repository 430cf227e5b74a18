#pragma once

#include "store/progress.h"

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;

namespace ui {

// The progress window of a long piece of work on the database, for as long as this lives. It
// shows itself once the work takes longer than a moment, says what is being done and how far, and
// lets every window repaint meanwhile (other windows take no input). Where the work can be undone
// it offers 中止, and the work's Progress then asks the work to stop (store::Cancelled).
class WorkProgress {
public:
    enum class Stop { Allowed, NotAllowed };
    WorkProgress(const QString& title, Stop stop);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // The Progress of one piece of the work, shown as `what` ("予約を削除しています") and the
    // number of records done (of how many, when the work knows).
    store::Progress report(const QString& what);

private:
    bool update(const QString& what, qint64 done, qint64 total);

    std::unique_ptr<QProgressDialog> dialog_;
    bool stoppable_;
    QElapsedTimer started_;
    QElapsedTimer sinceTurn_;
};

// From now on the windows repaint while the store waits for a file that another program holds
// (they take no input meanwhile). Installed once by the program.
void repaintWhileWaitingForTheFile();

} // namespace ui
