#pragma once

#include <QStringList>
#include <vector>

class FlexGrid;

namespace ui {

// A list shown on a grid: the heading row, painted light yellow, over `rows` rows, the columns
// `widths` twips wide.
void headListGrid(FlexGrid* grid, int rows, const QStringList& headers, const std::vector<int>& widths);
// The width that shows every column of such a list, with room for the frame and a scroll bar.
int listGridWidth(const FlexGrid* grid, const std::vector<int>& widths);

} // namespace ui
