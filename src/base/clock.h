#pragma once

#include <QDate>
#include <QDateTime>

// Today's date and the time of day, from one place that tests can fix.
namespace appclock {

QDateTime now();
QDate today();

// Makes now() return this moment until reset with an invalid QDateTime.
void setFixedNow(const QDateTime& moment);

} // namespace appclock
