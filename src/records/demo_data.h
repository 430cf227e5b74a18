#pragma once

#include <QDate>
#include <QString>

namespace records {

// Makes a new database file at `path` holding a small, realistic data set for trying the program:
// rooms, a court and a staff member, their basic information and business hours, closures,
// reservers and a week of reservations around `today`. Refuses an existing file; on a failure no
// file is left behind.
void createDemoDatabaseFile(const QString& path, const QDate& today);

} // namespace records
