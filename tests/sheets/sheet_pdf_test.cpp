// The sheets written as PDF and read back as a reader of the file gets them.

#include "sheet_fixture.h"
#include "records/waiting_list.h"
#include "rules/sheet_data.h"
#include "sheets/sheet_painter.h"

#include <QPrinter>
#include <QRegularExpression>

namespace {

const QDateTime kPrintedAt(QDate(2026, 12, 7), QTime(17, 45));

class SheetPdfTest : public SheetTest {
protected:
    QString write(const sheets::Sheet& sheet)
    {
        QString error;
        EXPECT_TRUE(sheets::writePdf(sheet, QStringLiteral("sheet.pdf"), kPrintedAt, &error)) << error.toStdString();
        return pdfText(QStringLiteral("sheet.pdf"));
    }
};

TEST_F(SheetPdfTest, DaySheetKeepsEveryRowInOrderAcrossPagesWithNumberedPages)
{
    const records::Target court = addTarget("00001", "コートA");
    addTarget("00002", "コートB");
    insert("カレンダー", {{"カレ_番号", "00002"}, {"カレ_年月日", "2026/12/08"}, {"カレ_休日FLG", 1}});
    const QString longRemark = QString(QStringLiteral("ラケット貸出、ボール二缶、照明あり、")).repeated(6) + "END";
    for (int i = 1; i <= 300; ++i) {
        const QString number = QStringLiteral("-%1").arg(i, 6, 10, QLatin1Char('0'));
        addReserver(number, QStringLiteral("予約者%1").arg(i, 3, 10, QLatin1Char('0')), "03-1234-5678", "");
        book(court.number, day, 480 + 2 * i, number, QStringLiteral("予約者%1").arg(i, 3, 10, QLatin1Char('0')),
             i == 150 ? longRemark : QString());
    }
    const QString text = write(sheets::BuildDaySheet(db(), settings, day, std::nullopt));

    qsizetype last = -1;
    for (int i = 1; i <= 300; ++i) {
        const QString name = QStringLiteral("予約者%1").arg(i, 3, 10, QLatin1Char('0'));
        const qsizetype at = text.indexOf(name);
        ASSERT_GT(at, last) << name.toStdString() << " missing or out of order";
        EXPECT_EQ(text.count(name), 1) << name.toStdString();
        last = at;
    }
    // The long remark wraps within its column and is all there.
    EXPECT_TRUE(QString(text).remove(QRegularExpression("\\s")).contains(longRemark))
        << text.mid(text.indexOf("予約者150"), 600).toStdString();

    const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(pdfInfo("sheet.pdf")).captured(1).toInt();
    ASSERT_GT(pages, 3);
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(has(text, QStringLiteral("\\b%1\\s*/\\s*%2\\b").arg(page).arg(pages))) << page;
    EXPECT_EQ(text.count("日別一覧"), pages);
    EXPECT_EQ(text.count("2026年12月8日(火)"), pages);
    EXPECT_EQ(text.count(QRegularExpression("印刷日時\\s*2026/12/07 17:45")), pages);
    EXPECT_TRUE(has(text, "コートA\\s*コートA面\\s*\\(00001\\)（続き）"));
    EXPECT_TRUE(has(text, "コートA面\\s*\\(00001\\)\\s+300件"));
    EXPECT_TRUE(has(text, "コートB.*休業日\\s+予約なし"));
    EXPECT_TRUE(has(text, "合計\\s*300件"));
}

TEST_F(SheetPdfTest, ARowTallerThanAPageGoesOnOverTheNextPagesAndNoTextIsLost)
{
    const records::Target court = addTarget("00001", "コートA");
    QStringList words;
    for (int i = 1; i <= 700; ++i)
        words << QStringLiteral("W%1").arg(i, 4, 10, QLatin1Char('0'));
    QStringList lines;
    for (int i = 1; i <= 100; ++i)
        lines << QStringLiteral("行%1").arg(i, 3, 10, QLatin1Char('0'));
    book(court.number, day, 540, "-000001", "前の人");
    book(court.number, day, 570, "-000002", "長文の人", words.join(' '));
    book(court.number, day, 600, "-000003", "百行の人", lines.join('\n'));
    book(court.number, day, 630, "-000004", "後の人");
    const QString text = write(sheets::BuildDaySheet(db(), settings, day, std::nullopt));

    // Every word and line of the two remarks, once each and in order, then the booking after them.
    qsizetype last = -1;
    for (const QString& piece : words + lines + QStringList{"後の人"}) {
        const qsizetype at = text.indexOf(piece);
        ASSERT_GT(at, last) << piece.toStdString() << " missing or out of order";
        EXPECT_EQ(text.count(piece), 1) << piece.toStdString();
        last = at;
    }
    // The long row starts on the first page, below the first booking, and each page it goes on
    // carries the heading and the column captions again.
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    ASSERT_GT(pages.size(), 3);
    EXPECT_TRUE(has(pages[0], "前の人[\\s\\S]*長文の人[\\s\\S]*W0001")) << pages[0].toStdString();
    for (qsizetype page = 1; page < pages.size(); ++page) {
        EXPECT_TRUE(has(pages[page], "コートA面\\s*\\(00001\\)（続き）")) << page;
        EXPECT_TRUE(has(pages[page], "開始\\s+終了\\s+予約者NO\\s+氏名")) << page;
    }
}

TEST_F(SheetPdfTest, AReaderGetsEveryNameAndRemarkAsStoredThoughTheFontSharesGlyphsOfLookAlikes)
{
    // Noto CJK draws each of these with a glyph it shares with a look-alike: 用 日 月 一 木 金 子 山
    // 田 長 with Kangxi radicals, ・ ～ ／ with ‧ 〜 ∕. Digits after Latin letters were drawn with
    // glyphs of no character at all.
    const QStringList names{"利用者日月", "木村金子", "ジョン・スミス", "山田一郎", "長谷川"};
    const QStringList remarks{"10時～12時／月2回", "A-000002 TEL 03-1234-5678"};
    addTarget("00001", "日月");
    for (int i = 0; i < names.size(); ++i)
        book("00001", day, 600 + 30 * i, QStringLiteral("-00000%1").arg(i + 1), names[i], remarks.value(i));
    const sheets::Sheet sheet = sheets::BuildDaySheet(db(), settings, day, std::nullopt);
    const QString text = write(sheet);

    for (const QString& stored : names + remarks + QStringList{"日別一覧", "日月 日月面 (00001)", "印刷日時"})
        EXPECT_TRUE(text.contains(stored)) << stored.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QRegularExpression("[\\x{2E80}-\\x{2FDF}]"))) << "a radical for a kanji";

    // The print dialog's "print to file" writes its PDF the same way.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("printed.pdf");
    ASSERT_TRUE(sheets::paintSheet(sheet, printer, kPrintedAt));
    EXPECT_TRUE(pdfText("printed.pdf").contains("利用者日月"));
}

