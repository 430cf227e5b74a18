#pragma once

#include "rules/occupancy.h"
#include "rules/sheet_data.h"

#include <functional>

// 稼働状況 as a sheet, for the page and the CSV file: the table of the targets' months and its total,
// under the chart of the rates or the heat map of the weekdays and hours.
namespace sheets {

enum class OccupancyPicture { RateChart, HeatMap };

Sheet occupancySheet(const occupancy::Occupancy& figures, OccupancyPicture picture);
// The picture alone, for the window: the same function draws it on the page.
std::function<void(QPainter&, const QRectF&)> occupancyPicture(const occupancy::Occupancy& figures, OccupancyPicture picture);

} // namespace sheets
