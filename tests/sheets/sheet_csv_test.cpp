// The CSV files as a spreadsheet and a CSV reader get them.

#include "sheet_fixture.h"
#include "rules/sheet_csv.h"

#include <QFile>

namespace {

// An RFC 4180 reader, written apart from the writer: quoted fields may hold commas, quotes
// (doubled) and line breaks; rows end with CRLF.
std::vector<QStringList> readCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    const auto next = [&](qsizetype i) { return i + 1 < text.size() ? text[i + 1] : QChar(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && next(i) == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row << field;
            field.clear();
        } else if (c == '\r' && next(i) == '\n') {
            row << field;
            field.clear();
            rows.push_back(row);
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

class SheetCsvTest : public SheetTest {
protected:
    std::vector<QStringList> read(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "byte-order mark";
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        return readCsv(QString::fromUtf8(bytes.mid(3)));
    }
};

TEST_F(SheetCsvTest, ValuesComeBackAsStoredAndOnlyCellsThatCouldRunAFormulaGetAnApostrophe)
{
    addTarget("00001", "コートA");
    book("00001", day, 600, "-000001", "=1+1", "行1\r\n行2, \"引用\" 🎾");
    book("00001", day, 660, "@SUM(A1)", "+81 3", "-2");
    book("00001", day, 720, "-000003", "\t=A1", "\r=A1");
    book("00001", day.addDays(1), 600, "A-000002", "翌日");

    QString error;
    ASSERT_TRUE(sheets::writeReservationsCsv(db(), day, day, "out.csv", &error)) << error.toStdString();
    const std::vector<QStringList> rows = read("out.csv");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
              (QStringList{"予約日", "対象番号", "対象略称", "開始", "終了", "予約者NO", "氏名", "カナ", "重複", "受付日", "備考"}));
    // Quotes, commas, line breaks and emoji survive; a plain number stays as it is.
    EXPECT_EQ(rows[1],
              (QStringList{"2026/12/08", "00001", "", "10:00", "10:30", "-000001", "'=1+1", "ｶﾅ", "0", "", "行1\r\n行2, \"引用\" 🎾"}));
    EXPECT_EQ(rows[2].mid(5, 3), (QStringList{"'@SUM(A1)", "'+81 3", "ｶﾅ"}));
    EXPECT_EQ(rows[2].last(), "-2");
    EXPECT_EQ(rows[3].mid(5, 2), (QStringList{"-000003", "'\t=A1"}));
    EXPECT_EQ(rows[3].last(), "'\r=A1");

    addReserver("-000001", "山田, \"太郎\"", "=HYPERLINK(\"x\")", "-03-1234-5678");
    ASSERT_TRUE(sheets::writeReserversCsv(db(), "reservers.csv", &error));
    const std::vector<QStringList> reservers = read("reservers.csv");
    ASSERT_EQ(reservers.size(), 2u);
    EXPECT_EQ(reservers[1].mid(0, 6), (QStringList{"-000001", "山田, \"太郎\"", "ｶﾅ", "", "'=HYPERLINK(\"x\")", "-03-1234-5678"}));
}

TEST_F(SheetCsvTest, AFileThatCannotBeWrittenIsReportedAndNothingIsLeftBehind)
{
    QString error;
    EXPECT_FALSE(sheets::writeReservationsCsv(db(), day, day, "no/such/folder/out.csv", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists("no/such/folder/out.csv"));
}

} // namespace