TEST_F(SheetPdfTest, AHolidayIsNamedInTheHeadingsOfItsDayAndItsWeek)
{
    const records::Target court = addTarget("00001", "コートA");
    const QDate marineDay(2026, 7, 20);
    EXPECT_EQ(sheets::BuildDaySheet(db(), settings, marineDay, std::nullopt).dateLine, "2026年7月20日(月・海の日)");
    EXPECT_EQ(sheets::BuildCallSheet(db(), marineDay, std::nullopt).dateLine, "2026年7月20日(月・海の日)");
    const sheets::Sheet week = sheets::BuildWeekSheet(db(), settings, marineDay.addDays(-1), court);
    EXPECT_EQ(week.dateLine, "2026年7月19日(日)～7月25日(土)");
    EXPECT_EQ(week.sections.at(1).heading, "7月20日(月・海の日)");
    EXPECT_TRUE(write(week).contains("7/20(月・海の日)")) << "the grid's day label";
}

TEST_F(SheetPdfTest, WeekSheetIsOneLandscapePageOfTheSlotGridAndTheWeeksList)
{
    const records::Target court = addTarget("00001", "コートA");
    addReserver("-000001", "山田太郎", "03-1111-2222", "090-1111-2222");
    book(court.number, day, 600, "-000001", "山田太郎", "初回");
    book(court.number, day.addDays(6), 720, "-000001", "山田太郎");
    book(court.number, day.addDays(7), 720, "-000001", "翌週の人");
    const QString text = write(sheets::BuildWeekSheet(db(), settings, day, court));

    const QString info = pdfInfo("sheet.pdf");
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n")));
    const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
    EXPECT_TRUE(text.contains("2026年12月8日(火)～12月14日(月)"));
    EXPECT_TRUE(text.contains("12/8(火)")) << "the grid's day labels";
    EXPECT_TRUE(has(text, "10:00\\s+10:30\\s+-000001\\s+山田太郎\\s+03-1111-2222\\s+初回"));
    EXPECT_FALSE(text.contains("翌週の人"));
    EXPECT_TRUE(has(text, "合計\\s*2件"));
    EXPECT_TRUE(has(text, "\\b1\\s*/\\s*1\\b"));
}

TEST_F(SheetPdfTest, CallSheetListsTheDayByTimeWithPhoneAndMobile)
{
    addTarget("00001", "コートA");
    addTarget("00002", "会議室");
    addReserver("2026-000001", "佐藤", "03-1111-0001", "090-0000-0001");
    addReserver("2026-000002", "鈴木", "", "080-0000-0002");
    book("00001", day, 14 * 60, "2026-000001", "佐藤");
    book("00002", day, 9 * 60, "2026-000002", "鈴木");
    book("00001", day, 11 * 60, "2026-000002", "鈴木");
    book("00001", day.addDays(1), 8 * 60, "2026-000001", "翌日の佐藤");
    // The customers still waiting that day follow; one whose start has passed is no longer called.
    for (const auto& [start, name] : {std::pair{14, "待つ高橋"}, std::pair{9, "過ぎた田中"}}) {
        records::WaitingEntry entry{{}, "00001", day, {start, 0}, {start + 1, 0}, "2026-000009", name, "03-9999-0000"};
        records::addWaitingEntry(db(), entry, QDateTime(day.addDays(-1), QTime(9, 0)));
    }
    const QString text = write(sheets::BuildCallSheet(db(), day, std::nullopt));

    const QStringList lines = text.split('\n').filter(QRegularExpression("^\\s*\\d\\d:\\d\\d"));
    ASSERT_EQ(lines.size(), 4) << text.toStdString();
    EXPECT_TRUE(has(lines[0], "09:00\\s+09:30\\s+会議室\\s+2026-000002\\s+鈴木\\s+080-0000-0002")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("11:00") && lines[1].contains("コートA"));
    EXPECT_TRUE(has(lines[2], "14:00.*佐藤\\s+03-1111-0001\\s+090-0000-0001"));
    EXPECT_TRUE(has(lines[3], "14:00\\s+15:00\\s+コートA\\s+2026-000009\\s+待つ高橋\\s+03-9999-0000"));
    EXPECT_TRUE(has(text, "キャンセル待ち\\s+1件"));
    EXPECT_TRUE(text.contains("確認電話一覧"));
}

} // namespace
