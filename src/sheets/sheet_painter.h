#pragma once

#include "rules/sheet_data.h"

#include <QDateTime>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

// Lays a sheet out on the pages of a printer or a PDF writer and paints it: on every page the
// title, the date with its weekday, the target, the time it was printed and "1 / 3"; a column
// header wherever a list starts or goes on; long texts wrapped within their column, and a row
// never cut by a page break unless it is taller than a page: such a row goes on over the next
// pages, each cell line by line. The week sheet starts with the slot grid as the time inquiry
// shows it; a sheet with a picture starts with the picture. A PDF's text reads back as the text
// drawn (see pdf_text.h).
namespace sheets {

// The week sheet lies across the page, the lists stand upright.
QPageLayout::Orientation orientationOf(const Sheet& sheet);

// Paints on the device's own page size, from its first page; false when the device could not be
// painted on.
bool paintSheet(const Sheet& sheet, QPagedPaintDevice& device, const QDateTime& printedAt);

// Writes the sheet as a PDF file on A4, whole or not at all; false, with the reason in `error`,
// when the file could not be written.
bool writePdf(const Sheet& sheet, const QString& path, const QDateTime& printedAt, QString* error);

} // namespace sheets
