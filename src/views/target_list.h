#pragma once

#include <QString>

class FlexGrid;
class QComboBox;

// Module CMB対象: fills the target combo boxes and grids of the forms, keeps the process-wide
// target list (TargetList, TargetAbbrevList) that the by-day views use as columns, and finds a
// target by its abbreviation. The combos list every target, the common "00000" included, in
// number order; the target list leaves "00000" out and holds at most kMaxTargets entries.
namespace CMB対象 {

constexpr int kMaxTargets = 100;

// Clears the combo and the target list, then adds every target's abbreviation to the combo and
// every target but "00000" to the target list.
void FillTargetCombo(QComboBox* combo);
// Writes the targets from row 1 of a grid (number in column 0, abbreviation left-aligned in
// column 1), at most 100 rows; returns one past the last row written (1 when none).
int FillTargetRows(FlexGrid* grid);
// Makes the target with this abbreviation current (number, name and abbreviation); when none
// has it, the current target becomes "00000" and the name and abbreviation stay as they were.
void FindTargetByAbbrev(const QString& abbrev);
// The target list alone, without a combo.
void FillTargetList();

} // namespace CMB対象
