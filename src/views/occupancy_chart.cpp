#include "views/occupancy_chart.h"

#include "base/input.h"
#include "base/weekdays.h"
#include "ui/palette.h"
#include "views/reservation_status.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <map>

namespace occupancy_chart {

namespace {

using occupancy::Occupancy;

// Below this many points a figure cannot be read, and is left out.
constexpr qreal kSmallestPoints = 5;

// One colour a month, in order.
const QColor kMonthColours[] = {QColor(70, 130, 180), QColor(230, 145, 56),  QColor(84, 160, 84),   QColor(129, 114, 179),
                                QColor(147, 120, 96), QColor(218, 139, 195), QColor(140, 140, 140), QColor(188, 189, 34),
                                QColor(23, 190, 207), QColor(31, 60, 120),   QColor(230, 200, 60),  QColor(60, 150, 140)};
const QColor kRuleColour(200, 200, 200);

// The colour of a full slot in the slot grids: 100 % here.
QColor fullColour()
{
    return 予約状色付::CountColour(1, 1);
}

// Device pixels of one point on the painter's device.
qreal pointSize(const QPainter& painter)
{
    return painter.device()->logicalDpiY() / 72.0;
}

QFont fontOf(const QPainter& painter, qreal pixels, bool bold = false)
{
    QFont font = painter.font();
    font.setBold(bold);
    font.setPixelSize(std::max(1, int(std::floor(pixels))));
    return font;
}

QColor mix(const QColor& from, const QColor& to, qreal share)
{
    const qreal s = std::clamp(share, 0.0, 1.0);
    const auto channel = [s](float start, float end) { return float(start + (end - start) * s); };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()), channel(from.blueF(), to.blueF()));
}

QString figureText(double rate)
{
    return QString::number(rate, 'f', 1);
}

void sayNothingToShow(QPainter& painter, const QRectF& area)
{
    painter.setFont(fontOf(painter, 9 * pointSize(painter)));
    painter.setPen(Qt::darkGray);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("集計結果がありません"));
}

// A step between the scale's marks that gives about five of them.
int scaleStep(int top)
{
    for (const int step : {10, 20, 25, 50, 100, 200, 250, 500})
        if (top / step <= 6)
            return step;
    return 1000;
}

// The legend of the months, flowing over as many lines as it needs; returns its height.
qreal drawLegend(QPainter& painter, const QRectF& area, const std::vector<QDate>& months, bool draw)
{
    const QFont font = fontOf(painter, 8 * pointSize(painter));
    const QFontMetricsF metrics(font, painter.device());
    const qreal swatch = metrics.ascent() * 0.8;
    const qreal gap = metrics.horizontalAdvance(QStringLiteral("　"));
    qreal x = area.left();
    qreal y = area.top();
    painter.setFont(font);
    for (size_t i = 0; i < months.size(); ++i) {
        const QString text = input::monthText(months[i]);
        const qreal width = swatch + gap / 3 + metrics.horizontalAdvance(text) + gap;
        if (x > area.left() && x + width > area.right()) {
            x = area.left();
            y += metrics.height();
        }
        if (draw) {
            const QRectF box(x, y + (metrics.height() - swatch) / 2, swatch, swatch);
            painter.fillRect(box, kMonthColours[i % std::size(kMonthColours)]);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(box.right() + gap / 3, y + metrics.ascent()), text);
        }
        x += width;
    }
    return y + metrics.height() - area.top();
}

} // namespace

