#include "ui/flex_grid.h"

#include "base/input.h"
#include "ui/palette.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>
#include <QtDebug>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultColWidth = 960; // twips (64 px)

const QColor kDataBack(255, 255, 255);
const QColor kFixedBack(240, 240, 240); // a button face
const QColor kFore(0, 0, 0);
const QColor kGridLine(208, 208, 208);
const QColor kFixedGridLine(176, 176, 176);
const QColor kOutside(224, 224, 224); // the area beyond the last row and column
const QColor kFrame(0, 0, 128);       // a framed cell's frame, dark against every cell colour

Qt::Alignment alignmentFlags(int code, const QString& text)
{
    switch (code) {
    case FlexGrid::LeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case FlexGrid::LeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case FlexGrid::LeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case FlexGrid::CenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case FlexGrid::CenterCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case FlexGrid::CenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case FlexGrid::RightTop: return Qt::AlignRight | Qt::AlignTop;
    case FlexGrid::RightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case FlexGrid::RightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: // General
        return (input::isNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

// Height of one line of text in the font, counting the fallback fonts that Japanese text is
// drawn with (the primary font's own metrics can be smaller than Noto CJK's).
int lineHeight(const QFont& font)
{
    QTextLayout layout(QStringLiteral("日本語あア漢Agjy"), font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const qreal height = line.isValid() ? line.height() : 0;
    return std::max(static_cast<int>(std::ceil(height)), QFontMetrics(font).height());
}

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateScrollBars();
}

// ---- cells and counts ----------------------------------------------------------------------

FlexGrid::Cell& FlexGrid::cell(int row, int col)
{
    return cells_[static_cast<size_t>(row) * cols_ + col];
}

const FlexGrid::Cell& FlexGrid::cell(int row, int col) const
{
    return cells_[static_cast<size_t>(row) * cols_ + col];
}

bool FlexGrid::inRange(int row, int col) const
{
    return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

bool FlexGrid::isFixed(int row, int col) const
{
    return row < fixedRows_ || col < fixedCols_;
}

void FlexGrid::resizeCells(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (rows == rows_ && cols == cols_)
        return;

    std::vector<Cell> cells(static_cast<size_t>(rows) * cols);
    const int keepRows = std::min(rows, rows_);
    const int keepCols = std::min(cols, cols_);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c)
            cells[static_cast<size_t>(r) * cols + c] = std::move(cell(r, c));
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
    widths_.resize(cols, kDefaultColWidth);
    mergeRows_.resize(rows, false);

    fixedRows_ = std::min(fixedRows_, rows_);
    fixedCols_ = std::min(fixedCols_, cols_);
    row_ = std::clamp(row_, 0, std::max(rows_ - 1, 0));
    rowSel_ = std::clamp(rowSel_, 0, std::max(rows_ - 1, 0));
    col_ = std::clamp(col_, 0, std::max(cols_ - 1, 0));
    colSel_ = std::clamp(colSel_, 0, std::max(cols_ - 1, 0));

    const int largestBefore = largestFontSize_;
    largestFontSize_ = 0;
    for (const Cell& kept : cells_)
        largestFontSize_ = std::max(largestFontSize_, kept.fontSize);
    invalidateLayout(largestFontSize_ != largestBefore);
}

void FlexGrid::startLayout(int rows, int cols, int fixedRows, int fixedCols)
{
    setRows(0);
    setCols(0);
    setRows(rows);
    setCols(cols);
    setFixedRows(fixedRows);
    setFixedCols(fixedCols);
}

void FlexGrid::paintRow(int row, int firstCol, int lastCol, const QColor& colour)
{
    setRow(row);
    setCol(firstCol);
    setRowSel(row);
    setColSel(lastCol < 0 ? cols_ - 1 : lastCol);
    setCellBackColor(colour);
}

void FlexGrid::setRows(int rows)
{
    if (rows < 0) {
        qWarning("FlexGrid::setRows: negative count %d ignored", rows);
        return;
    }
    resizeCells(rows, cols_);
}

void FlexGrid::setCols(int cols)
{
    if (cols < 0) {
        qWarning("FlexGrid::setCols: negative count %d ignored", cols);
        return;
    }
    resizeCells(rows_, cols);
}

void FlexGrid::setFixedRows(int count)
{
    if (count < 0) {
        qWarning("FlexGrid::setFixedRows: negative count %d ignored", count);
        return;
    }
    fixedRows_ = std::min(count, rows_);
    invalidateLayout();
}

void FlexGrid::setFixedCols(int count)
{
    if (count < 0) {
        qWarning("FlexGrid::setFixedCols: negative count %d ignored", count);
        return;
    }
    fixedCols_ = std::min(count, cols_);
    invalidateLayout();
}

// ---- current cell and selection -------------------------------------------------------------

void FlexGrid::moveCurrent(int row, int col)
{
    row_ = rowSel_ = row;
    col_ = colSel_ = col;
    viewport()->update();
}

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= rows_) {
        qWarning("FlexGrid::setRow: row %d outside 0..%d ignored", row, rows_ - 1);
        return;
    }
    moveCurrent(row, col_);
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= cols_) {
        qWarning("FlexGrid::setCol: column %d outside 0..%d ignored", col, cols_ - 1);
        return;
    }
    moveCurrent(row_, col);
}

