#include "views/target_list.h"

#include "ui/flex_grid.h"

#include <QComboBox>

namespace CMB対象 {

namespace {

// Every target from "00000" on, in number order.
std::vector<records::Target> listedTargets(const store::Database& db)
{
    std::vector<records::Target> listed;
    for (records::Target& target : records::listTargets(db)) {
        if (target.number >= records::kCommonTarget)
            listed.push_back(std::move(target));
    }
    return listed;
}

} // namespace

void FillTargetCombo(const store::Database& db, QComboBox* combo)
{
    combo->clear();
    for (const records::Target& target : listedTargets(db))
        combo->addItem(target.abbrev);
}

TargetList LoadTargetList(const store::Database& db)
{
    TargetList list;
    for (const records::Target& target : listedTargets(db)) {
        if (target.number == records::kCommonTarget)
            continue;
        if (list.numbers.size() == kMaxTargets)
            break;
        list.numbers << target.number;
        list.abbrevs << target.abbrev;
    }
    return list;
}

int FillTargetRows(const store::Database& db, FlexGrid* grid)
{
    int row = 1;
    for (const records::Target& target : listedTargets(db)) {
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

std::optional<records::Target> FindTargetByAbbrev(const store::Database& db, const QString& abbrev)
{
    return records::findTargetByAbbrev(db, abbrev);
}

} // namespace CMB対象
