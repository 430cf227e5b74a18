#pragma once

#include <QDate>
#include <QString>

// Fills a new database with a small, realistic data set for trying the program: rooms, a court
// and a staff member, their basic information and business hours, closures, reservers and a week
// of reservations around `today`.
void writeDemoData(const QString& path, const QDate& today);
