#pragma once

class FlexGrid;
class QWidget;

namespace ui {

// Sizes a window around the grid it is built on: the grid grows no larger than all its cells (with
// room for its scroll bars), and the window takes the size its contents ask for, as far as the
// screen has room; beyond that the grid scrolls, its fixed rows and columns in place.
void fitWindowToGrid(QWidget* window, FlexGrid* grid);

} // namespace ui
