#pragma once

#include <QColor>

// Colours and measures as the forms name them: numbers of the classic 16-colour palette, and
// widths in twips (15 twips are one pixel at 96 dpi).
namespace ui {

// 0 black, 1 blue, 9 light blue, 10 light green, 11 light cyan, 12 light red, 14 light yellow,
// 15 bright white, and the others of the 16-colour palette.
QColor qbColor(int number);

// The background of closed time in slot grids.
inline QColor offHoursColour()
{
    return QColor(230, 255, 220);
}

// Pixels for a width in twips.
constexpr int twips(int twipsValue)
{
    return (twipsValue + 7) / 15;
}

// Twips for a width in pixels.
constexpr int twipsOfPixels(int pixels)
{
    return pixels * 15;
}

} // namespace ui
