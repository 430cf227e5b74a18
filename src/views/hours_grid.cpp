#include "views/hours_grid.h"

#include "base/input.h"
#include "ui/flex_grid.h"

namespace Grid時間帯 {

HoursGridFill FillHoursGrid(const store::Database& db, FlexGrid* grid, records::HoursKey& key)
{
    HoursGridFill fill;
    if (key.kind == records::HoursKind::Daily && key.day == 0)
        key.day = records::firstDailyDay(db, key.target, key.dailyCycle).value_or(0);

    input::TimeOfDay previousEnd;
    int row = 0;
    for (const records::HoursBand& band : records::listBands(db, key)) {
        ++row;
        if (row >= grid->rows())
            grid->setRows(row + 1);
        grid->setTextMatrix(row, 0, QString::number(row));
        grid->setRow(row);
        grid->setCol(1);
        grid->setCellAlignment(FlexGrid::RightBottom);
        grid->setText(input::timeText(band.start));
        grid->setTextMatrix(row, 2, input::timeText(band.end));
        if (band.closed)
            grid->setTextMatrix(row, 3, QStringLiteral("休"));
        grid->setCol(4);
        grid->setCellAlignment(FlexGrid::LeftCenter);
        grid->setText(band.remark);

        if (fill.OverlapFlag == 0 && previousEnd > band.start) {
            fill.OverlapFlag = 1;
            fill.OverlapRow = row;
        }
        previousEnd = band.end;
        fill.LastRow = row;
    }
    return fill;
}

} // namespace Grid時間帯
