#include "sheets/sheet_painter.h"

#include "ui/flex_grid.h"
#include "views/business_status.h"
#include "views/reservation_status.h"

#include <QFont>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
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
    return f;
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
    void draw(QPainter& painter, const QPointF& at) const { layout_.draw(&painter, at); }

private:
    QTextLayout layout_;
    qreal height_ = 0;
};

// One thing placed on a page, top at `y` of the page's body.
struct Block {
    enum Kind { Grid, Picture, Heading, ColumnHeader, Row, Summary } kind;
    QString text{};                     // of a heading or the summary
    const QStringList* cells = nullptr; // of a row
    qreal height = 0;
    qreal y = 0;
    QString aside{}; // right of a heading: the section's count
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
            for (const Block& row : rows) {
                if (!fits(row.height)) {
                    newPage();
                    if (heading.height > 0)
                        place({.kind = Block::Heading, .text = title + QStringLiteral("（続き）"), .height = heading.height});
                    place(header);
                }
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

    void paintPage(QPainter& painter, const Page& page, int number, int count, const QDateTime& printedAt) const
    {
        paintPageFrame(painter, number, count, printedAt);
        for (const Block& block : page) {
            switch (block.kind) {
            case Block::Grid: paintGrid(painter, block.y); break;
            case Block::Picture: sheet_.picture(painter, QRectF(0, block.y, width_, block.height - mm(3))); break;
            case Block::Heading:
                painter.setFont(boldFont_);
                painter.drawText(QRectF(0, block.y, width_, block.height), Qt::AlignVCenter | Qt::AlignLeft, block.text);
                painter.drawText(QRectF(0, block.y, width_, block.height), Qt::AlignVCenter | Qt::AlignRight, block.aside);
                break;
            case Block::Summary:
                painter.setFont(boldFont_);
                painter.drawText(QRectF(0, block.y, width_, block.height), Qt::AlignVCenter | Qt::AlignRight, block.text);
                break;
            case Block::ColumnHeader:
                painter.fillRect(QRectF(0, block.y, width_, block.height), kHeaderFill);
                paintCells(painter, block.y, block.height, nullptr);
                break;
            case Block::Row: paintCells(painter, block.y, block.height, block.cells); break;
            }
        }
    }

private:
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

    void paintCells(QPainter& painter, qreal y, qreal h, const QStringList* cells) const
    {
        const QFontMetricsF& metrics = cells ? bodyMetrics_ : boldMetrics_;
        painter.setFont(cells ? bodyFont_ : boldFont_);
        for (size_t c = 0; c < columnW_.size(); ++c) {
            const QString text = cellText(cells, c);
            const qreal width = columnW_[c] - 2 * pad_;
            const QPointF at(columnX_[c] + pad_, y + pad_);
            if (oneLine(text, metrics, width)) {
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
        painter.drawText(QRectF(0, 0, width_, titleH), Qt::AlignLeft | Qt::AlignVCenter, sheet_.title);
        painter.setFont(smallFont_);
        painter.drawText(QRectF(0, 0, width_, titleH), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("印刷日時 ") + printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
        painter.setFont(bodyFont_);
        painter.drawText(QRectF(0, titleH, width_, lineHeight(bodyFont_)), Qt::AlignLeft | Qt::AlignVCenter,
                         sheet_.dateLine + QStringLiteral("　　対象: ") + sheet_.targetLine);
        const qreal rule = titleH + lineHeight(bodyFont_) + mm(1);
        painter.setPen(QPen(Qt::black, mm(0.3)));
        painter.drawLine(QPointF(0, rule), QPointF(width_, rule));
        painter.setPen(Qt::black);
        painter.setFont(smallFont_);
        painter.drawText(QRectF(0, height_ - lineHeight(smallFont_), width_, lineHeight(smallFont_)), Qt::AlignCenter,
                         QStringLiteral("%1 / %2").arg(number).arg(count));
    }

    // The slot grid of the time inquiry, drawn by its own painters and scaled to the page.
    void makeGrid(const SheetGrid& data)
    {
        grid_ = std::make_unique<FlexGrid>();
        grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        営業状色付::ShowBusinessStatus(grid_.get(), data.table, data.counts.Slots);
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
};

} // namespace

QPageLayout::Orientation orientationOf(const Sheet& sheet)
{
    return sheet.kind == SheetKind::Week ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool paintSheet(const Sheet& sheet, QPagedPaintDevice& device, const QDateTime& printedAt)
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
    return painter.end();
}

bool writePdf(const Sheet& sheet, const QString& path, const QDateTime& printedAt, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setTitle(sheet.title);
        writer.setCreator(QStringLiteral("Kelvora"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientationOf(sheet),
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        if (!paintSheet(sheet, writer, printedAt)) {
            *error = QStringLiteral("PDFを作成できません");
            return false;
        }
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace sheets
