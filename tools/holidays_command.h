#pragma once

#include <QStringList>

// kelvora-db holidays: the national holidays of some years, with a database's corrections when
// one is named. Takes the arguments after its command word and returns the exit code.
int runHolidaysCommand(const QStringList& arguments);