void FlexGrid::setRowSel(int row)
{
    if (row < 0 || row >= rows_) {
        qWarning("FlexGrid::setRowSel: row %d outside 0..%d ignored", row, rows_ - 1);
        return;
    }
    rowSel_ = row;
}

void FlexGrid::setColSel(int col)
{
    if (col < 0 || col >= cols_) {
        qWarning("FlexGrid::setColSel: column %d outside 0..%d ignored", col, cols_ - 1);
        return;
    }
    colSel_ = col;
}

template <typename Apply> void FlexGrid::forSelection(Apply apply)
{
    if (!inRange(row_, col_) || !inRange(rowSel_, colSel_)) {
        qWarning("FlexGrid: no current cell (grid of %d x %d), formatting ignored", rows_, cols_);
        return;
    }
    const auto [r0, r1] = std::minmax(row_, rowSel_);
    const auto [c0, c1] = std::minmax(col_, colSel_);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            apply(cell(r, c));
    viewport()->update();
}

// ---- text and formatting ----------------------------------------------------------------------

QString FlexGrid::text() const
{
    return text(row_, col_);
}

void FlexGrid::setText(const QString& text)
{
    setTextMatrix(row_, col_, text);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid: text for cell (%d, %d) outside the %d x %d grid ignored", row, col, rows_, cols_);
        return;
    }
    cell(row, col).text = text;
    viewport()->update();
}

QString FlexGrid::text(int row, int col) const
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid: cell (%d, %d) outside the %d x %d grid", row, col, rows_, cols_);
        return {};
    }
    return cell(row, col).text;
}

QColor FlexGrid::effectiveBack(const Cell& cell, bool fixed) const
{
    if (cell.back.isValid())
        return cell.back;
    return fixed ? kFixedBack : kDataBack;
}

QColor FlexGrid::effectiveFore(const Cell& cell) const
{
    return cell.fore.isValid() ? cell.fore : kFore;
}

QColor FlexGrid::cellBackColor() const
{
    return cellBackColor(row_, col_);
}

QColor FlexGrid::cellBackColor(int row, int col) const
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid: cell (%d, %d) outside the %d x %d grid", row, col, rows_, cols_);
        return {};
    }
    return effectiveBack(cell(row, col), isFixed(row, col));
}

void FlexGrid::setCellBackColor(const QColor& colour)
{
    forSelection([&](Cell& c) { c.back = colour; });
}

QColor FlexGrid::cellForeColor() const
{
    return cellForeColor(row_, col_);
}

