#include "sheets/sheet_painter.h"

#include "sheets/pdf_text.h"
#include "ui/flex_grid.h"
#include "views/business_status.h"
#include "views/reservation_status.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextLayout>
#include <deque>
#include <memory>

namespace sheets {

namespace {

const QString kFontFamily = QStringLiteral("Noto Sans CJK JP");
const QColor kRuleColour(150, 150, 150);
const QColor kHeaderFill(225, 225, 225);
constexpr qreal kMarginMm = 12;

QFont font(qreal points, bool bold = false)
{
    QFont f(kFontFamily);
    f.setPointSizeF(points);
    f.setBold(bold);
    // Each character drawn with the font's own glyph for it. Shaped, Noto CJK draws digits after
    // Latin letters ("A-000002", "TEL 03") with glyphs it has for no character, and a reader of
    // the PDF gets nothing for them. Japanese and Latin text need no shaping.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

// The PDF as written, with each glyph read back as the character the sheet drew with it.
QByteArray readableAsDrawn(const QByteArray& pdf, const QString& drawn)
{
    return pdf_text::withDrawnCharacters(pdf, drawn, {font(9), font(9, true)});
}

// A text broken into lines of a width: at word boundaries, or anywhere in a word too long for
// the line (a long number, a long run of Latin letters).
class WrappedText {
public:
    WrappedText(const QString& text, const QFont& font, qreal width, QPaintDevice* device) : layout_(text, font, device)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_.setTextOption(option);
        layout_.beginLayout();
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_.endLayout();
    }
    qreal height() const { return height_; }
    int lineCount() const { return layout_.lineCount(); }
    qreal lineHeight(int line) const { return layout_.lineAt(line).height(); }
    void draw(QPainter& painter, const QPointF& at) const { layout_.draw(&painter, at); }
    // Lines [first, last) with the top of the first at `at`.
    void drawLines(QPainter& painter, const QPointF& at, int first, int last) const
    {
        const qreal top = first < lineCount() ? layout_.lineAt(first).y() : 0;
        for (int line = first; line < last; ++line)
            layout_.lineAt(line).draw(&painter, at - QPointF(0, top));
    }

private:
    QTextLayout layout_;
    qreal height_ = 0;
};

// The lines of each cell of a row that lie on one page, when the row is taller than a page.
using LineRanges = std::vector<std::pair<int, int>>;

// One thing placed on a page, top at `y` of the page's body.
struct Block {
    enum Kind { Grid, Picture, Heading, ColumnHeader, Row, Summary } kind;
    QString text{};                     // of a heading or the summary
    const QStringList* cells = nullptr; // of a row
    qreal height = 0;
    qreal y = 0;
    QString aside{};    // right of a heading: the section's count
    LineRanges lines{}; // of the part of a row taller than a page; empty for a whole row
};
using Page = std::vector<Block>;

class SheetLayout {
public:
    SheetLayout(const Sheet& sheet, QPaintDevice& device) : sheet_(sheet), device_(device)
    {
        width_ = device.width();
        height_ = device.height();
        pad_ = mm(1.2);
        int shares = 0;
        for (const SheetColumn& column : sheet.columns)
            shares += column.share;
        qreal x = 0;
        for (const SheetColumn& column : sheet.columns) {
            const qreal w = width_ * column.share / std::max(shares, 1);
            columnX_.push_back(x);
            columnW_.push_back(w);
            x += w;
        }
        headerHeight_ = lineHeight(titleFont_) + lineHeight(bodyFont_) + mm(4);
        footerHeight_ = lineHeight(smallFont_) + mm(2);
        if (sheet.grid)
            makeGrid(*sheet.grid);
    }

