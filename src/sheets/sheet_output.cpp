#include "sheets/sheet_output.h"

#include "base/clock.h"
#include "rules/sheet_csv.h"
#include "sheets/sheet_painter.h"
#include "ui/busy_cursor.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace sheets {

namespace {

// The file the operator names in a save dialog, offered as the sheet's title and date.
std::optional<QString> askFileName(QWidget* form, const Sheet& sheet, const QString& suffix, const QString& filter)
{
    const QString offered = QStringLiteral("%1_%2.%3").arg(sheet.title, sheet.date.toString(QStringLiteral("yyyyMMdd")), suffix);
    QFileDialog dialog(form, sheet.title + QStringLiteral("の出力先"), QDir::currentPath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(offered);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

void previewSheet(QWidget* form, const QString& title, const Sheet& sheet)
{
    const QDateTime printedAt = appclock::now();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(orientationOf(sheet));
    QPrintPreviewDialog preview(&printer, form);
    preview.setWindowTitle(title + QStringLiteral(" - ") + sheet.title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, form,
                     [&](QPrinter* device) { paintSheet(sheet, *device, printedAt); });
    preview.exec();
}

void printSheet(QWidget* form, const QString& title, const Sheet& sheet)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(orientationOf(sheet));
    QPrintDialog dialog(&printer, form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ui::BusyCursor busy;
    if (!paintSheet(sheet, printer, appclock::now()))
        msg::exclaim(QStringLiteral("印刷できませんでした。プリンターの設定を確認して下さい。"), title);
}

void saveSheet(QWidget* form, const QString& title, const Sheet& sheet, FileKind kind)
{
    const bool pdf = kind == FileKind::Pdf;
    const std::optional<QString> path = askFileName(form, sheet, pdf ? QStringLiteral("pdf") : QStringLiteral("csv"),
                                                    pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("CSV (*.csv)"));
    if (!path)
        return;
    QString error;
    bool written = false;
    {
        ui::BusyCursor busy;
        written = pdf ? writePdf(sheet, *path, appclock::now(), &error) : writeSheetCsv(sheet, *path, &error);
    }
    if (written)
        msg::plain(QStringLiteral("%1 に出力しました。").arg(QDir::toNativeSeparators(*path)), title);
    else
        msg::exclaim(QStringLiteral("%1 に出力できませんでした。\n%2").arg(QDir::toNativeSeparators(*path), error), title);
}

} // namespace sheets
