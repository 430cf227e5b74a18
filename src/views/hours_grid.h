#pragma once

#include "records/hours.h"

class FlexGrid;

// Module Grid時間帯: the list of stored bands of business hours that the hours forms show, one
// grid row per band of the target (regular hours, the hours of one day of the daily cycle, or
// those of one date), and the first band that starts before the one above it has ended.
namespace Grid時間帯 {

struct HoursGridFill {
    int OverlapFlag = 0; // 1: a band starts before the band above it ends
    int LastRow = 0;     // last grid row written, 0 when none
    int OverlapRow = 0;  // the first such band's row
};

// Writes the key's bands into rows 1, 2, .. of the grid: row number, start (right-aligned),
// end, "休" for closed time, remark (left-aligned). The grid grows when it has too few rows.
// With daily hours and day 0, the key's day becomes the first day of the target's cycle that has
// bands, and those are the ones written.
HoursGridFill FillHoursGrid(const store::Database& db, FlexGrid* grid, records::HoursKey& key);

} // namespace Grid時間帯
