#pragma once

#include "base/settings.h"
#include "store/database.h"

#include <QStringList>

// Module 初期処理: reads the settings from the database (the unit time of the common basic record
// and the seven master items). A missing record is not an error: its default applies. Neither is
// a number setting that holds no number (written by another tool): its default applies too, and
// the operator is told which setting to correct, so the program keeps running until the setting
// is put right in its form. Today's date is not among the settings: the program runs past
// midnight, so whatever needs the date asks the clock when it needs it.
namespace 初期処理 {

Settings LoadStartupSettings(const store::Database& db);
// Each adds to `problems` one line for every number setting it could not read.
void LoadBasicSettings(const store::Database& db, Settings& settings, QStringList& problems);
void LoadMasterSettings(const store::Database& db, Settings& settings, QStringList& problems);

} // namespace 初期処理
