// The individual closure days form: opening on a target, registering and deleting one date, the
// year and month boxes, and the calendar and list kept in step.

#include "app/menu.h"
#include "closure_fixture.h"
#include "closures/individual_closures_form.h"
#include "master/targets_form.h"
#include "ui/field_check.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class IndividualClosuresTest : public ClosureTest {
protected:
    void SetUp() override
    {
        ClosureTest::SetUp();
        addTarget("00001", "会議室A");
        addTarget("00002", "会議室B");
    }
    // Opens the form as the targets form does, on a target.
    個休業登録* openOn(const QString& number, const QString& abbrev)
    {
        個休業登録::openFor(desk(), {number, abbrev + "の名称", abbrev, QString()});
        form = forms::find<個休業登録>();
        return form;
    }
    // Chooses a target in the combo, as the operator does.
    void pickTarget(const QString& abbrev)
    {
        control<QComboBox>("対象略称")->setCurrentText(abbrev);
        form->対象略称_Click();
    }
    template <typename W> W* control(const QString& name) { return form->findChild<W*>(name); }
    QLineEdit* box(const QString& name) { return control<QLineEdit>(name); }
    FlexGrid* calendar() { return control<FlexGrid>("日付"); }
    FlexGrid* list() { return control<FlexGrid>("休業日"); }
    void press(const QString& name) { control<QPushButton>(name)->click(); }
    // Rows (1 to 6) and columns of the calendar cells with a light green background.
    QList<QPoint> highlightedDays()
    {
        QList<QPoint> cells;
        for (int row = 1; row < 7; ++row)
            for (int col = 0; col < 7; ++col)
                if (calendar()->cellBackColor(row, col) == colour(10))
                    cells << QPoint(col, row);
        return cells;
    }
    QList<int> highlightedListRows()
    {
        QList<int> found;
        for (int row = 1; row < list()->rows(); ++row)
            if (list()->cellBackColor(row, 0) == colour(10) && list()->cellBackColor(row, 3) == colour(10))
                found << row;
        return found;
    }

    個休業登録* form = nullptr;
};

TEST_F(IndividualClosuresTest, OpensOnTheMonthOfTodayAndTheTargetItWasHanded)
{
    openOn("00002", "会議室B");
    EXPECT_EQ(form->windowTitle(), "個別休業日登録");
    EXPECT_EQ(control<QComboBox>("対象略称")->currentText(), "会議室B");
    EXPECT_EQ(box("表示年")->text(), "2026");
    EXPECT_EQ(box("表示月")->text(), "12");
    EXPECT_EQ(calendar()->text(1, 2), "1"); // 2026/12/01 is a Tuesday
    EXPECT_TRUE(control<QRadioButton>("休日")->isChecked());
    EXPECT_EQ(control<QPushButton>("前月")->text(), "◀");
    EXPECT_EQ(control<QPushButton>("次月")->text(), "▶");
}

TEST_F(IndividualClosuresTest, FromTheMenuNothingIsWrittenUntilATargetIsChosen)
{
    openMenu()->個別休業日登録_Click();
    form = forms::find<個休業登録>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(control<QComboBox>("対象略称")->currentIndex(), -1);
    box("設定日")->setText("2026/12/24");
    press("確定");
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"対象略称を選択して下さい。", "対象略称を選択して下さい。"}));
    EXPECT_EQ(count("カレンダー"), 0);

    pickTarget("会議室A");
    press("確定");
    EXPECT_EQ(calendarRows(), (std::vector<QStringList>{{"00001", "2026/12/24", "1", ""}}));
}

