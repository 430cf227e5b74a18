#pragma once

#include "rules/sheet_data.h"

#include <QString>

class QWidget;

// What the sheet forms do with a sheet the operator asked for: the print preview, printing on a
// printer chosen in the print dialog, and a PDF or CSV file named in a save dialog. Each says,
// under the form's title, where a file went or why it could not be made.
namespace sheets {

void previewSheet(QWidget* form, const QString& title, const Sheet& sheet);
void printSheet(QWidget* form, const QString& title, const Sheet& sheet);

enum class FileKind { Pdf, Csv };
// The file offered is named after the sheet's title and date ("稼働状況_20261101.csv").
void saveSheet(QWidget* form, const QString& title, const Sheet& sheet, FileKind kind);

} // namespace sheets
