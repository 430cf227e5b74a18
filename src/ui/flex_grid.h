#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

// The grid control every list and slot table is shown in. Its interface follows what the forms
// do with a grid: they size it with Rows/Cols (both 0 empties it), freeze header rows and
// columns, move the current cell with Row/Col, select a range with RowSel/ColSel, and write the
// current cell's text and formatting. A colour, alignment or font size set while a range is
// selected applies to the whole range; text applies to the current cell only.
//
// Besides the C++ interface, the Q_INVOKABLE readers and clickCell() let a tool that sees only
// Qt's object tree read and click any grid on screen.
class FlexGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    // CellAlignment codes.
    enum Alignment {
        LeftTop = 0,
        LeftCenter = 1,
        LeftBottom = 2,
        CenterTop = 3,
        CenterCenter = 4,
        CenterBottom = 5,
        RightTop = 6,
        RightCenter = 7,
        RightBottom = 8,
        General = 9, // text left, numbers right, vertically centred
    };

    explicit FlexGrid(QWidget* parent = nullptr);

    // Counts. Growing keeps every cell; setting both to 0 clears every text and colour.
    Q_INVOKABLE int rows() const { return rows_; }
    void setRows(int rows);
    Q_INVOKABLE int cols() const { return cols_; }
    void setCols(int cols);
    // Empties the grid (Rows and Cols 0: every text and colour gone), then gives it the counts of
    // a new layout; every grid layout starts so.
    void startLayout(int rows, int cols, int fixedRows, int fixedCols);
    // The background of the cells of a row from `firstCol` to `lastCol` (-1: the last column); the
    // selection is left on them, as painting through Row, Col, RowSel and ColSel leaves it.
    void paintRow(int row, int firstCol, int lastCol, const QColor& colour);
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int count);
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int count);

    // The current cell. Setting Row or Col also collapses the selection to the current cell.
    int row() const { return row_; }
    void setRow(int row);
    int col() const { return col_; }
    void setCol(int col);
    // The far corner of the selection.
    int rowSel() const { return rowSel_; }
    void setRowSel(int row);
    int colSel() const { return colSel_; }
    void setColSel(int col);

    // The current cell's text.
    QString text() const;
    void setText(const QString& text);
    // Formatting of the current cell; setting applies to the whole selection.
    QColor cellBackColor() const;
    void setCellBackColor(const QColor& colour);
    QColor cellForeColor() const;
    void setCellForeColor(const QColor& colour);
    int cellAlignment() const;
    void setCellAlignment(int code);
    int cellFontSize() const;
    void setCellFontSize(int points);
    // A frame drawn inside the cell's edge, over its colour (today's date on a calendar).
    void setCellFramed(bool framed);

    // Column width in twips; column -1 sets every column.
    int colWidth(int col) const;
    void setColWidth(int col, int twips);

    // Equal neighbouring texts of a mergeable row show as one cell (the hour labels of a slot grid).
    void setMergeRow(int row, bool mergeable);

    // Direct access to any cell, without moving the current cell.
    void setTextMatrix(int row, int col, const QString& text);
    Q_INVOKABLE QString text(int row, int col) const;
    Q_INVOKABLE QColor cellBackColor(int row, int col) const;
    Q_INVOKABLE QColor cellForeColor(int row, int col) const;
    // Points of the cell's font; 0 for the grid's own font.
    Q_INVOKABLE int cellFontSize(int row, int col) const;
    Q_INVOKABLE bool cellFramed(int row, int col) const;

    // What the mouse resting on a cell shows, asked of the form when the tooltip is due (it may
    // read the database): plain text, empty for none.
    using ToolTipSource = std::function<QString(int row, int col)>;
    void setToolTipSource(ToolTipSource source);
    Q_INVOKABLE QString cellToolTip(int row, int col) const;

    // Does what a user's click on the cell does: scrolls it into view, moves Row and Col (and the
    // selection) to it and raises clicked(). Header cells give row or column 0.
    Q_INVOKABLE void clickCell(int row, int col);

    // Pixel rectangle of a cell in viewport coordinates (for tests and screenshots).
    QRect cellRect(int row, int col) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Raised after Row and Col have moved to the clicked cell, with its row and column.
    void cellClicked(int row, int col);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct Cell {
        QString text;
        QColor back; // invalid: the grid's default for the cell
        QColor fore;
        int alignment = General;
        int fontSize = 0; // 0: the grid's font
        bool framed = false;
    };

    Cell& cell(int row, int col);
    const Cell& cell(int row, int col) const;
    bool inRange(int row, int col) const;
    template <typename Apply> void forSelection(Apply apply);
    // Named apart from QWidget::resize(int, int), which it would otherwise hide.
    void resizeCells(int rows, int cols);
    void updateScrollBars();
    int rowHeight() const;
    int columnLeft(int col) const;
    int fixedWidth() const;
    int fixedHeight() const;
    int contentWidth() const;
    int contentHeight() const;
    // Cell under a viewport point, or false.
    bool cellAt(const QPoint& point, int* row, int* col) const;
    void scrollTo(int row, int col);
    void paintCell(QPainter& painter, const QRect& rect, const Cell& cell, bool fixed) const;
    void paintText(QPainter& painter, const QRect& rect, const Cell& cell) const;

    // Moves the current cell and collapses the selection onto it.
    void moveCurrent(int row, int col);
    // What a click on the cell does: scroll it into view, move the current cell, raise clicked().
    void activate(int row, int col);
    bool isFixed(int row, int col) const;
    QColor effectiveBack(const Cell& cell, bool fixed) const;
    QColor effectiveFore(const Cell& cell) const;
    QFont cellFont(int points) const;
    // The viewport rectangle of the cells from firstCol to lastCol (inclusive) of a row.
    QRect spanRect(int row, int firstCol, int lastCol) const;
    // Paints the cells of rows [row0, row1) and columns [col0, col1) that fall inside clip.
    void paintBlock(QPainter& painter, const QRect& clip, int row0, int row1, int col0, int col1) const;
    void invalidateLayout(bool rowHeightChanged = false);
    void ensureLayout() const;
    int horizontalOffset() const;
    int verticalOffset() const;

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int rowSel_ = 0;
    int colSel_ = 0;
    std::vector<Cell> cells_; // row by row, rows_ x cols_
    std::vector<int> widths_; // twips per column, as set
    std::vector<bool> mergeRows_;
    ToolTipSource toolTipSource_;
    int largestFontSize_ = 0;        // largest CellFontSize in use, for the row height
    mutable std::vector<int> lefts_; // pixel left edge of every column, plus the right end
    mutable int rowHeight_ = -1;     // -1: to be measured
};
