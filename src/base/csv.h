#pragma once

#include <QSaveFile>
#include <QString>
#include <QStringList>

// CSV files for the spreadsheet the office uses: UTF-8 with a byte-order mark (so Excel reads the
// Japanese right), CRLF rows, and fields quoted as RFC 4180 says when they hold a comma, a quote
// or a line break.
//
// A spreadsheet runs a cell that starts with =, +, -, @, a tab or a carriage return as a formula.
// Such a value is written after an apostrophe, which spreadsheets take as "text follows": every
// character of the value stays as it was. A number, a date, a time or a phone number ("-000001",
// "03-1234-5678") cannot run as a formula and is written as it is.
namespace csv {

// The field as it goes into a row: guarded, then quoted when it needs to be.
QString field(const QString& value);

// A CSV file written whole or not at all: nothing replaces the file until commit() succeeds.
class File {
public:
    explicit File(const QString& path);
    void writeRow(const QStringList& values);
    // False, with errorString(), when the file could not be written.
    bool commit();
    QString errorString() const { return file_.errorString(); }

private:
    QSaveFile file_;
    bool opened_ = false;
};

} // namespace csv
