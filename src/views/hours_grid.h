#pragma once

#include "store/database.h"

#include <QDate>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class FlexGrid;

// Module Grid時間帯: the list of stored bands of business hours that the hours forms show, one
// grid row per band of the target (regular hours, the hours of one day of the daily cycle, or
// those of one date), and the first band that starts before the one above it has ended.
namespace Grid時間帯 {

// Which bands: the kind (1 regular, 2 daily, 3 one date) and the key values of that kind.
struct HoursKey {
    int HoursFormKind = 0;
    QString Target;
    int DailyHoursKind = 1; // kind 2: 1 weekday numbers, 2 days of the month
    int HoursDay = 0;       // kind 2: the weekday number or day of month
    QDate SpecificDate;     // kind 3
};
// The key of the process-wide kind, target, daily cycle, day and date.
HoursKey CurrentKey();

// Where the bands of a key are stored: the table, its key index, the prefix of its field names
// and the key fields before the start time with their values.
struct HoursSource {
    QString table;
    QString index;
    QString prefix;
    std::vector<std::pair<QString, store::Value>> keyFields;

    // Seek values of the band starting at `start` ("00:00" for the first band).
    std::vector<store::Value> seekValues(const QString& start) const;
    // Whether the record under the cursor is one of the key's bands.
    bool holds(const store::Table& table) const;
};
// Nothing for a kind other than 1 to 3, or a date band without a valid date.
std::optional<HoursSource> SourceOf(const HoursKey& key);

struct HoursGridFill {
    int OverlapFlag = 0; // 1: a band starts before the band above it ends
    int LastRow = 0;     // last grid row written, 0 when none
    int OverlapRow = 0;  // the first such band's row
};

// Writes the key's bands into rows 1, 2, .. of the grid: row number, start (right-aligned),
// end, "休" for closed time, remark (left-aligned). The grid grows when it has too few rows.
// With kind 2 and day 0, the key's day becomes the first day of the target's cycle that has
// bands, and those are the ones written.
HoursGridFill FillHoursGrid(FlexGrid* grid, HoursKey& key);
// The same for the process-wide key, when HoursAction is 1 (a refresh); HoursDay 0 is replaced
// by the first day that has bands.
HoursGridFill FillHoursGrid(FlexGrid* grid);

} // namespace Grid時間帯
