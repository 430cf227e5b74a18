#pragma once

#include "store/database.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

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

    // One look, as the timer takes it (tests look without waiting). A file that cannot be read
    // now is looked at again next time: the operator's next action reports why.
    void poll();

private:
    // The stamp now, or nothing while the file cannot be read.
    std::optional<store::Database::ChangeStamp> look();

    QWidget* form_;
    std::function<void()> changed_;
    std::optional<store::Database> db_; // keeps the connection whose stamp is compared open
    std::optional<store::Database::ChangeStamp> seen_;
    QTimer timer_;
};