    std::vector<Page> paginate() const
    {
        std::vector<Page> pages;
        Page page;
        qreal y = headerHeight_;
        const qreal bottom = height_ - footerHeight_;
        const auto fits = [&](qreal h) { return y + h <= bottom; };
        const auto newPage = [&] {
            pages.push_back(std::move(page));
            page.clear();
            y = headerHeight_;
        };
        const auto place = [&](Block block) {
            block.y = y;
            y += block.height;
            page.push_back(std::move(block));
        };

        if (grid_)
            place({.kind = Block::Grid, .height = gridHeight() + mm(3)});
        if (sheet_.picture)
            place({.kind = Block::Picture, .height = (bottom - headerHeight_) * sheet_.pictureShare + mm(3)});
        for (const SheetSection& section : sheet_.sections) {
            const QString title = section.note.isEmpty() ? section.heading : section.heading + QStringLiteral("　　") + section.note;
            // The count stands at the right of the heading: a day without bookings takes one line.
            const Block heading{.kind = Block::Heading,
                                .text = title,
                                .height = title.isEmpty() ? 0 : lineHeight(boldFont_) + mm(1),
                                .aside = section.count};
            const Block header{.kind = Block::ColumnHeader, .height = rowHeight(nullptr)};
            std::vector<Block> rows;
            for (const QStringList& cells : section.rows)
                rows.push_back({.kind = Block::Row, .cells = &cells, .height = rowHeight(&cells)});

            const qreal lead = heading.height + (rows.empty() ? 0 : header.height + rows.front().height);
            if (!fits(lead) && !page.empty())
                newPage();
            if (heading.height > 0)
                place(heading);
            if (!rows.empty())
                place(header);
            const auto continueOnNewPage = [&] {
                newPage();
                if (heading.height > 0)
                    place({.kind = Block::Heading, .text = title + QStringLiteral("（続き）"), .height = heading.height});
                place(header);
            };
            // What a page that continues the section holds below its heading and column header.
            const qreal roomForRows = bottom - headerHeight_ - heading.height - header.height;
            for (const Block& row : rows) {
                if (row.height > roomForRows) {
                    placeInParts(row, bottom - y, roomForRows, place, continueOnNewPage);
                    continue;
                }
                if (!fits(row.height))
                    continueOnNewPage();
                place(row);
            }
            y += mm(2);
        }
        if (!sheet_.summary.isEmpty()) {
            const qreal h = lineHeight(boldFont_);
            if (!fits(h))
                newPage();
            place({.kind = Block::Summary, .text = sheet_.summary, .height = h});
        }
        pages.push_back(std::move(page));
        return pages;
    }

    // The texts painted so far (the slot grid's labels aside).
    const QString& drawnText() const { return drawn_; }

    void paintPage(QPainter& painter, const Page& page, int number, int count, const QDateTime& printedAt) const
    {
        paintPageFrame(painter, number, count, printedAt);
        for (const Block& block : page) {
            switch (block.kind) {
            case Block::Grid: paintGrid(painter, block.y); break;
            case Block::Picture: sheet_.picture(painter, QRectF(0, block.y, width_, block.height - mm(3))); break;
            case Block::Heading:
                painter.setFont(boldFont_);
                drawText(painter, QRectF(0, block.y, width_, block.height), Qt::AlignVCenter | Qt::AlignLeft, block.text);
                drawText(painter, QRectF(0, block.y, width_, block.height), Qt::AlignVCenter | Qt::AlignRight, block.aside);
                break;
            case Block::Summary:
                painter.setFont(boldFont_);
                drawText(painter, QRectF(0, block.y, width_, block.height), Qt::AlignVCenter | Qt::AlignRight, block.text);
                break;
            case Block::ColumnHeader:
                painter.fillRect(QRectF(0, block.y, width_, block.height), kHeaderFill);
                paintCells(painter, block.y, block.height, nullptr);
                break;
            case Block::Row: paintCells(painter, block.y, block.height, block.cells, block.lines); break;
            }
        }
    }

private:
    // Every text of the sheet is drawn through here or paintCells, so that the PDF can tell which
    // characters it drew.
    void drawText(QPainter& painter, const QRectF& rect, int flags, const QString& text) const
    {
        drawn_ += text;
        painter.drawText(rect, flags, text);
    }

    qreal mm(qreal millimetres) const { return millimetres * device_.logicalDpiY() / 25.4; }
    qreal lineHeight(const QFont& f) const { return QFontMetricsF(f, &device_).height(); }

    // Captions when `cells` is null; a line break within a value stays a line break.
    QString cellText(const QStringList* cells, size_t column) const
    {
        QString text = cells ? cells->value(qsizetype(column)) : sheet_.columns[column].caption;
        return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\n'), QChar::LineSeparator);
    }
    // Most cells hold one short line: drawn directly, without laying out a paragraph.
    bool oneLine(const QString& text, const QFontMetricsF& metrics, qreal width) const
    {
        return !text.contains(QChar::LineSeparator) && metrics.horizontalAdvance(text) <= width;
    }

