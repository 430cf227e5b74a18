#include "ui/flex_grid.h"
#include "ui/palette.h"

#include <QFontMetrics>
#include <QImage>
#include <QMetaObject>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Warnings of deliberately wrong calls stay out of the test output.
class QuietWarnings {
public:
    QuietWarnings()
    {
        previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    ~QuietWarnings() { qInstallMessageHandler(previous_); }

private:
    QtMessageHandler previous_;
};

class FlexGridTest : public ::testing::Test {
protected:
    void SetUp() override { grid = std::make_unique<FlexGrid>(); }

    // Shows the grid at a size and waits until it can be clicked and grabbed.
    void show(int width, int height)
    {
        grid->resize(width, height);
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    }

    QImage shot() const { return grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Selects the rectangle between two corners, as the forms do.
    void select(int row, int col, int rowSel, int colSel)
    {
        grid->setRow(row);
        grid->setCol(col);
        grid->setRowSel(rowSel);
        grid->setColSel(colSel);
    }

    // A slot-grid-like layout: hour labels in row 0 (six ten-minute columns per hour, merged),
    // minutes in row 1, day labels in column 0, every data cell coloured.
    void layOutSlotGrid(int rows, int hours)
    {
        grid->setRows(0);
        grid->setCols(0);
        grid->setRows(rows);
        grid->setCols(6 * hours + 1);
        grid->setFixedRows(2);
        grid->setFixedCols(1);
        grid->setColWidth(-1, 240);
        grid->setColWidth(0, 1200);
        for (int h = 0; h < hours; ++h) {
            for (int j = 0; j < 6; ++j) {
                const int col = 6 * h + j + 1;
                grid->setRow(0);
                grid->setCol(col);
                grid->setCellFontSize(10);
                grid->setCellAlignment(FlexGrid::CenterBottom);
                grid->setText(QString::number(8 + h));
                grid->setRow(1);
                grid->setCellFontSize(7);
                grid->setText(QString::number(j * 10));
            }
        }
        grid->setMergeRow(0, true);
        for (int r = 2; r < rows; ++r) {
            grid->setRow(r);
            grid->setCol(0);
            grid->setCellFontSize(9);
            grid->setCellAlignment(FlexGrid::RightBottom);
            grid->setText(QStringLiteral("4/%1(土)").arg(r - 1));
            grid->setCol(1);
            grid->setColSel(grid->cols() - 1);
            grid->setCellBackColor((r % 3 == 0) ? ui::offHoursColour() : QColor(255, 250, 205));
        }
        grid->setRow(2);
        grid->setCol(1);
    }

    std::unique_ptr<FlexGrid> grid;
};

bool isDark(QRgb pixel)
{
    return qRed(pixel) < 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128;
}

// Number of dark (text) pixels in a rectangle of an image.
int darkPixels(const QImage& image, const QRect& rect)
{
    int count = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += isDark(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// ---- counts ---------------------------------------------------------------------------------

TEST_F(FlexGridTest, ZeroCountsClearEveryTextAndColour)
{
    grid->setRows(5);
    grid->setCols(4);
    grid->setFixedRows(1);
    select(2, 1, 3, 3);
    grid->setCellBackColor(ui::qbColor(10));
    grid->setCellForeColor(ui::qbColor(12));
    grid->setCellAlignment(FlexGrid::RightBottom);
    grid->setCellFontSize(8);
    grid->setText(QStringLiteral("休"));
    grid->setTextMatrix(0, 0, QStringLiteral("日付"));

    grid->setRows(0);
    grid->setCols(0);
    EXPECT_EQ(grid->rows(), 0);
    EXPECT_EQ(grid->cols(), 0);
    EXPECT_EQ(grid->fixedRows(), 0);
    grid->setRows(5);
    grid->setCols(4);

    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(grid->text(r, c), QString()) << r << "," << c;
            EXPECT_EQ(grid->cellBackColor(r, c), QColor(Qt::white)) << r << "," << c;
            EXPECT_EQ(grid->cellForeColor(r, c), QColor(Qt::black)) << r << "," << c;
        }
    }
    grid->setRow(2);
    grid->setCol(1);
    EXPECT_EQ(grid->cellAlignment(), FlexGrid::General);
    EXPECT_EQ(grid->cellFontSize(), 0);
}

TEST_F(FlexGridTest, GrowingKeepsCellsAndShrinkingDropsThoseOutside)
{
    grid->setRows(3);
    grid->setCols(3);
    grid->setRow(2);
    grid->setCol(2);
    grid->setText(QStringLiteral("角"));
    grid->setCellBackColor(ui::qbColor(14));
    grid->setCellForeColor(ui::qbColor(1));
    grid->setCellAlignment(FlexGrid::CenterBottom);
    grid->setCellFontSize(7);
    grid->setTextMatrix(0, 2, QStringLiteral("上"));

    grid->setRows(10);
    grid->setCols(8);
    EXPECT_EQ(grid->text(2, 2), QStringLiteral("角"));
    EXPECT_EQ(grid->text(0, 2), QStringLiteral("上"));
    EXPECT_EQ(grid->cellBackColor(2, 2), ui::qbColor(14));
    EXPECT_EQ(grid->cellForeColor(2, 2), ui::qbColor(1));
    EXPECT_EQ(grid->row(), 2);
    EXPECT_EQ(grid->col(), 2);
    EXPECT_EQ(grid->cellAlignment(), FlexGrid::CenterBottom);
    EXPECT_EQ(grid->cellFontSize(), 7);
    EXPECT_EQ(grid->text(9, 7), QString());
    EXPECT_EQ(grid->cellBackColor(9, 7), QColor(Qt::white));

    // Shrinking past the cell and growing again gives it back empty.
    grid->setCols(2);
    EXPECT_EQ(grid->text(0, 1), QString());
    EXPECT_LT(grid->col(), 2);
    grid->setCols(3);
    EXPECT_EQ(grid->text(2, 2), QString());
    EXPECT_EQ(grid->cellBackColor(2, 2), QColor(Qt::white));
}

TEST_F(FlexGridTest, FixedCountsAreClampedToTheCounts)
{
    EXPECT_EQ(grid->fixedRows(), 0);
    EXPECT_EQ(grid->fixedCols(), 0);
    grid->setRows(1);
    grid->setCols(3);
    grid->setFixedRows(2);
    grid->setFixedCols(1);
    EXPECT_EQ(grid->fixedRows(), 1);
    EXPECT_EQ(grid->fixedCols(), 1);
    grid->setCols(0);
    EXPECT_EQ(grid->fixedCols(), 0);
}

// ---- current cell, selection and formatting ---------------------------------------------------

TEST_F(FlexGridTest, FormattingColoursTheWholeSelectionButTextOnlyTheCurrentCell)
{
    grid->setRows(6);
    grid->setCols(5);
    // Far corner above and left of the current cell: the order of the corners does not matter.
    select(4, 3, 2, 1);
    grid->setCellBackColor(ui::qbColor(10));
    grid->setCellForeColor(ui::qbColor(12));
    grid->setText(QStringLiteral("予約"));

    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 5; ++c) {
            const bool inside = r >= 2 && r <= 4 && c >= 1 && c <= 3;
            EXPECT_EQ(grid->cellBackColor(r, c), inside ? ui::qbColor(10) : QColor(Qt::white)) << r << "," << c;
            EXPECT_EQ(grid->cellForeColor(r, c), inside ? ui::qbColor(12) : QColor(Qt::black)) << r << "," << c;
            EXPECT_EQ(grid->text(r, c), (r == 4 && c == 3) ? QStringLiteral("予約") : QString()) << r << "," << c;
        }
    }

