#pragma once

#include "rules/holidays_in_force.h"
#include "rules/slot_types.h"

#include <QString>
#include <optional>
#include <vector>

class FlexGrid;

// Module 営業状色付: lays out a slot grid and paints the closed time of every row. Rows 0 and 1
// hold the hour and the minute mark of each slot column; from row 2 on, each row shows one
// time-table column (a date, or a target in the inquiry by day), labelled in column 0 (today's date
// framed). A slot is painted closed when it holds no open time of its day
// (時間TBL::DayHours::closedSlots(), the rule the booking's question follows too): before the first
// open band, after the last one, a break, a closed band, a closed day. Open time keeps the grid's
// own background.
namespace 営業状色付 {

constexpr int kFirstDataRow = 2;
constexpr int kLabelColumnWidth = 1200; // twips, at least
constexpr int kMinimumRows = 9;

// The grid row of time-table column `column` (0-based), and the time-table column shown in a
// grid row, if any.
inline int GridRowOf(int column)
{
    return column + kFirstDataRow;
}
std::optional<int> TimeTableColumnAt(const TimeTable& table, int gridRow);

// Lays out the grid for the time table's columns and the day's slots, and paints closed time in the
// colour of closed time (ui::offHoursColour()). A date row of a holiday names it in its label.
void ShowBusinessStatus(FlexGrid* grid, const TimeTable& table, const SlotTimes& daySlots,
                        const national_holidays::HolidayNames& holidays = {});
void LayoutStatusGrid(FlexGrid* grid, const TimeTable& table, const SlotTimes& daySlots,
                      const national_holidays::HolidayNames& holidays = {});
void ColourStatusGrid(FlexGrid* grid, const TimeTable& table, const SlotTimes& daySlots);
// The closed time of the grid row of one time-table column (0-based).
void ColourStatusRow(FlexGrid* grid, const TimeTable& table, int column, const SlotTimes& daySlots);
// Paints the slots of a grid row that `closed` says are closed (slot k in column k + 1).
void PaintClosedSlots(FlexGrid* grid, int gridRow, const std::vector<bool>& closed);

// Width of a slot column in twips: an hour of minute daySlots is 1440 twips wide.
int SlotColumnWidth(const SlotTimes& daySlots);
// "4/8(土)", "7/20(月・海の日)": the label of a date row.
QString DateLabel(const QDate& date, const QString& holiday = {});
// "2026/07/20(月・海の日)": the title of a grid of one day.
QString DayTitle(const QDate& date, const QString& holiday);

} // namespace 営業状色付