QColor FlexGrid::cellForeColor(int row, int col) const
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid: cell (%d, %d) outside the %d x %d grid", row, col, rows_, cols_);
        return {};
    }
    return effectiveFore(cell(row, col));
}

int FlexGrid::cellFontSize(int row, int col) const
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid: cell (%d, %d) outside the %d x %d grid", row, col, rows_, cols_);
        return 0;
    }
    return cell(row, col).fontSize;
}

void FlexGrid::setCellForeColor(const QColor& colour)
{
    forSelection([&](Cell& c) { c.fore = colour; });
}

int FlexGrid::cellAlignment() const
{
    return inRange(row_, col_) ? cell(row_, col_).alignment : General;
}

void FlexGrid::setCellAlignment(int code)
{
    if (code < LeftTop || code > General) {
        qWarning("FlexGrid::setCellAlignment: unknown code %d ignored", code);
        return;
    }
    forSelection([&](Cell& c) { c.alignment = code; });
}

int FlexGrid::cellFontSize() const
{
    return inRange(row_, col_) ? cell(row_, col_).fontSize : 0;
}

void FlexGrid::setCellFontSize(int points)
{
    if (points < 0) {
        qWarning("FlexGrid::setCellFontSize: size %d ignored", points);
        return;
    }
    forSelection([&](Cell& c) { c.fontSize = points; });
    if (points > largestFontSize_ && inRange(row_, col_)) {
        largestFontSize_ = points;
        invalidateLayout(true);
    }
}

bool FlexGrid::cellFramed(int row, int col) const
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid: cell (%d, %d) outside the %d x %d grid", row, col, rows_, cols_);
        return false;
    }
    return cell(row, col).framed;
}

void FlexGrid::setCellFramed(bool framed)
{
    forSelection([&](Cell& c) { c.framed = framed; });
}

void FlexGrid::setToolTipSource(ToolTipSource source)
{
    toolTipSource_ = std::move(source);
}

QString FlexGrid::cellToolTip(int row, int col) const
{
    if (!toolTipSource_ || !inRange(row, col))
        return {};
    return toolTipSource_(row, col);
}

QFont FlexGrid::cellFont(int points) const
{
    QFont f = font();
    if (points > 0)
        f.setPointSize(points);
    return f;
}

// ---- geometry -------------------------------------------------------------------------------

int FlexGrid::colWidth(int col) const
{
    if (col == -1)
        return cols_ > 0 ? widths_[0] : kDefaultColWidth;
    if (col < 0 || col >= cols_) {
        qWarning("FlexGrid::colWidth: column %d outside 0..%d", col, cols_ - 1);
        return 0;
    }
    return widths_[col];
}

void FlexGrid::setColWidth(int col, int twipsWidth)
{
    if (twipsWidth < 0)
        twipsWidth = kDefaultColWidth;
    if (col == -1) {
        std::fill(widths_.begin(), widths_.end(), twipsWidth);
    } else if (col >= 0 && col < cols_) {
        widths_[col] = twipsWidth;
    } else {
        qWarning("FlexGrid::setColWidth: column %d outside 0..%d ignored", col, cols_ - 1);
        return;
    }
    invalidateLayout();
}

void FlexGrid::setMergeRow(int row, bool mergeable)
{
    if (row < 0 || row >= rows_) {
        qWarning("FlexGrid::setMergeRow: row %d outside 0..%d ignored", row, rows_ - 1);
        return;
    }
    mergeRows_[row] = mergeable;
    viewport()->update();
}

void FlexGrid::invalidateLayout(bool rowHeightChanged)
{
    lefts_.clear();
    // Measuring the row height takes font metrics, so it is kept until a font changes.
    if (rowHeightChanged)
        rowHeight_ = -1;
    updateScrollBars();
    updateGeometry();
    viewport()->update();
}