    qreal rowHeight(const QStringList* cells) const
    {
        const QFontMetricsF& metrics = cells ? bodyMetrics_ : boldMetrics_;
        qreal tallest = metrics.height();
        for (size_t c = 0; c < columnW_.size(); ++c) {
            const QString text = cellText(cells, c);
            const qreal width = columnW_[c] - 2 * pad_;
            if (!oneLine(text, metrics, width))
                tallest = std::max(tallest, WrappedText(text, cells ? bodyFont_ : boldFont_, width, &device_).height());
        }
        return tallest + 2 * pad_;
    }

    std::deque<WrappedText> wrappedCells(const QStringList& cells) const
    {
        std::deque<WrappedText> wrapped;
        for (size_t c = 0; c < columnW_.size(); ++c)
            wrapped.emplace_back(cellText(&cells, c), bodyFont_, columnW_[c] - 2 * pad_, &device_);
        return wrapped;
    }

    // A row taller than a page, placed a page at a time from where the list stands (`room` left on
    // this page, `roomForRows` on each page after it): on each page every cell shows as many of its
    // next lines as fit, so no line is cut and none is lost.
    template <typename Place, typename NewPage>
    void placeInParts(const Block& row, qreal room, qreal roomForRows, const Place& place, const NewPage& continueOnNewPage) const
    {
        const std::deque<WrappedText> cells = wrappedCells(*row.cells);
        std::vector<int> next(cells.size(), 0);
        const auto linesLeft = [&] {
            for (size_t c = 0; c < cells.size(); ++c) {
                if (next[c] < cells[c].lineCount())
                    return true;
            }
            return false;
        };
        bool freshPage = false;
        while (linesLeft()) {
            Block part{.kind = Block::Row, .cells = row.cells};
            qreal tallest = 0;
            for (size_t c = 0; c < cells.size(); ++c) {
                const int first = next[c];
                qreal used = 0;
                while (next[c] < cells[c].lineCount()) {
                    const qreal line = cells[c].lineHeight(next[c]);
                    // A line taller than a whole page still goes on one, so that the row moves on.
                    if (used + line + 2 * pad_ > room && !(freshPage && next[c] == first))
                        break;
                    used += line;
                    ++next[c];
                }
                part.lines.emplace_back(first, next[c]);
                tallest = std::max(tallest, used);
            }
            if (tallest > 0) {
                part.height = tallest + 2 * pad_;
                place(part);
            }
            if (linesLeft()) {
                continueOnNewPage();
                room = roomForRows;
                freshPage = true;
            }
        }
    }

    // A whole row, the column header (`cells` null), or the lines of a row's part on this page.
    void paintCells(QPainter& painter, qreal y, qreal h, const QStringList* cells, const LineRanges& lines = {}) const
    {
        const QFontMetricsF& metrics = cells ? bodyMetrics_ : boldMetrics_;
        painter.setFont(cells ? bodyFont_ : boldFont_);
        for (size_t c = 0; c < columnW_.size(); ++c) {
            const QString text = cellText(cells, c);
            drawn_ += text;
            const qreal width = columnW_[c] - 2 * pad_;
            const QPointF at(columnX_[c] + pad_, y + pad_);
            if (!lines.empty()) {
                WrappedText(text, bodyFont_, width, &device_).drawLines(painter, at, lines[c].first, lines[c].second);
            } else if (oneLine(text, metrics, width)) {
                const qreal indent = sheet_.columns[c].alignRight ? width - metrics.horizontalAdvance(text) : 0;
                painter.drawText(at + QPointF(indent, metrics.ascent()), text);
            } else {
                WrappedText(text, cells ? bodyFont_ : boldFont_, width, &device_).draw(painter, at);
            }
        }
        painter.setPen(QPen(kRuleColour, mm(0.2)));
        painter.drawLine(QPointF(0, y + h), QPointF(width_, y + h));
        painter.setPen(Qt::black);
    }

