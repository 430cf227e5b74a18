#include "views/target_list.h"

#include "ui/flex_grid.h"

#include <QComboBox>

namespace CMB対象 {

namespace {

// Every target from "00000" on, in number order.
std::vector<records::Target> listedTargets()
{
    std::vector<records::Target> listed;
    for (records::Target& target : records::listTargets(store::Database::open())) {
        if (target.number >= records::kCommonTarget)
            listed.push_back(std::move(target));
    }
    return listed;
}

} // namespace

void FillTargetCombo(QComboBox* combo)
{
    combo->clear();
    for (const records::Target& target : listedTargets())
        combo->addItem(target.abbrev);
}

TargetList LoadTargetList()
{
    TargetList list;
    for (const records::Target& target : listedTargets()) {
        if (target.number == records::kCommonTarget)
            continue;
        if (list.numbers.size() == kMaxTargets)
            break;
        list.numbers << target.number;
        list.abbrevs << target.abbrev;
    }
    return list;
}

int FillTargetRows(FlexGrid* grid)
{
    int row = 1;
    for (const records::Target& target : listedTargets()) {
        if (row > kMaxTargets)
            break;
        grid->setRow(row);
        grid->setCol(0);
        grid->setText(target.number);
        grid->setCol(1);
        grid->setCellAlignment(FlexGrid::LeftCenter);
        grid->setText(target.abbrev);
        ++row;
    }
    return row;
}

std::optional<records::Target> FindTargetByAbbrev(const QString& abbrev)
{
    return records::findTargetByAbbrev(store::Database::open(), abbrev);
}

} // namespace CMB対象
