#include "stop_work.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

void stopTheNextWork()
{
    QTimer::singleShot(0, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<QProgressDialog*>(window))
                progress->cancel();
        }
    });
}