void FlexGrid::ensureLayout() const
{
    if (!lefts_.empty())
        return;
    lefts_.resize(cols_ + 1);
    int x = 0;
    for (int c = 0; c < cols_; ++c) {
        lefts_[c] = x;
        x += ui::twips(widths_[c]);
    }
    lefts_[cols_] = x;
}

int FlexGrid::rowHeight() const
{
    if (rowHeight_ < 0) {
        int height = lineHeight(font());
        if (largestFontSize_ > 0)
            height = std::max(height, lineHeight(cellFont(largestFontSize_)));
        rowHeight_ = height + 3; // one pixel above and below the text, and the grid line
    }
    return rowHeight_;
}

int FlexGrid::columnLeft(int col) const
{
    ensureLayout();
    return lefts_[std::clamp(col, 0, cols_)];
}

int FlexGrid::fixedWidth() const
{
    return columnLeft(fixedCols_);
}

int FlexGrid::fixedHeight() const
{
    return fixedRows_ * rowHeight();
}

int FlexGrid::contentWidth() const
{
    return columnLeft(cols_);
}

int FlexGrid::contentHeight() const
{
    return rows_ * rowHeight();
}

int FlexGrid::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int FlexGrid::verticalOffset() const
{
    return verticalScrollBar()->value();
}

void FlexGrid::updateScrollBars()
{
    const QSize area = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, contentWidth() - area.width()));
    h->setPageStep(std::max(1, area.width() - fixedWidth()));
    h->setSingleStep(std::max(1, ui::twips(kDefaultColWidth) / 2));
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, contentHeight() - area.height()));
    v->setPageStep(std::max(1, area.height() - fixedHeight()));
    v->setSingleStep(rowHeight());
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (!inRange(row, col))
        return {};
    return spanRect(row, col, col);
}

QRect FlexGrid::spanRect(int row, int firstCol, int lastCol) const
{
    ensureLayout();
    const int h = rowHeight();
    const int x = lefts_[firstCol] - (firstCol >= fixedCols_ ? horizontalOffset() : 0);
    const int y = row * h - (row >= fixedRows_ ? verticalOffset() : 0);
    return QRect(x, y, lefts_[lastCol + 1] - lefts_[firstCol], h);
}

bool FlexGrid::cellAt(const QPoint& point, int* row, int* col) const
{
    if (point.x() < 0 || point.y() < 0 || rows_ == 0 || cols_ == 0)
        return false;
    ensureLayout();
    const int x = point.x() < fixedWidth() ? point.x() : point.x() + horizontalOffset();
    const int y = point.y() < fixedHeight() ? point.y() : point.y() + verticalOffset();
    if (x >= contentWidth() || y >= contentHeight())
        return false;
    const auto it = std::upper_bound(lefts_.begin(), lefts_.end(), x);
    const int c = static_cast<int>(it - lefts_.begin()) - 1;
    const int r = y / rowHeight();
    if (!inRange(r, c))
        return false;
    *row = r;
    *col = c;
    return true;
}

void FlexGrid::scrollTo(int row, int col)
{
    if (!inRange(row, col))
        return;
    ensureLayout();
    const QSize area = viewport()->size();
    if (col >= fixedCols_) {
        int offset = horizontalOffset();
        if (lefts_[col + 1] > offset + area.width())
            offset = lefts_[col + 1] - area.width();
        if (lefts_[col] < offset + fixedWidth())
            offset = lefts_[col] - fixedWidth();
        horizontalScrollBar()->setValue(offset);
    }
    if (row >= fixedRows_) {
        const int h = rowHeight();
        int offset = verticalOffset();
        if ((row + 1) * h > offset + area.height())
            offset = (row + 1) * h - area.height();
        if (row * h < offset + fixedHeight())
            offset = row * h - fixedHeight();
        verticalScrollBar()->setValue(offset);
    }
}

QSize FlexGrid::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return QSize(contentWidth() + frame, contentHeight() + frame);
}

QSize FlexGrid::minimumSizeHint() const
{
    const int frame = 2 * frameWidth();
    return QSize(48 + frame, 32 + frame);
}