    // A whole list row highlighted by selecting its columns, then cleared again.
    select(5, 0, 5, 4);
    grid->setCellBackColor(ui::qbColor(10));
    grid->setCellAlignment(FlexGrid::LeftBottom);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(grid->cellBackColor(5, c), ui::qbColor(10));
    grid->setCellBackColor(ui::qbColor(15));
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(grid->cellBackColor(5, c), ui::qbColor(15));
    grid->setCol(4);
    EXPECT_EQ(grid->cellAlignment(), FlexGrid::LeftBottom);
}

TEST_F(FlexGridTest, SettingRowOrColCollapsesTheSelection)
{
    grid->setRows(5);
    grid->setCols(5);
    select(1, 1, 3, 3);
    EXPECT_EQ(grid->rowSel(), 3);
    EXPECT_EQ(grid->colSel(), 3);

    grid->setRow(2);
    EXPECT_EQ(grid->row(), 2);
    EXPECT_EQ(grid->rowSel(), 2);
    EXPECT_EQ(grid->colSel(), 1);
    grid->setCellBackColor(ui::offHoursColour());
    EXPECT_EQ(grid->cellBackColor(2, 1), ui::offHoursColour());
    EXPECT_EQ(grid->cellBackColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(grid->cellBackColor(3, 3), QColor(Qt::white));

    grid->setRowSel(4);
    grid->setColSel(4);
    grid->setCol(0);
    EXPECT_EQ(grid->rowSel(), 2);
    EXPECT_EQ(grid->colSel(), 0);
}

TEST_F(FlexGridTest, ColourDefaultsAndReadingTheCurrentCell)
{
    grid->setRows(4);
    grid->setCols(4);
    grid->setFixedRows(1);
    grid->setFixedCols(1);

    EXPECT_EQ(grid->cellBackColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(grid->cellForeColor(2, 2), QColor(Qt::black));
    // Header cells are a light grey, like a button face.
    for (const auto& [r, c] : {std::pair{0, 0}, std::pair{0, 2}, std::pair{2, 0}}) {
        const QColor header = grid->cellBackColor(r, c);
        EXPECT_EQ(header.red(), header.green());
        EXPECT_EQ(header.green(), header.blue());
        EXPECT_GT(header.red(), 200);
        EXPECT_LT(header.red(), 255);
        EXPECT_EQ(grid->cellForeColor(r, c), QColor(Qt::black));
    }

    // The slot test of the time inquiry: the current cell's background against OffHoursColour.
    grid->setRow(3);
    grid->setCol(3);
    EXPECT_NE(grid->cellBackColor(), ui::offHoursColour());
    grid->setCellBackColor(ui::offHoursColour());
    EXPECT_EQ(grid->cellBackColor(), ui::offHoursColour());
    grid->setCellForeColor(ui::qbColor(12));
    EXPECT_EQ(grid->cellForeColor(), ui::qbColor(12));
    grid->setText(QStringLiteral("3"));
    EXPECT_EQ(grid->text(), QStringLiteral("3"));
}

TEST_F(FlexGridTest, OutOfRangeWritesAreIgnored)
{
    QuietWarnings quiet;
    grid->setRows(3);
    grid->setCols(3);
    grid->setRow(1);
    grid->setCol(2);
    grid->setRow(3);
    grid->setCol(-1);
    grid->setRowSel(7);
    grid->setColSel(3);
    EXPECT_EQ(grid->row(), 1);
    EXPECT_EQ(grid->col(), 2);
    EXPECT_EQ(grid->rowSel(), 1);
    EXPECT_EQ(grid->colSel(), 2);
    grid->setTextMatrix(5, 5, QStringLiteral("x"));
    grid->setColWidth(9, 300);
    grid->setMergeRow(4, true);
    grid->clickCell(3, 0);
    EXPECT_EQ(grid->text(5, 5), QString());

    // An empty grid has no current cell: writes do nothing.
    grid->setRows(0);
    grid->setCols(0);
    grid->setText(QStringLiteral("x"));
    grid->setCellBackColor(ui::qbColor(12));
    grid->setCellFontSize(9);
    grid->setRows(1);
    grid->setCols(1);
    EXPECT_EQ(grid->text(0, 0), QString());
    EXPECT_EQ(grid->cellBackColor(0, 0), QColor(Qt::white));
}

TEST_F(FlexGridTest, ColumnWidthsAreInTwips)
{
    grid->setRows(2);
    grid->setCols(4);
    EXPECT_GT(grid->colWidth(0), 0);
    grid->setColWidth(-1, 400);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->colWidth(c), 400);
    grid->setColWidth(3, 1950);
    EXPECT_EQ(grid->colWidth(3), 1950);
    EXPECT_EQ(grid->cellRect(0, 0).width(), ui::twips(400));
    EXPECT_EQ(grid->cellRect(0, 3).width(), ui::twips(1950));
    EXPECT_EQ(grid->cellRect(0, 3).left(), 3 * ui::twips(400));
}

TEST_F(FlexGridTest, RowsAreTallEnoughForJapaneseText)
{
    grid->setRows(3);
    grid->setCols(2);
    const QFont japanese(QStringLiteral("Noto Sans CJK JP"), grid->font().pointSize());
    EXPECT_GE(grid->cellRect(0, 0).height(), QFontMetrics(japanese).height());

    grid->setRow(1);
    grid->setCellFontSize(20);
    const QFont large(QStringLiteral("Noto Sans CJK JP"), 20);
    EXPECT_GE(grid->cellRect(0, 0).height(), QFontMetrics(large).height());
    EXPECT_EQ(grid->cellRect(2, 0).top(), 2 * grid->cellRect(0, 0).height());
}

TEST_F(FlexGridTest, SizeHintIsTheWholeContentPlusFrame)
{
    grid->setRows(4);
    grid->setCols(3);
    grid->setColWidth(-1, 600);
    const QRect last = grid->cellRect(3, 2);
    const int frame = 2 * grid->frameWidth();
    EXPECT_EQ(grid->sizeHint(), QSize(last.right() + 1 + frame, last.bottom() + 1 + frame));
    EXPECT_LT(grid->minimumSizeHint().width(), 100);

    show(grid->sizeHint().width(), grid->sizeHint().height());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
}

// ---- clicks and keys ----------------------------------------------------------------------------

TEST_F(FlexGridTest, HeaderClickGivesRowZeroBeforeTheClickEvent)
{
    grid->setRows(10);
    grid->setCols(5);
    grid->setFixedRows(1);
    grid->setFixedCols(1);
    grid->setRow(4);
    grid->setCol(2);
    show(400, 300);

    std::vector<std::pair<int, int>> seen;
    QObject::connect(grid.get(), &FlexGrid::cellClicked, [&](int row, int col) { seen.emplace_back(row, col); });

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(0, 3).center());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(0, 3));
    EXPECT_EQ(grid->rowSel(), 0);
    EXPECT_EQ(grid->colSel(), 3);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(6, 0).center());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], std::make_pair(6, 0));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(7, 4).center());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2], std::make_pair(7, 4));

    // Beyond the last column: no cell, no click.
    const QRect lastCell = grid->cellRect(2, 4);
    ASSERT_LT(lastCell.right() + 10, grid->viewport()->width());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(lastCell.right() + 10, lastCell.center().y()));
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(grid->row(), 7);
    EXPECT_EQ(grid->col(), 4);
}