TEST_F(IndividualClosuresTest, RegisterAndDeleteADayByClickingIt)
{
    openOn("00001", "会議室A");
    calendar()->clickCell(4, 4); // Thursday 2026/12/24
    EXPECT_EQ(box("設定日")->text(), "2026/12/24");
    box("休日名")->setText("棚卸");
    answer({false});
    press("確定");
    EXPECT_EQ(count("カレンダー"), 0) << "No writes nothing";

    press("確定");
    EXPECT_EQ(calendarRows(), (std::vector<QStringList>{{"00001", "2026/12/24", "1", "棚卸"}}));
    EXPECT_EQ(messageTexts().last(), "ｶﾚﾝﾀﾞｰの登録･更新を終了しました。");
    EXPECT_EQ(messages().back().title, "個別休業日登録");
    EXPECT_EQ(calendar()->cellForeColor(4, 4), colour(12));
    EXPECT_EQ(list()->text(1, 3), "棚卸");

    // Registering the same date again edits its row.
    control<QRadioButton>("勤務")->setChecked(true);
    press("確定");
    EXPECT_EQ(calendarRows(), (std::vector<QStringList>{{"00001", "2026/12/24", "0", "棚卸"}}));
    EXPECT_EQ(calendar()->cellForeColor(4, 4), colour(1));

    press("削除");
    EXPECT_EQ(messageTexts().last(), "ｶﾚﾝﾀﾞｰを削除しました。");
    EXPECT_EQ(count("カレンダー"), 0);
    EXPECT_EQ(list()->text(1, 0), "");
    press("削除");
    EXPECT_EQ(messageTexts().last(), "ｶﾚﾝﾀﾞｰは登録されていません");
}

TEST_F(IndividualClosuresTest, DeletingATargetsOpenDayBringsBackTheCommonClosure)
{
    addDay("00000", QDate(2026, 12, 29), 1, "年末休業");
    addDay("00001", QDate(2026, 12, 29), 0, "特別営業");
    openOn("00001", "会議室A");
    EXPECT_EQ(calendar()->cellForeColor(5, 2), colour(1));

    // A click on the day shows the row in force for this target, not the common one.
    calendar()->clickCell(5, 2);
    EXPECT_EQ(box("設定日")->text(), "2026/12/29");
    EXPECT_TRUE(control<QRadioButton>("勤務")->isChecked());
    EXPECT_EQ(box("休日名")->text(), "特別営業");
    EXPECT_EQ(highlightedListRows(), QList<int>{2});

    press("削除");
    EXPECT_EQ(calendar()->cellForeColor(5, 2), colour(12));
    EXPECT_EQ(calendarRows(), (std::vector<QStringList>{{"00000", "2026/12/29", "1", "年末休業"}}));
}

TEST_F(IndividualClosuresTest, AListClickTakesItsRowAndHighlightsItsDay)
{
    addDay("00000", QDate(2026, 12, 29), 1, "年末休業");
    addDay("00001", QDate(2026, 12, 29), 0, "特別営業");
    addDay("00000", QDate(2026, 12, 31), 1, "大晦日");
    openOn("00001", "会議室A");

    list()->clickCell(1, 2);
    EXPECT_EQ(box("設定日")->text(), "2026/12/29");
    EXPECT_TRUE(control<QRadioButton>("休日")->isChecked());
    EXPECT_EQ(box("休日名")->text(), "年末休業");
    EXPECT_EQ(highlightedListRows(), QList<int>{1});
    EXPECT_EQ(highlightedDays(), QList<QPoint>{QPoint(2, 5)});

    list()->clickCell(3, 0);
    EXPECT_EQ(box("設定日")->text(), "2026/12/31");
    EXPECT_EQ(highlightedListRows(), QList<int>{3});
    EXPECT_EQ(highlightedDays(), QList<QPoint>{QPoint(4, 5)});

    // A day without rows keeps the name typed, and no list row stays highlighted.
    calendar()->clickCell(2, 1);
    EXPECT_EQ(box("設定日")->text(), "2026/12/07");
    EXPECT_EQ(box("休日名")->text(), "大晦日");
    EXPECT_EQ(highlightedListRows(), QList<int>{});
    EXPECT_EQ(highlightedDays(), QList<QPoint>{QPoint(1, 2)});
    EXPECT_TRUE(messages().empty());
}

TEST_F(IndividualClosuresTest, ClicksOutsideTheDaysAndRowsAreRefused)
{
    addDay("00001", QDate(2026, 12, 3), 1, "点検");
    openOn("00001", "会議室A");
    calendar()->clickCell(1, 3); // the 2nd
    calendar()->clickCell(0, 3);
    calendar()->clickCell(1, 0); // before the 1st
    list()->clickCell(0, 0);
    list()->clickCell(2, 0);
    EXPECT_EQ(messageTexts(), (QStringList{"日付が有効範囲外です。", "日付が有効範囲外です。", "休業日指定が有効範囲外です。",
                                           "休業日指定が有効範囲外です。"}));
    EXPECT_EQ(box("設定日")->text(), "2026/12/02");
    EXPECT_EQ(highlightedDays(), QList<QPoint>{QPoint(3, 1)});
}

