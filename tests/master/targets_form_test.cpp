// The target form: the grid of targets, row clicks, the checks, saving and deleting a target,
// and the forms it opens for the target in its boxes.

#include "app/menu.h"
#include "closures/individual_closures_form.h"
#include "master/basic_info_form.h"
#include "master/targets_form.h"
#include "support/fixture.h"
#include "ui/field_check.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/palette.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class TargetsFormTest : public DatabaseTest {
protected:
    void addTarget(const QString& number, const QString& remark = "")
    {
        insert("設定", {{"設定_番号", number}, {"設定_名称", "名称" + number}, {"設定_略称", "略" + number}, {"設定_備考", remark}});
    }
    void addReservation(const QString& target, const QString& date)
    {
        insert("予約", {{"予約_設定番号", target}, {"予約_年月日", date}, {"予約_開始時間", "10:00"}, {"予約_予約者NO", "-000001"}});
    }
    void open()
    {
        form = DatabaseTest::open<対象登>();
        grid = form->findChild<FlexGrid*>("対象登録");
    }

    QLineEdit* box(const QString& name) const { return form->findChild<QLineEdit*>(name); }
    void press(const QString& name)
    {
        clearMessages();
        form->findChild<QPushButton*>(name)->click();
    }
    void type(const QString& number, const QString& name, const QString& abbrev, const QString& remark = "")
    {
        box("対象番号")->setText(number);
        box("対象名称")->setText(name);
        box("対象略称")->setText(abbrev);
        box("備考")->setText(remark);
    }
    QStringList gridColumn(int col) const
    {
        QStringList texts;
        for (int row = 1; row < grid->rows() && !grid->text(row, 0).isEmpty(); ++row)
            texts << grid->text(row, col);
        return texts;
    }
    QStringList numbers() const
    {
        QStringList found;
        for (const QStringList& row : rows("設定", "Key_設定", {"設定_番号"}))
            found << row[0];
        return found;
    }
    bool rowIs(int row, int qbColour) const
    {
        for (int col = 0; col < 4; ++col) {
            if (grid->cellBackColor(row, col) != ui::qbColor(qbColour))
                return false;
        }
        return true;
    }

    対象登* form = nullptr;
    FlexGrid* grid = nullptr;
};

TEST_F(TargetsFormTest, TheGridListsTheTargetsInNumberOrder)
{
    addTarget("00002", "二階");
    addTarget("00000");
    addTarget("00001");
    open();
    EXPECT_EQ(form->windowTitle(), "予約対象登録");
    EXPECT_EQ(form->findChild<QGroupBox*>("Frame1")->title(), "特定情報登録");
    EXPECT_EQ(grid->rows(), 101);
    EXPECT_EQ(grid->cols(), 4);
    EXPECT_EQ(grid->fixedRows(), 1);
    EXPECT_EQ(grid->fixedCols(), 0);
    const QStringList headers = {"番号", "略称", "名称", "備考"};
    const QList<int> widths = {600, 1800, 3200, 2450};
    for (int col = 0; col < 4; ++col) {
        EXPECT_EQ(grid->text(0, col), headers[col]);
        EXPECT_EQ(grid->colWidth(col), widths[col]);
    }
    EXPECT_EQ(gridColumn(0), (QStringList{"00000", "00001", "00002"}));
    EXPECT_EQ(gridColumn(1), (QStringList{"略00000", "略00001", "略00002"}));
    EXPECT_EQ(gridColumn(2), (QStringList{"名称00000", "名称00001", "名称00002"}));
    EXPECT_EQ(gridColumn(3), (QStringList{"", "", "二階"}));
    grid->setRow(1);
    grid->setCol(1);
    EXPECT_EQ(grid->cellAlignment(), FlexGrid::LeftCenter);
}

TEST_F(TargetsFormTest, AtMostAHundredTargetsAreShown)
{
    for (int n = 1; n <= 102; ++n)
        addTarget(QString::number(n).rightJustified(5, '0'));
    open();
    EXPECT_EQ(gridColumn(0).size(), 100);
    EXPECT_EQ(grid->text(100, 0), "00100");
    grid->clickCell(100, 2);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(box("対象番号")->text(), "00100");
}