    void paintPageFrame(QPainter& painter, int number, int count, const QDateTime& printedAt) const
    {
        const qreal titleH = lineHeight(titleFont_);
        painter.setFont(titleFont_);
        drawText(painter, QRectF(0, 0, width_, titleH), Qt::AlignLeft | Qt::AlignVCenter, sheet_.title);
        painter.setFont(smallFont_);
        drawText(painter, QRectF(0, 0, width_, titleH), Qt::AlignRight | Qt::AlignVCenter,
                 QStringLiteral("印刷日時 ") + printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
        painter.setFont(bodyFont_);
        drawText(painter, QRectF(0, titleH, width_, lineHeight(bodyFont_)), Qt::AlignLeft | Qt::AlignVCenter,
                 sheet_.dateLine + QStringLiteral("　　対象: ") + sheet_.targetLine);
        const qreal rule = titleH + lineHeight(bodyFont_) + mm(1);
        painter.setPen(QPen(Qt::black, mm(0.3)));
        painter.drawLine(QPointF(0, rule), QPointF(width_, rule));
        painter.setPen(Qt::black);
        painter.setFont(smallFont_);
        drawText(painter, QRectF(0, height_ - lineHeight(smallFont_), width_, lineHeight(smallFont_)), Qt::AlignCenter,
                 QStringLiteral("%1 / %2").arg(number).arg(count));
    }

    // The slot grid of the time inquiry, drawn by its own painters and scaled to the page.
    void makeGrid(const SheetGrid& data)
    {
        grid_ = std::make_unique<FlexGrid>();
        grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        営業状色付::ShowBusinessStatus(grid_.get(), data.table, data.counts.Slots, data.holidays);
        予約状色付::PaintReservationCounts(grid_.get(), data.counts, std::vector<int>(data.table.Columns.size(), data.limit));
        grid_->resize(grid_->sizeHint());
        gridScale_ = std::min(width_ / grid_->width(), height_ * 0.5 / grid_->height());
    }
    qreal gridHeight() const { return grid_->height() * gridScale_; }

    void paintGrid(QPainter& painter, qreal y) const
    {
        painter.save();
        painter.translate(0, y);
        painter.scale(gridScale_, gridScale_);
        grid_->render(&painter);
        painter.restore();
    }

    const Sheet& sheet_;
    QPaintDevice& device_;
    QFont titleFont_ = font(15, true);
    QFont bodyFont_ = font(9);
    QFont boldFont_ = font(9, true);
    QFont smallFont_ = font(8);
    QFontMetricsF bodyMetrics_{bodyFont_, &device_};
    QFontMetricsF boldMetrics_{boldFont_, &device_};
    qreal width_ = 0;
    qreal height_ = 0;
    qreal pad_ = 0;
    qreal headerHeight_ = 0;
    qreal footerHeight_ = 0;
    std::vector<qreal> columnX_;
    std::vector<qreal> columnW_;
    std::unique_ptr<FlexGrid> grid_;
    qreal gridScale_ = 1;
    mutable QString drawn_;
};

} // namespace

QPageLayout::Orientation orientationOf(const Sheet& sheet)
{
    return sheet.kind == SheetKind::Week ? QPageLayout::Landscape : QPageLayout::Portrait;
}

namespace {

// Paints the pages; the texts drawn go to `drawn`.
bool paintPages(const Sheet& sheet, QPagedPaintDevice& device, const QDateTime& printedAt, QString* drawn)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const SheetLayout layout(sheet, device);
    const std::vector<Page> pages = layout.paginate();
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        layout.paintPage(painter, pages[i], int(i) + 1, int(pages.size()), printedAt);
    }
    *drawn = layout.drawnText();
    return painter.end();
}

} // namespace

bool paintSheet(const Sheet& sheet, QPagedPaintDevice& device, const QDateTime& printedAt)
{
    QString drawn;
    if (!paintPages(sheet, device, printedAt, &drawn))
        return false;
    // The print dialog's "print to file" writes a PDF too: made readable as drawn, in place.
    const auto* printer = dynamic_cast<QPrinter*>(&device);
    if (printer && printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        QFile written(printer->outputFileName());
        if (!written.open(QIODevice::ReadOnly))
            return true;
        const QByteArray pdf = readableAsDrawn(written.readAll(), drawn);
        written.close();
        QSaveFile file(printer->outputFileName());
        return file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size() && file.commit();
    }
    return true;
}

bool writePdf(const Sheet& sheet, const QString& path, const QDateTime& printedAt, QString* error)
{
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    QString drawn;
    {
        QPdfWriter writer(&written);
        writer.setResolution(300);
        writer.setTitle(sheet.title);
        writer.setCreator(QStringLiteral("Kelvora"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientationOf(sheet),
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        if (!paintPages(sheet, writer, printedAt, &drawn)) {
            *error = QStringLiteral("PDFを作成できません");
            return false;
        }
    }
    const QByteArray pdf = readableAsDrawn(written.data(), drawn);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace sheets
