// The target lists other forms are filled from.

#include "rules/overlap_settings.h"
#include "support/fixture.h"
#include "ui/flex_grid.h"
#include "views/target_list.h"

#include <QComboBox>

namespace {

class TargetListTest : public DatabaseTest {
protected:
    void addTarget(int number)
    {
        const QString n = QString::number(number).rightJustified(5, '0');
        insert("設定", {{"設定_番号", n}, {"設定_名称", "名称" + n}, {"設定_略称", "略" + n}});
    }
};

TEST_F(TargetListTest, TheComboListsEveryTargetAndTheListLeavesTheCommonOneOut)
{
    addTarget(2);
    addTarget(0);
    addTarget(1);
    QComboBox combo;
    CMB対象::FillTargetCombo(db(), &combo);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), "略00000");
    EXPECT_EQ(combo.itemText(2), "略00002");
    const CMB対象::TargetList list = CMB対象::LoadTargetList(db());
    EXPECT_EQ(list.numbers, (QStringList{"00001", "00002"}));
    EXPECT_EQ(list.abbrevs, (QStringList{"略00001", "略00002"}));
}

TEST_F(TargetListTest, AtMostAHundredTargetsInTheListAndInAGrid)
{
    for (int n = 0; n <= 102; ++n)
        addTarget(n);
    const CMB対象::TargetList list = CMB対象::LoadTargetList(db());
    EXPECT_EQ(list.numbers.size(), 100);
    EXPECT_EQ(list.numbers.last(), "00100");
    EXPECT_EQ(list.abbrevs.size(), 100);

    FlexGrid grid;
    grid.setRows(101);
    grid.setCols(2);
    EXPECT_EQ(CMB対象::FillTargetRows(db(), &grid), 101);
    EXPECT_EQ(grid.text(1, 0), "00000");
    EXPECT_EQ(grid.text(100, 0), "00099");
    EXPECT_EQ(grid.text(100, 1), "略00099");
}

TEST_F(TargetListTest, FindingByAbbreviationGivesTheWholeTargetOrNothing)
{
    addTarget(4);
    const std::optional<records::Target> found = CMB対象::FindTargetByAbbrev(db(), "略00004");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->number, "00004");
    EXPECT_EQ(found->name, "名称00004");
    EXPECT_EQ(CMB対象::FindTargetByAbbrev(db(), "無い略称"), std::nullopt);
}

TEST_F(TargetListTest, OverlapComesFromTheTargetElseTheCommonRecordElseNothing)
{
    const auto overlapOf00001 = [this] {
        const 基本設定::Overlap overlap = 基本設定::LoadOverlapSettings(db(), "00001");
        return std::pair{overlap.allowed, overlap.limit};
    };
    EXPECT_EQ(overlapOf00001(), (std::pair{false, 0}));
    insert("基本", {{"基本_番号", "00000"}, {"基本_重複", 1}, {"基本_重複数", 2}});
    EXPECT_EQ(overlapOf00001(), (std::pair{true, 2}));
    insert("基本", {{"基本_番号", "00001"}, {"基本_重複", 0}, {"基本_重複数", 0}});
    EXPECT_EQ(overlapOf00001(), (std::pair{false, 0}));
}

} // namespace