void DrawRateChart(QPainter& painter, const QRectF& area, const Occupancy& occupancy)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    // One group of bars a target, one place in the group a month of the period.
    const std::vector<QDate> months = occupancy.months();
    std::vector<QString> labels;
    std::vector<std::vector<std::optional<double>>> rates;
    std::vector<std::vector<bool>> counted;
    std::map<QString, size_t> groupOf;
    double highest = 0;
    for (const occupancy::TargetMonth& row : occupancy.rows) {
        auto [group, added] = groupOf.try_emplace(row.target, labels.size());
        if (added) {
            labels.push_back(row.abbrev.isEmpty() ? row.target : row.abbrev);
            rates.emplace_back(months.size());
            counted.emplace_back(months.size(), false);
        }
        const size_t slot = size_t((row.month.year() - occupancy.first.year()) * 12 + row.month.month() - occupancy.first.month());
        if (slot >= months.size())
            continue;
        rates[group->second][slot] = row.figures.rate();
        counted[group->second][slot] = true;
        highest = std::max(highest, row.figures.rate().value_or(0));
    }
    if (labels.empty()) {
        sayNothingToShow(painter, area);
        painter.restore();
        return;
    }

    const qreal pt = pointSize(painter);
    const qreal pad = 4 * pt;
    QRectF plot = area.adjusted(pad, pad, -pad, -pad);
    if (months.size() > 1)
        plot.setTop(plot.top() + drawLegend(painter, plot, months, true) + pad);

    const QFont smallFont = fontOf(painter, 8 * pt);
    const QFontMetricsF small(smallFont, painter.device());
    plot.setBottom(plot.bottom() - small.height() - pad / 2); // the scale below the bars
    const qreal band = plot.height() / qreal(labels.size());
    const qreal labelPixels = std::min(9 * pt, band * 0.8);
    const bool showLabels = labelPixels >= kSmallestPoints * pt;
    const QFont labelFont = fontOf(painter, labelPixels);
    const QFontMetricsF labelMetrics(labelFont, painter.device());
    qreal labelWidth = 0;
    if (showLabels) {
        for (const QString& label : labels)
            labelWidth = std::max(labelWidth, labelMetrics.horizontalAdvance(label));
        labelWidth = std::min(labelWidth + pad, plot.width() * 0.3);
    }
    // Bars no thicker than a line of text or two: a few targets do not make slabs of them.
    const qreal barThickness = std::min(band * 0.8 / qreal(months.size()), 14 * pt);
    const qreal figurePixels = std::min(8 * pt, barThickness * 0.9);
    const bool showFigures = figurePixels >= kSmallestPoints * pt;
    const QFont figureFont = fontOf(painter, figurePixels);
    const QFontMetricsF figureMetrics(figureFont, painter.device());
    const qreal figureRoom = showFigures ? figureMetrics.horizontalAdvance(QStringLiteral("000.0%")) + pad / 2 : 0;
    const QRectF bars(plot.left() + labelWidth, plot.top(), std::max(plot.width() - labelWidth - figureRoom, 1.0), plot.height());

    const int top = std::max(100, int(std::ceil(highest / 20.0)) * 20);
    const int step = scaleStep(top);
    const int scaleTop = (top + step - 1) / step * step;
    const auto xOf = [&](double rate) { return bars.left() + bars.width() * std::clamp(rate, 0.0, double(scaleTop)) / scaleTop; };

    // The scale: a mark, a rule and a figure at every step.
    painter.setFont(smallFont);
    for (int mark = 0; mark <= scaleTop; mark += step) {
        const qreal x = xOf(mark);
        painter.setPen(QPen(kRuleColour, std::max(pt * 0.3, 1.0)));
        painter.drawLine(QPointF(x, bars.top()), QPointF(x, bars.bottom()));
        painter.setPen(Qt::black);
        const QString text = QString::number(mark) + QLatin1Char('%');
        const qreal w = small.horizontalAdvance(text);
        painter.drawText(QPointF(std::clamp(x - w / 2, area.left(), area.right() - w), bars.bottom() + pad / 2 + small.ascent()), text);
    }

    for (size_t g = 0; g < labels.size(); ++g) {
        const qreal groupTop = bars.top() + band * qreal(g);
        if (showLabels) {
            painter.setFont(labelFont);
            painter.setPen(Qt::black);
            const QString label = labelMetrics.elidedText(labels[g], Qt::ElideRight, labelWidth - pad / 2);
            painter.drawText(QRectF(plot.left(), groupTop, labelWidth - pad / 2, band), Qt::AlignVCenter | Qt::AlignRight, label);
        }
        for (size_t m = 0; m < months.size(); ++m) {
            if (!counted[g][m])
                continue;
            const qreal groupBars = barThickness * qreal(months.size());
            const QRectF slot(bars.left(), groupTop + (band - groupBars) / 2 + barThickness * qreal(m), 0, barThickness);
            const std::optional<double>& rate = rates[g][m];
            const qreal end = xOf(rate.value_or(0));
            painter.fillRect(QRectF(slot.topLeft(), QPointF(end, slot.bottom())), kMonthColours[m % std::size(kMonthColours)]);
            if (showFigures) {
                painter.setFont(figureFont);
                painter.setPen(Qt::black);
                painter.drawText(QRectF(end + pad / 4, slot.top(), figureRoom + bars.right() - end, slot.height()),
                                 Qt::AlignVCenter | Qt::AlignLeft, occupancy::RateText(rate));
            }
        }
    }

    // The line of a full target, over the bars.
    const qreal full = xOf(100);
    painter.setPen(QPen(fullColour(), std::max(pt * 0.8, 1.5), Qt::DashLine));
    painter.drawLine(QPointF(full, bars.top()), QPointF(full, bars.bottom()));
    painter.setPen(QPen(Qt::black, std::max(pt * 0.4, 1.0)));
    painter.drawLine(bars.bottomLeft(), bars.bottomRight());
    painter.drawLine(bars.topLeft(), bars.bottomLeft());
    painter.restore();
}

