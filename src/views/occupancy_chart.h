#pragma once

#include "rules/occupancy.h"

class QPainter;
class QRectF;

// The pictures of 稼働状況, each drawn by one function into a painter and a rectangle, so that the
// window and the printed or PDF page show the same picture. Text sizes follow the painter's device
// (points), and shrink where the rectangle holds many targets or hours; a figure that would not be
// readable is left out rather than drawn over its neighbours.
namespace occupancy_chart {

// The rates as bars, one a target (the months of a target side by side, a legend naming them),
// each with its figure, and a line at 100 %: a bar past it was booked beyond its places.
void DrawRateChart(QPainter& painter, const QRectF& area, const occupancy::Occupancy& occupancy);

// Weekdays down, hours across: each cell the rate of that weekday and hour over the period, with
// its figure, shaded from white to the slot grid's colour of a full slot (reached at 100 %); an
// hour that was never open has the colour of closed time.
void DrawHeatMap(QPainter& painter, const QRectF& area, const occupancy::Occupancy& occupancy);

} // namespace occupancy_chart