TEST_F(FlexGridTest, ClickCellScrollsMovesAndThenRaisesClicked)
{
    grid->setRows(102);
    grid->setCols(151);
    grid->setFixedRows(2);
    grid->setFixedCols(1);
    show(400, 300);

    std::vector<std::pair<int, int>> seen;
    QObject::connect(grid.get(), &FlexGrid::cellClicked, [&](int row, int col) { seen.emplace_back(row, col); });
    grid->setRowSel(5);
    grid->clickCell(90, 140);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(90, 140));
    EXPECT_EQ(grid->rowSel(), 90);
    EXPECT_EQ(grid->colSel(), 140);

    // The clicked cell is now on screen, clear of the header rows and column.
    const QRect cell = grid->cellRect(90, 140);
    const QRect dataArea = grid->viewport()->rect().adjusted(grid->cellRect(0, 1).left(), grid->cellRect(2, 0).top(), 0, 0);
    EXPECT_TRUE(dataArea.contains(cell)) << cell.x() << "," << cell.y();

    // And a real click there reaches the same cell.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], std::make_pair(90, 140));
}

TEST_F(FlexGridTest, InvokableReadersAndClickReachableThroughTheMetaObject)
{
    grid->setRows(3);
    grid->setCols(3);
    grid->setTextMatrix(1, 2, QStringLiteral("山田"));
    grid->setRow(1);
    grid->setCol(2);
    grid->setCellBackColor(ui::qbColor(10));
    grid->setCellForeColor(ui::qbColor(1));
    grid->setRow(0);
    QSignalSpy clicks(grid.get(), &FlexGrid::cellClicked);

    QObject* object = grid.get();
    int rows = 0;
    QString text;
    QColor back;
    QColor fore;
    ASSERT_TRUE(QMetaObject::invokeMethod(object, "rows", Q_RETURN_ARG(int, rows)));
    ASSERT_TRUE(QMetaObject::invokeMethod(object, "text", Q_RETURN_ARG(QString, text), Q_ARG(int, 1), Q_ARG(int, 2)));
    ASSERT_TRUE(QMetaObject::invokeMethod(object, "cellBackColor", Q_RETURN_ARG(QColor, back), Q_ARG(int, 1), Q_ARG(int, 2)));
    ASSERT_TRUE(QMetaObject::invokeMethod(object, "cellForeColor", Q_RETURN_ARG(QColor, fore), Q_ARG(int, 1), Q_ARG(int, 2)));
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(text, QStringLiteral("山田"));
    EXPECT_EQ(back, ui::qbColor(10));
    EXPECT_EQ(fore, ui::qbColor(1));

    ASSERT_TRUE(QMetaObject::invokeMethod(object, "clickCell", Q_ARG(int, 2), Q_ARG(int, 1)));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(grid->row(), 2);
    EXPECT_EQ(grid->col(), 1);
}

