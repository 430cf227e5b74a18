#pragma once

#include "store/database.h"

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

// Lets an open form follow the database: about once a second it looks whether anything was
// committed to the file since it last looked (by another desk, or by another window of this one)
// and then calls `changed`, which shows the file again in place. It does not while a modal window
// other than the form itself is open (a question waits, or the form opened another form), nor while
// the form is hidden; the next look after that catches up.
class DatabaseWatch : public QObject {
    Q_OBJECT

public:
    DatabaseWatch(QWidget* form, std::function<void()> changed);

    // One look, as the timer takes it (tests look without waiting).
    void poll();

private:
    QWidget* form_;
    std::function<void()> changed_;
    store::Database db_; // keeps the connection whose stamp is compared open
    store::Database::ChangeStamp seen_;
    QTimer timer_;
};
