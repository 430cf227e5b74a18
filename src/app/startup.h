#pragma once

// Module 初期処理: fills the process-wide settings from the database (the unit time of the
// common basic record and the seven master items) and fixes today's date. A missing record is not
// an error: its default applies.
namespace 初期処理 {

void LoadStartupSettings();
void LoadToday();
void LoadBasicSettings();
void LoadMasterSettings();

} // namespace 初期処理
