#pragma once

#include "rules/sheet_data.h"
#include "store/database.h"

#include <QDate>
#include <QString>

// The CSV files the desk hands to the spreadsheet (see base/csv.h): a sheet's rows, the
// reservations of a span of dates, the reserver master. Each writes the file whole or not at all
// and returns false, with the reason in `error`, when it could not.
namespace sheets {

bool writeSheetCsv(const Sheet& sheet, const QString& path, QString* error);
bool writeReservationsCsv(const store::Database& db, const QDate& first, const QDate& last, const QString& path, QString* error);
bool writeReserversCsv(const store::Database& db, const QString& path, QString* error);

} // namespace sheets
