#pragma once

#include "store/database.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Form;

// Lets an open form follow the database: about once a second it looks whether anything was
// committed to the database since it last looked (by another desk, or by another window of this
// one) and then calls `changed`, which shows the database again in place. It does not while a
// modal window other than the form itself is open (a question waits, or the form opened another
// form), nor while the form is hidden; the next look after that catches up. It watches the
// database of the form's desk from the moment the form takes it (Form::takeDesk).
class DatabaseWatch : public QObject {
    Q_OBJECT

public:
    DatabaseWatch(Form* form, std::function<void()> changed);

    // Starts watching the form's database from what it holds now.
    void watch(const store::Database& db);

    // One look, as the timer takes it (tests look without waiting). A file that cannot be read
    // now is looked at again next time: the operator's next action reports why.
    void poll();

private:
    // The stamp now, or nothing while the file cannot be read.
    std::optional<store::Database::ChangeStamp> look();

    Form* form_;
    std::function<void()> changed_;
    std::optional<store::Database> db_;
    std::optional<store::Database::ChangeStamp> seen_;
    QTimer timer_;
};
