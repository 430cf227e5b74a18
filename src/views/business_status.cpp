#include "views/business_status.h"

#include "base/clock.h"
#include "base/input.h"
#include "base/weekdays.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "ui/flex_grid.h"
#include "ui/palette.h"

#include <QFontMetrics>

#include <algorithm>

namespace 営業状色付 {

namespace {

constexpr int kHourUnitColumnWidth = 720; // twips: room for the hour and a count
constexpr int kLabelFontSize = 9;
constexpr int kLabelPadding = 6; // pixels beside a label's text

void labelCell(FlexGrid* grid, int row, int col, int fontSize, int alignment, const QString& text)
{
    grid->setRow(row);
    grid->setCol(col);
    grid->setCellFontSize(fontSize);
    grid->setCellAlignment(alignment);
    grid->setText(text);
}

} // namespace

std::optional<int> TimeTableColumnAt(const TimeTable& table, int gridRow)
{
    const int column = gridRow - kFirstDataRow;
    if (column < 0 || column >= table.ColumnCount())
        return std::nullopt;
    return column;
}

void ShowBusinessStatus(FlexGrid* grid, const TimeTable& table, const SlotTimes& daySlots, const national_holidays::HolidayNames& holidays)
{
    LayoutStatusGrid(grid, table, daySlots, holidays);
    ColourStatusGrid(grid, table, daySlots);
}

void LayoutStatusGrid(FlexGrid* grid, const TimeTable& table, const SlotTimes& daySlots, const national_holidays::HolidayNames& holidays)
{
    grid->startLayout(std::max(table.ColumnCount() + kFirstDataRow, kMinimumRows), daySlots.count() + 1, kFirstDataRow, 1);
    grid->setColWidth(-1, SlotColumnWidth(daySlots));

    for (int slot = 0; slot < daySlots.count(); ++slot) {
        const int col = SlotTimes::column(slot);
        labelCell(grid, 0, col, 10, FlexGrid::CenterBottom, QString::number(daySlots.start(slot) / 60));
        labelCell(grid, 1, col, 7, FlexGrid::CenterBottom, QString::number(daySlots.start(slot) % 60));
    }
    grid->setMergeRow(0, true);

    // Counts read best centred in their slot.
    if (grid->rows() > kFirstDataRow && grid->cols() > 1) {
        grid->setRow(kFirstDataRow);
        grid->setCol(1);
        grid->setRowSel(grid->rows() - 1);
        grid->setColSel(grid->cols() - 1);
        grid->setCellAlignment(FlexGrid::CenterCenter);
    }

    // The label column is widened for long short names, so that no two rows look alike.
    QFont labelFont = grid->font();
    labelFont.setPointSize(kLabelFontSize);
    const QFontMetrics metrics(labelFont);
    int labelWidth = kLabelColumnWidth;
    const QDate today = appclock::today();
    for (int column = 0; column < table.ColumnCount(); ++column) {
        const TimeTableColumn& c = table.Columns[size_t(column)];
        const QString label = table.TargetColumns ? c.TargetAbbrev : DateLabel(c.ColumnDate, holidays.on(c.ColumnDate));
        labelCell(grid, GridRowOf(column), 0, kLabelFontSize, table.TargetColumns ? FlexGrid::LeftBottom : FlexGrid::RightBottom, label);
        grid->setCellFramed(!table.TargetColumns && c.ColumnDate == today);
        labelWidth = std::max(labelWidth, ui::twipsOfPixels(metrics.horizontalAdvance(label) + kLabelPadding));
    }
    grid->setColWidth(0, labelWidth);
    grid->setRow(0);
    grid->setCol(0);
}

void ColourStatusGrid(FlexGrid* grid, const TimeTable& table, const SlotTimes& daySlots)
{
    for (int column = 0; column < table.ColumnCount(); ++column)
        ColourStatusRow(grid, table, column, daySlots);
}

void ColourStatusRow(FlexGrid* grid, const TimeTable& table, int column, const SlotTimes& daySlots)
{
    PaintClosedSlots(grid, GridRowOf(column), 時間TBL::DayHoursOf(table, table.Columns[size_t(column)], daySlots).closedSlots());
}

void PaintClosedSlots(FlexGrid* grid, int gridRow, const std::vector<bool>& closed)
{
    if (gridRow >= grid->rows())
        return;
    // Runs of closed slots, each painted as one range.
    const int slotCount = std::min(int(closed.size()), grid->cols() - 1);
    for (int first = 0; first < slotCount; ++first) {
        int last = first;
        while (last < slotCount && closed[size_t(last)])
            ++last;
        if (last == first)
            continue;
        grid->paintRow(gridRow, SlotTimes::column(first), SlotTimes::column(last - 1), ui::offHoursColour());
        first = last;
    }
}

int SlotColumnWidth(const SlotTimes& daySlots)
{
    return daySlots.UnitMinutes < 60 ? 24 * daySlots.UnitMinutes : kHourUnitColumnWidth;
}

QString DateLabel(const QDate& date, const QString& holiday)
{
    return QStringLiteral("%1/%2(%3)").arg(date.month()).arg(date.day()).arg(weekdays::note(date, holiday));
}

QString DayTitle(const QDate& date, const QString& holiday)
{
    return QStringLiteral("%1(%2)").arg(input::dateText(date), weekdays::note(date, holiday));
}

} // namespace 営業状色付
