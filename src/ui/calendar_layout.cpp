#include "ui/calendar_layout.h"

#include "ui/flex_grid.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace calendar_layout {

void styleStepButtons(QPushButton* previous, QPushButton* next)
{
    for (QPushButton* step : {previous, next}) {
        step->setToolTip(step->objectName());
        step->setFixedSize(32, 26);
    }
}

int boxWidth(const QLineEdit* box, int chars)
{
    return box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12;
}

void fitGrids(FlexGrid* calendar, FlexGrid* list)
{
    // Measured with the style and font the grids are shown with.
    calendar->ensurePolished();
    list->ensurePolished();
    calendar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendar->setFixedSize(calendar->sizeHint());
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list->setFixedWidth(list->sizeHint().width() + scrollBar);
    list->setMinimumHeight(calendar->sizeHint().height() * 2);
}

} // namespace calendar_layout