// ---- clicks and keys --------------------------------------------------------------------------

void FlexGrid::activate(int row, int col)
{
    scrollTo(row, col);
    moveCurrent(row, col);
    emit cellClicked(row_, col_);
}

void FlexGrid::clickCell(int row, int col)
{
    if (!inRange(row, col)) {
        qWarning("FlexGrid::clickCell: cell (%d, %d) outside the %d x %d grid ignored", row, col, rows_, cols_);
        return;
    }
    activate(row, col);
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    int row = 0;
    int col = 0;
    if (cellAt(event->position().toPoint(), &row, &col))
        activate(row, col);
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    if (rows_ == 0 || cols_ == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // The keys move within the data cells when there are any.
    const int firstRow = fixedRows_ < rows_ ? fixedRows_ : 0;
    const int firstCol = fixedCols_ < cols_ ? fixedCols_ : 0;
    int row = row_;
    int col = col_;
    switch (event->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Home: col = firstCol; break;
    case Qt::Key_End: col = cols_ - 1; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        if (inRange(row_, col_))
            emit cellClicked(row_, col_);
        return;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
    row = std::clamp(row, firstRow, rows_ - 1);
    col = std::clamp(col, firstCol, cols_ - 1);
    scrollTo(row, col);
    moveCurrent(row, col);
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void FlexGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        invalidateLayout(true);
}

bool FlexGrid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    int row = 0;
    int col = 0;
    const QString tip = cellAt(help->pos(), &row, &col) ? cellToolTip(row, col) : QString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // Plain text, each character as it is. The tooltip takes a text for markup by the same test, so
    // such a text (a name holding "<b>") is escaped, keeping its spaces, full-width ones too, and its
    // line breaks.
    const QString shown =
        Qt::mightBeRichText(tip) ? QStringLiteral("<p style='white-space:pre'>") + tip.toHtmlEscaped() + QStringLiteral("</p>") : tip;
    QToolTip::showText(help->globalPos(), shown, viewport(), cellRect(row, col));
    return true;
}

// ---- painting ---------------------------------------------------------------------------------

void FlexGrid::paintText(QPainter& painter, const QRect& rect, const Cell& cell) const
{
    if (cell.text.isEmpty())
        return;
    const QFont f = cellFont(cell.fontSize);
    if (painter.font() != f)
        painter.setFont(f);
    painter.setPen(effectiveFore(cell));
    // Inside the grid lines (right and bottom edge) with one pixel of room at each side: the
    // forms' column widths are narrow (a date in 1000 twips), so every pixel counts.
    const QRect inner = rect.adjusted(1, 0, -2, -1);
    painter.drawText(inner, int(alignmentFlags(cell.alignment, cell.text) | Qt::TextSingleLine), cell.text);
}

void FlexGrid::paintCell(QPainter& painter, const QRect& rect, const Cell& cell, bool fixed) const
{
    painter.fillRect(rect, effectiveBack(cell, fixed));
    paintText(painter, rect, cell);
}

void FlexGrid::paintBlock(QPainter& painter, const QRect& clip, int row0, int row1, int col0, int col1) const
{
    if (clip.isEmpty() || row0 >= row1 || col0 >= col1)
        return;
    const int h = rowHeight();
    const int dx = col0 >= fixedCols_ ? -horizontalOffset() : 0;
    const int dy = row0 >= fixedRows_ ? -verticalOffset() : 0;

    // Visible rows and columns of the block.
    const int firstRow = std::max(row0, (clip.top() - dy) / h);
    const int endRow = std::min(row1, (clip.bottom() - dy) / h + 1);
    const auto colsBegin = lefts_.begin() + col0;
    const auto colsEnd = lefts_.begin() + col1;
    const int firstCol = std::max(col0, static_cast<int>(std::upper_bound(colsBegin, colsEnd + 1, clip.left() - dx) - lefts_.begin()) - 1);
    const int endCol = static_cast<int>(std::upper_bound(colsBegin, colsEnd, clip.right() - dx) - lefts_.begin());
    if (firstRow >= endRow || firstCol >= endCol)
        return;

    painter.save();
    painter.setClipRect(clip);
    const bool fixed = row0 < fixedRows_ || col0 < fixedCols_;
    std::vector<QLine> lines;
    lines.reserve(static_cast<size_t>(endRow - firstRow) * (endCol - firstCol + 1) + 2);
    std::vector<QRect> frames;

    for (int r = firstRow; r < endRow; ++r) {
        const int top = r * h + dy;
        const int bottom = top + h - 1;
        lines.emplace_back(lefts_[firstCol] + dx, bottom, lefts_[endCol] + dx - 1, bottom);
        const bool merging = mergeRows_[r];
        int c = firstCol;
        if (merging) {
            // A span that begins left of the visible part is painted whole.
            while (c > col0 && !cell(r, c).text.isEmpty() && cell(r, c - 1).text == cell(r, c).text)
                --c;
        }
        while (c < endCol) {
            const Cell& first = cell(r, c);
            int last = c;
            if (merging && !first.text.isEmpty()) {
                while (last + 1 < col1 && cell(r, last + 1).text == first.text)
                    ++last;
            }
            for (int k = std::max(c, firstCol); k <= last && k < endCol; ++k) {
                const QRect box(lefts_[k] + dx, top, lefts_[k + 1] - lefts_[k], h);
                painter.fillRect(box, effectiveBack(cell(r, k), fixed));
                if (cell(r, k).framed)
                    frames.push_back(box.adjusted(1, 1, -2, -2));
            }
            const QRect span(lefts_[c] + dx, top, lefts_[last + 1] - lefts_[c], h);
            paintText(painter, span, first);
            const int right = span.right();
            lines.emplace_back(right, top, right, bottom);
            c = last + 1;
        }
    }
    painter.setPen(fixed ? kFixedGridLine : kGridLine);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    if (!frames.empty()) {
        painter.setPen(QPen(kFrame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRects(frames.data(), static_cast<int>(frames.size()));
    }
    painter.restore();
}

void FlexGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    ensureLayout();
    const QRect area = viewport()->rect();
    const QRect dirty = event->rect();
    const int fw = std::min(fixedWidth(), area.width());
    const int fh = std::min(fixedHeight(), area.height());

    // Beyond the last column and row.
    const int contentRight = (cols_ > fixedCols_ ? contentWidth() - horizontalOffset() : contentWidth());
    const int contentBottom = (rows_ > fixedRows_ ? contentHeight() - verticalOffset() : contentHeight());
    if (contentRight < area.width())
        painter.fillRect(QRect(contentRight, 0, area.width() - contentRight, area.height()) & dirty, kOutside);
    if (contentBottom < area.height())
        painter.fillRect(QRect(0, contentBottom, area.width(), area.height() - contentBottom) & dirty, kOutside);

    const QRect left(0, fh, fw, area.height() - fh);
    const QRect top(fw, 0, area.width() - fw, fh);
    const QRect corner(0, 0, fw, fh);
    const QRect body(fw, fh, area.width() - fw, area.height() - fh);
    paintBlock(painter, body & dirty, fixedRows_, rows_, fixedCols_, cols_);
    paintBlock(painter, top & dirty, 0, fixedRows_, fixedCols_, cols_);
    paintBlock(painter, left & dirty, fixedRows_, rows_, 0, fixedCols_);
    paintBlock(painter, corner & dirty, 0, fixedRows_, 0, fixedCols_);

    if (hasFocus() && inRange(row_, col_)) {
        const QRect region = row_ < fixedRows_ ? (col_ < fixedCols_ ? corner : top) : (col_ < fixedCols_ ? left : body);
        painter.setClipRect(region);
        QPen pen(QColor(64, 64, 64));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect(row_, col_).adjusted(1, 1, -3, -3));
    }
}
