#pragma once

#include <QDate>
#include <QString>

namespace records {

// Makes a new database (a file, or the tables of an empty database on a server) holding a small,
// realistic data set for trying the program: rooms, a court and a staff member, their basic
// information and business hours, closures, reservers and a week of reservations around `today`.
// Refuses an existing file or a database with tables; on a failure no file is left behind.
void createDemoDatabase(const QString& name, const QDate& today);

} // namespace records