TEST_F(FlexGridTest, ArrowKeysMoveAndEnterOrSpaceClick)
{
    grid->setRows(5);
    grid->setCols(5);
    grid->setFixedRows(1);
    grid->setFixedCols(1);
    grid->setRow(1);
    grid->setCol(1);
    show(400, 300);
    grid->setFocus();
    QSignalSpy clicks(grid.get(), &FlexGrid::cellClicked);

    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->row(), 2);
    EXPECT_EQ(grid->col(), 3);
    // The keys stay within the data cells.
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QTest::keyClick(grid.get(), Qt::Key_Left);
    QTest::keyClick(grid.get(), Qt::Key_Left);
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->row(), 1);
    EXPECT_EQ(grid->col(), 1);
    EXPECT_EQ(clicks.count(), 0);

    QTest::keyClick(grid.get(), Qt::Key_Return);
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 2);
}

// ---- painting -------------------------------------------------------------------------------------

TEST_F(FlexGridTest, MergedRowPaintsEqualNeighboursAsOneCell)
{
    grid->setRows(2);
    grid->setCols(12);
    grid->setColWidth(-1, 240);
    for (int c = 0; c < 12; ++c) {
        grid->setRow(0);
        grid->setCol(c);
        grid->setCellAlignment(FlexGrid::CenterCenter);
        grid->setText(c < 6 ? QStringLiteral("8") : QStringLiteral("9"));
        grid->setTextMatrix(1, c, c < 6 ? QStringLiteral("8") : QStringLiteral("9"));
    }
    grid->setMergeRow(0, true);
    show(grid->sizeHint().width(), grid->sizeHint().height());
    const QImage image = shot();

    const QRect span = grid->cellRect(0, 0).united(grid->cellRect(0, 5));
    const int y = span.top() + 2; // above the text, below nothing but the cell
    // No grid line between equal labels of the merged row; one between "8" and "9".
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(image.pixel(grid->cellRect(0, c).right(), y), qRgb(255, 255, 255)) << "line after column " << c;
    EXPECT_NE(image.pixel(grid->cellRect(0, 5).right(), y), qRgb(255, 255, 255));
    // The unmerged row keeps every line.
    EXPECT_NE(image.pixel(grid->cellRect(1, 0).right(), grid->cellRect(1, 0).top() + 2), qRgb(255, 255, 255));

    // The merged label is drawn once, in the middle of its span; the unmerged row draws it per cell.
    EXPECT_EQ(darkPixels(image, grid->cellRect(0, 0)), 0);
    EXPECT_EQ(darkPixels(image, grid->cellRect(0, 5)), 0);
    EXPECT_GT(darkPixels(image, grid->cellRect(0, 2).united(grid->cellRect(0, 3))), 0);
    EXPECT_GT(darkPixels(image, grid->cellRect(1, 0)), 0);
    EXPECT_GT(darkPixels(image, grid->cellRect(1, 5)), 0);
}