void DrawHeatMap(QPainter& painter, const QRectF& area, const Occupancy& occupancy)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    if (occupancy.rows.empty()) {
        sayNothingToShow(painter, area);
        painter.restore();
        return;
    }
    const qreal pt = pointSize(painter);
    const qreal pad = 4 * pt;
    const QRectF plot = area.adjusted(pad, pad, -pad, -pad);
    const QFont smallFont = fontOf(painter, 8 * pt);
    const QFontMetricsF small(smallFont, painter.device());
    const int hours = occupancy.lastHour - occupancy.firstHour + 1;

    const qreal legendHeight = small.height() + pad;
    const qreal headerHeight = small.height() * 1.3;
    const qreal labelWidth = small.horizontalAdvance(QStringLiteral("日")) * 2.2;
    const qreal cellW = (plot.width() - labelWidth) / hours;
    const qreal cellH = (plot.height() - headerHeight - legendHeight) / 7;
    const QPointF origin(plot.left() + labelWidth, plot.top() + headerHeight);
    const qreal figurePixels = std::min({8 * pt, cellH * 0.5, cellW / 3.4});
    const bool showFigures = figurePixels >= kSmallestPoints * pt;
    const QFont figureFont = fontOf(painter, figurePixels);

    painter.setFont(smallFont);
    painter.setPen(Qt::black);
    for (int h = 0; h < hours; ++h) {
        painter.drawText(QRectF(origin.x() + cellW * h, plot.top(), cellW, headerHeight), Qt::AlignCenter,
                         QString::number(occupancy.firstHour + h));
    }
    for (int day = 0; day < 7; ++day) {
        painter.setFont(smallFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left(), origin.y() + cellH * day, labelWidth, cellH), Qt::AlignCenter, weekdays::name(day + 1));
        for (int h = 0; h < hours; ++h) {
            const occupancy::HourCell& cell = occupancy.byWeekdayHour[size_t(day)][size_t(occupancy.firstHour) + size_t(h)];
            const QRectF box(origin.x() + cellW * h, origin.y() + cellH * day, cellW, cellH);
            const std::optional<double> rate = cell.rate();
            const qreal share = rate ? std::min(*rate, 100.0) / 100.0 : 0;
            painter.fillRect(box, rate ? mix(Qt::white, fullColour(), share) : ui::offHoursColour());
            if (rate && showFigures) {
                painter.setFont(figureFont);
                // An hour nobody booked stays quiet, so that the booked ones stand out.
                painter.setPen(share > 0.55 ? Qt::white : *rate > 0 ? Qt::black : Qt::gray);
                painter.drawText(box, Qt::AlignCenter, figureText(*rate));
            }
        }
    }
    painter.setPen(QPen(kRuleColour, std::max(pt * 0.3, 1.0)));
    for (int h = 0; h <= hours; ++h)
        painter.drawLine(QPointF(origin.x() + cellW * h, origin.y()), QPointF(origin.x() + cellW * h, origin.y() + cellH * 7));
    for (int day = 0; day <= 7; ++day)
        painter.drawLine(QPointF(origin.x(), origin.y() + cellH * day), QPointF(origin.x() + cellW * hours, origin.y() + cellH * day));

    // The legend: the shades from 0 % to 100 % and over, and closed time.
    painter.setFont(smallFont);
    painter.setPen(Qt::black);
    const qreal y = plot.bottom() - small.height();
    qreal x = origin.x();
    const auto word = [&](const QString& text) {
        painter.drawText(QPointF(x, y + small.ascent()), text);
        x += small.horizontalAdvance(text) + pad / 2;
    };
    const qreal swatch = small.height() * 0.8;
    word(QStringLiteral("稼働率 0%"));
    const qreal swatchTop = y + (small.height() - swatch) / 2;
    for (int i = 0; i <= 10; ++i)
        painter.fillRect(QRectF(x + swatch * i, swatchTop, swatch, swatch), mix(Qt::white, fullColour(), i / 10.0));
    painter.setPen(QPen(kRuleColour, std::max(pt * 0.3, 1.0)));
    painter.drawRect(QRectF(x, swatchTop, swatch * 11, swatch));
    painter.setPen(Qt::black);
    x += swatch * 11 + pad / 2;
    word(QStringLiteral("100%以上"));
    x += pad;
    painter.fillRect(QRectF(x, y + (small.height() - swatch) / 2, swatch, swatch), ui::offHoursColour());
    x += swatch + pad / 2;
    word(QStringLiteral("営業時間外"));
    painter.restore();
}

} // namespace occupancy_chart
