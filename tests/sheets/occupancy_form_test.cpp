// 稼働状況 from the menu, against the same figures from the command line.

#include "app/menu.h"
#include "sheet_fixture.h"
#include "sheets/occupancy_form.h"
#include "ui/flex_grid.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

class OccupancyFormTest : public SheetTest {};

TEST_F(OccupancyFormTest, TheCommandsCsvHoldsTheGridsFigures)
{
    addTarget("00001", "コートA");
    addTarget("00002", "コートB");
    insert("営業", {{"営業_番号", "00000"}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "21:00"}, {"営業_営業フラグ", "0"}});
    book("00001", day, 600, "-000001", "山田太郎");
    book("00001", day.addDays(1), 1230, "-000002", "=1+1");
    book("00002", day, 600, "-000001", "山田太郎");

    QProcess tool;
    tool.start(QStringLiteral(KELVORA_DB_TOOL), {"stats", "Kelvora.mdb", "--from", "2026-12", "--to", "2026-12", "stats.csv"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QFile file("stats.csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts);

    openMenu()->findChild<QPushButton*>("稼働状況")->click();
    auto* form = forms::find<稼働状況>();
    ASSERT_NE(form, nullptr);
    form->findChild<QLineEdit*>("開始年月")->setText("2026/12");
    form->findChild<QLineEdit*>("終了年月")->setText("2026/12");
    form->findChild<QPushButton*>("集計")->click();
    const FlexGrid* grid = form->findChild<FlexGrid*>("稼働一覧");
    QStringList shown;
    for (int row = 0; row < grid->rows(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid->cols(); ++col)
            cells << grid->text(row, col);
        shown << cells.join(',');
    }
    EXPECT_EQ(lines, shown);
    // 12 hours a day for 31 days, 30 minutes booked twice and 30 minutes once.
    EXPECT_EQ(lines.value(1), "00001,コートA,2026/12,372.0,1.0,0.3%,2,0");
    EXPECT_EQ(lines.last(), ",合計,2026/12,744.0,1.5,0.2%,3,0");
    EXPECT_TRUE(messages().empty()) << messageTexts().join(" / ").toStdString();
}

} // namespace