TEST_F(TargetsFormTest, ARowClickHighlightsTheRowAndFillsTheBoxes)
{
    addTarget("00001", "一階");
    addTarget("00002");
    open();
    grid->clickCell(1, 3);
    EXPECT_TRUE(rowIs(1, 10));
    EXPECT_EQ(box("対象番号")->text(), "00001");
    EXPECT_EQ(box("対象略称")->text(), "略00001");
    EXPECT_EQ(box("対象名称")->text(), "名称00001");
    EXPECT_EQ(box("備考")->text(), "一階");

    grid->clickCell(2, 0);
    EXPECT_TRUE(rowIs(1, 15));
    EXPECT_TRUE(rowIs(2, 10));
    EXPECT_EQ(box("対象番号")->text(), "00002");
    EXPECT_EQ(box("備考")->text(), "");

    // The header and the empty rows are outside the list.
    for (int row : {0, 3, 100}) {
        clearMessages();
        grid->clickCell(row, 1);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "指定対象が有効範囲外です｡ ");
        EXPECT_EQ(messages()[0].title, "予約対象登録");
        EXPECT_EQ(messages()[0].icon, msg::Icon::Exclamation);
        EXPECT_TRUE(rowIs(2, 10));
        EXPECT_EQ(box("対象番号")->text(), "00002");
    }
}

TEST_F(TargetsFormTest, SavingAddsOrChangesATargetAndRebuildsTheGrid)
{
    addTarget("00001");
    open();
    type("３", "第三会議室", "第三", "和室");
    press("確定");
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "予約対象は更新(登録)されました。"}));
    EXPECT_EQ(rows("設定", "Key_設定", {"設定_番号", "設定_名称", "設定_略称", "設定_備考"}).back(),
              (QStringList{"00003", "第三会議室", "第三", "和室"}));
    EXPECT_EQ(box("対象番号")->text(), "00003");
    EXPECT_EQ(gridColumn(0), (QStringList{"00001", "00003"}));

    grid->clickCell(1, 0);
    box("対象名称")->setText("新しい名称");
    press("確定");
    EXPECT_EQ(numbers(), (QStringList{"00001", "00003"}));
    EXPECT_EQ(grid->text(1, 2), "新しい名称");
    EXPECT_NE(grid->cellBackColor(1, 0), ui::qbColor(10));

    answer({false});
    type("4", "第四", "四");
    press("確定");
    EXPECT_EQ(numbers(), (QStringList{"00001", "00003"}));
}

TEST_F(TargetsFormTest, IncompleteOrWrongEntriesAreRefused)
{
    open();
    // The boxes as typed, and the message of the first failing check.
    const QList<std::pair<QStringList, QString>> cases = {
        {{"", "", ""}, "対象番号に入力してください"},
        {{"1", "", "略"}, "対象名称に入力してください"},
        {{"1", "名称", "　"}, "対象略称に入力してください"},
        {{"123456", "名称", "略"}, "対象番号は数字5桁以内で入力してください"},
        {{"12a", "名称", "略"}, "対象番号は数字5桁以内で入力してください"},
        {{"-1", "名称", "略"}, "対象番号は数字5桁以内で入力してください"},
    };
    for (const auto& [typed, message] : cases) {
        type(typed[0], typed[1], typed[2]);
        press("確定");
        ASSERT_EQ(messages().size(), 1u) << message.toStdString();
        EXPECT_EQ(messages()[0].text, message);
        EXPECT_EQ(messages()[0].title, "予約対象登録");
    }
    EXPECT_EQ(count("設定"), 0);

    type("", "", "");
    press("確定");
    for (const char* name : {"対象番号", "対象名称", "対象略称"})
        EXPECT_EQ(ui::textColourNumber(box(name)), 12) << name;
    EXPECT_EQ(form->firstInTabOrder(), box("対象番号"));
}

TEST_F(TargetsFormTest, LeavingAnEmptyBoxMarksItAndARowClickClearsTheMark)
{
    addTarget("00001");
    open();
    form->activateWindow();
    QApplication::setActiveWindow(form);
    box("対象名称")->setFocus();
    box("対象略称")->setFocus();
    EXPECT_EQ(ui::textColourNumber(box("対象名称")), 12);
    EXPECT_TRUE(messages().empty());
    grid->clickCell(1, 0);
    EXPECT_EQ(ui::textColourNumber(box("対象名称")), 0);
}

