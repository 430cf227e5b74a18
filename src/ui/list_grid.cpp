#include "ui/list_grid.h"

#include "ui/flex_grid.h"
#include "ui/palette.h"

namespace ui {

void headListGrid(FlexGrid* grid, int rows, const QStringList& headers, const std::vector<int>& widths)
{
    grid->startLayout(rows + 1, int(headers.size()), 1, 0);
    grid->paintRow(0, 0, -1, qbColor(14));
    for (int col = 0; col < headers.size(); ++col) {
        grid->setTextMatrix(0, col, headers[col]);
        grid->setColWidth(col, widths[size_t(col)]);
    }
}

int listGridWidth(const FlexGrid* grid, const std::vector<int>& widths)
{
    int width = 2 * grid->frameWidth() + 24;
    for (const int column : widths)
        width += twips(column);
    return width;
}

} // namespace ui