TEST_F(FlexGridTest, AlignmentCodesPlaceTheText)
{
    grid->setRows(5); // row 4 takes the current cell and its focus rectangle
    grid->setCols(1);
    grid->setColWidth(0, 3000);
    const struct {
        int code;
        QString text;
    } cases[] = {{FlexGrid::LeftCenter, QStringLiteral("休")},
                 {FlexGrid::RightBottom, QStringLiteral("休")},
                 {FlexGrid::General, QStringLiteral("12")},
                 {FlexGrid::General, QStringLiteral("山田")}};
    for (int r = 0; r < 4; ++r) {
        grid->setRow(r);
        grid->setCellAlignment(cases[r].code);
        grid->setText(cases[r].text);
    }
    grid->setRow(4);
    show(grid->sizeHint().width(), grid->sizeHint().height());
    const QImage image = shot();

    auto leftHalf = [&](int r) {
        const QRect cell = grid->cellRect(r, 0);
        return QRect(cell.left(), cell.top(), cell.width() / 2, cell.height());
    };
    auto rightHalf = [&](int r) {
        const QRect cell = grid->cellRect(r, 0);
        return QRect(cell.center().x(), cell.top(), cell.width() / 2, cell.height());
    };
    EXPECT_GT(darkPixels(image, leftHalf(0)), 0);
    EXPECT_EQ(darkPixels(image, rightHalf(0)), 0);
    EXPECT_EQ(darkPixels(image, leftHalf(1)), 0);
    EXPECT_GT(darkPixels(image, rightHalf(1)), 0);
    EXPECT_EQ(darkPixels(image, leftHalf(2)), 0); // General: numbers to the right
    EXPECT_GT(darkPixels(image, rightHalf(2)), 0);
    EXPECT_GT(darkPixels(image, leftHalf(3)), 0); // General: text to the left
    EXPECT_EQ(darkPixels(image, rightHalf(3)), 0);
}