TEST_F(TargetsFormTest, DeletingAsksAboutReservationsFromTheWorkingDateOn)
{
    addTarget("00001");
    addTarget("00002");
    addReservation("00001", "2026/12/07");
    addReservation("00002", "2026/12/08");
    insert("基本", {{"基本_番号", "00002"}, {"基本_単位", "1"}, {"基本_設定", 30}});
    open();

    grid->clickCell(2, 0);
    answer({false});
    press("削除");
    EXPECT_EQ(messageTexts(), QStringList{"未来日に予約が存在します。対象を削除しますか？"});
    EXPECT_EQ(numbers(), (QStringList{"00001", "00002"}));
    EXPECT_EQ(count("基本"), 1);

    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"未来日に予約が存在します。対象を削除しますか？", "予約対象は削除されました。"}));
    EXPECT_EQ(numbers(), QStringList{"00001"});
    EXPECT_EQ(count("基本"), 0);
    EXPECT_EQ(count("予約"), 2);
    EXPECT_EQ(gridColumn(0), QStringList{"00001"});

    grid->clickCell(1, 0);
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を削除します。", "予約対象は削除されました。"}));
    EXPECT_TRUE(numbers().isEmpty());
}

TEST_F(TargetsFormTest, DeletingAnUnregisteredNumberSaysSoAndStillRemovesItsBasicRecord)
{
    insert("基本", {{"基本_番号", "00007"}, {"基本_単位", "1"}, {"基本_設定", 30}});
    addTarget("00001");
    open();
    type("7", "", "");
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を削除します。", "予約対象は登録されていません。"}));
    EXPECT_EQ(count("基本"), 0);
    EXPECT_EQ(numbers(), QStringList{"00001"});

    type("", "", "");
    press("削除");
    EXPECT_EQ(messageTexts(), QStringList{"対象番号に入力してください"});
}

TEST_F(TargetsFormTest, TheSelectedTargetIsHandedToTheFormsItOpens)
{
    addTarget("00001");
    addTarget("00002");
    open();
    grid->clickCell(2, 0);
    press("個別休業登録");
    ASSERT_NE(forms::find<個休業登録>(), nullptr);
    EXPECT_EQ(forms::find<個休業登録>()->findChild<QComboBox*>("対象略称")->currentText(), "略00002");
    EXPECT_EQ(forms::find<基本登>(), nullptr);

    grid->clickCell(1, 0);
    press("基本情報登録");
    基本登* basic = forms::find<基本登>();
    ASSERT_NE(basic, nullptr);
    EXPECT_TRUE(basic->isVisible());
    EXPECT_FALSE(basic->isModal());
    EXPECT_EQ(basic->findChild<QLineEdit*>("対象番号")->text(), "00001");
    EXPECT_EQ(basic->findChild<QLineEdit*>("対象名称")->text(), "名称00001");
    basic->close();
    flushDeletes();

    type("", "", "");
    press("基本情報登録");
    EXPECT_EQ(messageTexts(), QStringList{"対象番号に入力してください"});
    EXPECT_EQ(forms::find<基本登>(), nullptr);
}

TEST_F(DatabaseTest, TheMenuShowsTheTargetFormModeless)
{
    auto* menu = openMenu();
    menu->findChild<QPushButton*>("予約設定登録")->click();
    対象登* form = forms::find<対象登>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
}

} // namespace

namespace {

TEST_F(DatabaseTest, TheClosureButtonOpensTheClosureFormOnTheSelectedTarget)
{
    insert("設定", {{"設定_番号", "00001"}, {"設定_名称", "会議室A"}, {"設定_略称", "会議室A"}});
    insert("設定", {{"設定_番号", "00002"}, {"設定_名称", "会議室B"}, {"設定_略称", "会議室B"}});
    auto* targets = open<対象登>();
    targets->findChild<FlexGrid*>("対象登録")->clickCell(2, 0);
    targets->findChild<QPushButton*>("個別休業登録")->click();
    auto* closures = forms::find<個休業登録>();
    ASSERT_NE(closures, nullptr);
    EXPECT_EQ(closures->findChild<QComboBox*>("対象略称")->currentText(), "会議室B");

    // Opened already, the form follows the next target picked in the targets form.
    targets->findChild<FlexGrid*>("対象登録")->clickCell(1, 0);
    targets->findChild<QPushButton*>("個別休業登録")->click();
    EXPECT_EQ(forms::find<個休業登録>(), closures);
    EXPECT_EQ(closures->findChild<QComboBox*>("対象略称")->currentText(), "会議室A");
    closures->findChild<QLineEdit*>("設定日")->setText("2026/12/24");
    closures->findChild<QPushButton*>("確定")->click();
    EXPECT_EQ(rows("カレンダー", "Key_カレンダー", {"カレ_番号", "カレ_年月日"}), (std::vector<QStringList>{{"00001", "2026/12/24"}}));
}

} // namespace
