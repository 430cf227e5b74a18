#pragma once

#include <QSaveFile>
#include <QString>
#include <QStringList>

// CSV files for the spreadsheet the office uses: UTF-8 with a byte-order mark (so Excel reads the
// Japanese right), CRLF rows, and fields quoted as RFC 4180 says when they hold a comma, a quote
// or a line break.
//
// A spreadsheet runs a cell that starts with =, +, - or @ as a formula (or turns "-000001" into the
// number -1). Such a value is written with its first character in full width (＝ ＋ － ＠): the
// cell shows the same text, runs nothing, and the desk reads "－" back as "-" wherever it reads
// typed numbers.
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
