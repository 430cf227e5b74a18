#pragma once

#include "rules/overlap_settings.h"
#include "rules/slot_types.h"

#include <QColor>
#include <QStringList>
#include <vector>

class FlexGrid;

// Module 予約状色付: writes into every slot cell of a laid-out slot grid how many reservations
// cover it, and colours an occupied cell light cyan while the row's target can take more, light
// red once its overlap limit is reached. Each grid row is judged by the overlap setting of the
// target it stands for.
namespace 予約状色付 {

// Loads the overlap settings of the rows and paints the counts; returns the settings, entry 0 for
// the first data row, for the booking check.
std::vector<基本設定::Overlap> ColourReservationStatus(const store::Database& db, FlexGrid* grid, const TimeTable& table,
                                                       const SlotCounts& counts);

// One entry per target, in order.
std::vector<基本設定::Overlap> LoadGridListOverlap(const store::Database& db, const QStringList& targets, const 基本設定::Overlap& common);
// `rows` entries of the one target.
std::vector<基本設定::Overlap> LoadGridTargetOverlap(const store::Database& db, const QString& target, int rows,
                                                     const 基本設定::Overlap& common);

// Counts of time-table column i go to grid row i + 2, slot k to grid column k + 1; nothing is
// written outside the grid. `limits` holds the overlap limit of each row.
void PaintReservationCounts(FlexGrid* grid, const SlotCounts& counts, const std::vector<int>& limits);
// The counts of one time-table column (0-based) into its grid row, judged by the row's limit;
// a slot with entries of the waiting list (`waiting`, when given) is marked.
void PaintRowCounts(FlexGrid* grid, int column, const std::vector<int>& rowCounts, int limit, const std::vector<int>& waiting = {});

// The text of a slot count, "待" after it when customers wait for the slot.
QString CountText(int count, bool waiting = false);

// The background of a slot holding `count` reservations: white when empty, light cyan below the
// limit, light red at or above it.
QColor CountColour(int count, int limit);

} // namespace 予約状色付
