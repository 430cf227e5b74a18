#pragma once

#include "records/targets.h"

#include <QString>
#include <QStringList>
#include <optional>

class FlexGrid;
class QComboBox;

// Module CMB対象: fills the target combo boxes and grids of the forms, loads the target list that
// the by-day views use as columns, and finds a target by its abbreviation. The combos list every
// target, the common "00000" included, in number order; the target list leaves "00000" out and
// holds at most kMaxTargets entries.
namespace CMB対象 {

constexpr int kMaxTargets = 100;

// The columns of a by-day view: target numbers and their abbreviations, same positions.
struct TargetList {
    QStringList numbers;
    QStringList abbrevs;
};

// Clears the combo, then adds every target's abbreviation.
void FillTargetCombo(const store::Database& db, QComboBox* combo);
// Writes the targets from row 1 of a grid (number in column 0, abbreviation left-aligned in
// column 1), at most 100 rows; returns one past the last row written (1 when none).
int FillTargetRows(const store::Database& db, FlexGrid* grid);
// The target with this abbreviation.
std::optional<records::Target> FindTargetByAbbrev(const store::Database& db, const QString& abbrev);
TargetList LoadTargetList(const store::Database& db);

} // namespace CMB対象
