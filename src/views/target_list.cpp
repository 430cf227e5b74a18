#include "views/target_list.h"

#include "base/app_state.h"
#include "records/targets.h"
#include "ui/flex_grid.h"

#include <QComboBox>

namespace CMB対象 {

namespace {

// Every target in number order, from "00000" on, handing each number and abbreviation to `add`.
template <typename Add> void forEachTarget(Add add)
{
    for (const records::Target& target : records::listTargets(store::Database::open())) {
        if (target.number >= records::kCommonTarget && !add(target.number, target.abbrev))
            break;
    }
}

void fill(QComboBox* combo)
{
    TargetSelection& t = app().targets;
    t.TargetList.clear();
    t.TargetAbbrevList.clear();
    if (combo)
        combo->clear();
    forEachTarget([&](const QString& number, const QString& abbrev) {
        if (combo)
            combo->addItem(abbrev);
        if (number != QLatin1String("00000") && t.TargetList.size() < kMaxTargets) {
            t.TargetList << number;
            t.TargetAbbrevList << abbrev;
        }
        return combo || t.TargetList.size() < kMaxTargets;
    });
}

} // namespace

void FillTargetCombo(QComboBox* combo)
{
    fill(combo);
}

void FillTargetList()
{
    fill(nullptr);
}

int FillTargetRows(FlexGrid* grid)
{
    int row = 1;
    forEachTarget([&](const QString& number, const QString& abbrev) {
        grid->setRow(row);
        grid->setCol(0);
        grid->setText(number);
        grid->setCol(1);
        grid->setCellAlignment(FlexGrid::LeftCenter);
        grid->setText(abbrev);
        ++row;
        return row <= kMaxTargets;
    });
    return row;
}

void FindTargetByAbbrev(const QString& abbrev)
{
    const std::optional<records::Target> found = records::findTargetByAbbrev(store::Database::open(), abbrev);
    TargetSelection& t = app().targets;
    if (!found) {
        t.CurrentTarget = records::kCommonTarget;
        return;
    }
    t.CurrentTarget = found->number;
    t.CurrentTargetAbbrev = found->abbrev;
    t.CurrentTargetName = found->name;
}

} // namespace CMB対象
