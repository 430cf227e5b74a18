#pragma once

#include "store/database.h"

#include <QString>

// Module DB再編成: rebuilds the main database table by table from the copy "Kelvorabkup.mdb" in
// the data folder that the operator prepared, asking after each table whether to go on.
namespace DB再編成 {

inline const QString kTitle = QStringLiteral("DB再編成");
// Asked by the warning form and again when the rebuild starts.
inline const QString kConfirmation = QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽの再編成を行います。ﾊﾞｯｸ･ｱｯﾌﾟの準備は完了していますか？");
constexpr int kStepCount = 15;

// Asks kConfirmation, then runs the steps in order; after each the step's prompt asks whether to
// go on, and No stops at once. The closing message follows Yes at the last prompt.
void ReorganiseDatabase(const store::Database& main, const QString& backupFile);

// Step 1 to 15: replaces every record of one table of the main file with the records of the
// same table of the copy, in the copy's key order. The copy and its table are read before the
// main table is touched, and the replacement is one transaction: on any failure the main table
// keeps exactly its old records and the result is false.
bool CopyTableStep(const store::Database& main, const QString& backupFile, int step);

} // namespace DB再編成
