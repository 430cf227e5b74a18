#include "ui/grid_window.h"

#include "ui/flex_grid.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace ui {

void fitWindowToGrid(QWidget* window, FlexGrid* grid)
{
    // Measured with the style and font the window is shown with.
    window->ensurePolished();
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    const QSize scrollBars(scrollBar, scrollBar);
    grid->setMaximumSize(grid->sizeHint() + scrollBars);
    window->layout()->activate();
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    // Room for the window's frame and title bar, and for a task bar.
    const QSize room = screen->availableGeometry().size() - QSize(66, 88);
    // The grid's own size hint leaves out its scroll bars; the grid is the one part that grows.
    window->resize((window->sizeHint() + scrollBars).boundedTo(room));
}

} // namespace ui
