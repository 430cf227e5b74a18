#include "sheets/occupancy_sheet.h"

#include "views/occupancy_chart.h"

#include <QSet>
#include <algorithm>
#include <memory>

namespace sheets {

namespace {

QString monthLine(const QDate& month)
{
    return QStringLiteral("%1年%2月").arg(month.year()).arg(month.month());
}

// The chart takes more of the page the more bars it holds.
double chartShare(const occupancy::Occupancy& figures)
{
    QSet<QString> targets;
    for (const occupancy::TargetMonth& row : figures.rows)
        targets.insert(row.target);
    const double bars = double(targets.size()) * (figures.months().size() > 1 ? 1.5 : 1.0);
    return std::clamp(0.1 + 0.04 * bars, 0.2, 0.6);
}

} // namespace

Sheet occupancySheet(const occupancy::Occupancy& figures, OccupancyPicture picture)
{
    Sheet sheet;
    sheet.kind = SheetKind::Occupancy;
    sheet.title = QStringLiteral("稼働状況");
    sheet.date = figures.first;
    sheet.dateLine = monthLine(figures.first);
    if (figures.last.addDays(1 - figures.last.day()) != figures.first)
        sheet.dateLine += QStringLiteral("～") + monthLine(figures.last);
    sheet.targetLine = figures.targetLine;
    const int shares[] = {3, 4, 5, 3, 3, 3, 3, 3};
    const QStringList captions = occupancy::TableCaptions();
    for (qsizetype i = 0; i < captions.size(); ++i)
        sheet.columns.push_back({captions[i], shares[i], i >= 3}); // the figures after number, name and month
    sheet.sections.push_back({{}, {}, {}, occupancy::TableRows(figures), {}});

    sheet.picture = occupancyPicture(figures, picture);
    sheet.pictureShare = picture == OccupancyPicture::HeatMap ? 0.3 : chartShare(figures);
    return sheet;
}

std::function<void(QPainter&, const QRectF&)> occupancyPicture(const occupancy::Occupancy& figures, OccupancyPicture picture)
{
    const auto shown = std::make_shared<const occupancy::Occupancy>(figures);
    if (picture == OccupancyPicture::HeatMap)
        return [shown](QPainter& painter, const QRectF& area) { occupancy_chart::DrawHeatMap(painter, area, *shown); };
    return [shown](QPainter& painter, const QRectF& area) { occupancy_chart::DrawRateChart(painter, area, *shown); };
}

} // namespace sheets