TEST_F(IndividualClosuresTest, AnEmptyOrWrongDateWritesNothing)
{
    openOn("00001", "会議室A");
    for (const QString text : {"", "2026/02/30", "あした"}) {
        clearMessages();
        box("設定日")->setText(text);
        press("確定");
        press("削除");
        EXPECT_EQ(messageTexts(), (QStringList{"設定日に正しく(YYYY/MM/DD)入力してください", "設定日に正しく(YYYY/MM/DD)入力してください"}))
            << text.toStdString();
        EXPECT_EQ(ui::textColourNumber(box("設定日")), 12);
    }
    EXPECT_EQ(count("カレンダー"), 0);
}

TEST_F(IndividualClosuresTest, TheYearAndMonthBoxes)
{
    addDay("00000", QDate(2027, 3, 20), 1, "春分の日");
    openOn("00001", "会議室A");

    box("表示月")->setText("13");
    form->表示月_LostFocus();
    EXPECT_EQ(messageTexts().last(), "表示年月に正しい数字を入力してください");
    EXPECT_EQ(ui::textColourNumber(box("表示月")), 12);
    EXPECT_EQ(form->firstInTabOrder(), box("表示月"));
    box("表示月")->setText("三");
    press("表示");
    EXPECT_EQ(messageTexts().last(), "表示月に正しい数字を入力してください");
    box("表示年")->setText("二〇二七");
    press("表示");
    EXPECT_EQ(messageTexts().last(), "表示年に正しい数字を入力してください");
    EXPECT_EQ(calendar()->text(1, 2), "1") << "December is still shown";

    // Month stepping and day clicks need text that forms a date.
    clearMessages();
    press("次月");
    calendar()->clickCell(2, 0);
    EXPECT_EQ(messageTexts(), (QStringList{"表示年月に正しい数字を入力してください", "表示年月に正しい数字を入力してください"}));
    EXPECT_EQ(box("表示年")->text(), "二〇二七");
    EXPECT_EQ(box("設定日")->text(), "");
    EXPECT_EQ(highlightedDays(), QList<QPoint>{});

    box("表示年")->setText("２０２７");
    box("表示月")->setText("3");
    press("表示");
    EXPECT_EQ(box("表示年")->text(), "2027");
    EXPECT_EQ(ui::textColourNumber(box("表示年")), 0);
    EXPECT_EQ(ui::textColourNumber(box("表示月")), 0);
    EXPECT_EQ(list()->text(1, 3), "春分の日");

    press("前月");
    press("前月");
    press("前月");
    EXPECT_EQ(box("表示年")->text(), "2026");
    EXPECT_EQ(box("表示月")->text(), "12");
    press("次月");
    EXPECT_EQ(box("表示年")->text(), "2027");
    EXPECT_EQ(box("表示月")->text(), "1");
    EXPECT_EQ(calendar()->text(1, 5), "1");
}

TEST_F(IndividualClosuresTest, ChoosingAnotherTargetRedrawsForIt)
{
    addDay("00002", QDate(2026, 12, 10), 1, "B点検");
    openOn("00001", "会議室A");
    EXPECT_EQ(list()->text(1, 0), "");
    pickTarget("会議室B");
    EXPECT_EQ(control<QComboBox>("対象略称")->currentText(), "会議室B");
    EXPECT_EQ(list()->text(1, 3), "B点検");
    EXPECT_EQ(calendar()->cellForeColor(2, 4), colour(12));

    // A target clicked in the targets form does not redirect this form's writes.
    open<対象登>()->findChild<FlexGrid*>("対象登録")->clickCell(1, 0);
    box("設定日")->setText("2026/12/11");
    press("確定");
    EXPECT_EQ(calendarRows().back(), (QStringList{"00002", "2026/12/11", "1", ""}));
}

} // namespace