TEST_F(FlexGridTest, FixedRowsAndColumnStayVisibleWhileTheRestScrolls)
{
    layOutSlotGrid(102, 25); // 151 columns, every data cell coloured
    grid->setRow(0);
    grid->setCol(1);
    grid->setColSel(grid->cols() - 1);
    grid->setCellBackColor(ui::qbColor(14));
    show(600, 400);

    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum() / 2);
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    ASSERT_GT(grid->horizontalScrollBar()->value(), 0);
    ASSERT_GT(grid->verticalScrollBar()->value(), 0);
    const QImage image = shot();

    // Header row 0 (yellow), the minute row 1 (button grey) and the label column stay put.
    const QRect header0 = grid->cellRect(0, 0);
    const QRect header1 = grid->cellRect(1, 0);
    EXPECT_EQ(header0.top(), 0);
    EXPECT_EQ(header1.top(), header0.height());
    const int labelRight = header0.right();
    EXPECT_EQ(image.pixel(labelRight + 150, header0.top() + 1), ui::qbColor(14).rgb());
    EXPECT_EQ(image.pixel(labelRight + 150, header1.top() + 1), grid->cellBackColor(1, 1).rgb());
    EXPECT_EQ(image.pixel(3, header1.bottom() + 30), grid->cellBackColor(50, 0).rgb());
    // The bottom row of data is on screen below the headers.
    const QRect last = grid->cellRect(101, 75);
    EXPECT_GE(last.top(), header1.bottom());
    EXPECT_LE(last.bottom(), grid->viewport()->height());
    EXPECT_EQ(image.pixel(last.left() + 3, last.top() + 1), grid->cellBackColor(101, 75).rgb());

    // A click on the header after scrolling still gives row 0, in the scrolled column.
    int row = -1;
    int col = -1;
    QObject::connect(grid.get(), &FlexGrid::cellClicked, [&](int r, int c) {
        row = r;
        col = c;
    });
    const QRect hourCell = grid->cellRect(1, 75);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(hourCell.center().x(), header0.center().y()));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 75);

    // Screenshots for looking at the grid by eye.
    if (const QByteArray dir = qgetenv("KELVORA_SCREENSHOTS"); !dir.isEmpty()) {
        grid->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/flex_grid_scrolled.png"));
        grid->horizontalScrollBar()->setValue(0);
        grid->verticalScrollBar()->setValue(0);
        grid->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/flex_grid_top.png"));
    }
}

} // namespace
