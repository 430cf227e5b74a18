#include "views/target_list.h"

#include "base/app_state.h"
#include "store/database.h"
#include "ui/flex_grid.h"

#include <QComboBox>

namespace CMB対象 {

namespace {

// Every target in number order, from "00000" on, handing each number and abbreviation to `add`.
template <typename Add> void forEachTarget(Add add)
{
    store::Table targets = store::Database::open().table("設定");
    targets.setIndex("Key_設定");
    targets.seek(">=", {"00000"});
    for (; !targets.eof() && !targets.noMatch(); targets.moveNext()) {
        if (!add(targets.text("設定_番号"), targets.text("設定_略称")))
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
    store::Table targets = store::Database::open().table("設定");
    targets.setIndex("Idx_設定略称");
    targets.seek("=", {abbrev});
    TargetSelection& t = app().targets;
    if (targets.noMatch()) {
        t.CurrentTarget = QStringLiteral("00000");
        return;
    }
    t.CurrentTarget = targets.text("設定_番号");
    t.CurrentTargetAbbrev = targets.text("設定_略称");
    t.CurrentTargetName = targets.text("設定_名称");
}

} // namespace CMB対象
