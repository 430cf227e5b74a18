// The basic information form: what it shows for a target, the quick choices, the unit-time and
// overlap checks, saving, the common target, and the menu's reload after the form closes.

#include "app/menu.h"
#include "master/basic_info_form.h"
#include "master/targets_form.h"
#include "support/fixture.h"
#include "ui/field_check.h"
#include "ui/forms.h"
#include "views/target_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class BasicInfoFormTest : public DatabaseTest {
protected:
    // Opens the form for a target, as the target form does.
    void open(const QString& target, const QString& name = "第一会議室")
    {
        基本登::openFor(desk(), {target, name, QString(), QString()}, false);
        form = forms::find<基本登>();
        ASSERT_NE(form, nullptr);
    }

    QLineEdit* box(const QString& name) const { return form->findChild<QLineEdit*>(name); }
    QRadioButton* option(const QString& name) const { return form->findChild<QRadioButton*>(name); }
    QCheckBox* choice(const QString& name) const { return form->findChild<QCheckBox*>(name); }
    bool quickChoicesShown() const { return form->findChild<QGroupBox*>("分表示")->isVisible(); }
    QStringList checkedChoices() const
    {
        QStringList checked;
        for (const char* name : {"min10", "min15", "min20", "min30"}) {
            if (choice(name)->isChecked())
                checked << name;
        }
        return checked;
    }

    void save()
    {
        clearMessages();
        form->findChild<QPushButton*>("確定")->click();
    }
    // The stored record of a target: unit kind, unit time, overlap flag, count, remark.
    QStringList record(const QString& target) const
    {
        for (const QStringList& row :
             rows("基本", "Key_基本", {"基本_番号", "基本_単位", "基本_設定", "基本_重複", "基本_重複数", "基本_備考"})) {
            if (row[0] == target)
                return row.mid(1);
        }
        return {};
    }

    基本登* form = nullptr;
};

TEST_F(BasicInfoFormTest, ATargetWithoutARecordShowsTheDefaults)
{
    insert("基本", {{"基本_番号", "00001"}, {"基本_単位", "2"}, {"基本_設定", 3}, {"基本_重複", 1}, {"基本_重複数", 4}});
    open("00002", "第二会議室");
    EXPECT_EQ(form->windowTitle(), "基本情報登録");
    EXPECT_EQ(box("対象番号")->text(), "00002");
    EXPECT_EQ(box("対象名称")->text(), "第二会議室");
    EXPECT_TRUE(option("分単位")->isChecked());
    EXPECT_TRUE(quickChoicesShown());
    EXPECT_TRUE(checkedChoices().isEmpty());
    EXPECT_EQ(box("単位時間")->text(), "");
    EXPECT_TRUE(option("不可能")->isChecked());
    EXPECT_EQ(box("重複数")->text(), "0");
    EXPECT_EQ(box("備考")->text(), "");
}

TEST_F(BasicInfoFormTest, AStoredRecordIsShownWithItsUnitAndOverlap)
{
    insert("基本",
           {{"基本_番号", "00001"}, {"基本_単位", "2"}, {"基本_設定", 3}, {"基本_重複", 1}, {"基本_重複数", 4}, {"基本_備考", "午前のみ"}});
    insert("基本", {{"基本_番号", "00002"}, {"基本_単位", "1"}, {"基本_設定", 15}, {"基本_重複", 0}, {"基本_重複数", 0}});
    open("00001");
    EXPECT_TRUE(option("時間単位")->isChecked());
    EXPECT_FALSE(quickChoicesShown());
    EXPECT_EQ(box("単位時間")->text(), "3");
    EXPECT_TRUE(option("可能")->isChecked());
    EXPECT_EQ(box("重複数")->text(), "4");
    EXPECT_EQ(box("備考")->text(), "午前のみ");

    open("00002");
    EXPECT_EQ(box("対象番号")->text(), "00002");
    EXPECT_TRUE(option("分単位")->isChecked());
    EXPECT_TRUE(quickChoicesShown());
    EXPECT_EQ(checkedChoices(), QStringList{"min15"});
    EXPECT_TRUE(option("不可能")->isChecked());
    EXPECT_EQ(box("重複数")->text(), "0");
    EXPECT_EQ(box("備考")->text(), "");
}

TEST_F(BasicInfoFormTest, QuickChoicesFillTheUnitTimeAndGoAwayForHoursAndDays)
{
    open("00001");
    choice("min20")->click();
    EXPECT_EQ(box("単位時間")->text(), "20");
    choice("min30")->click();
    EXPECT_EQ(box("単位時間")->text(), "30");
    EXPECT_EQ(checkedChoices(), (QStringList{"min20", "min30"}));
    choice("min30")->click();
    EXPECT_EQ(box("単位時間")->text(), "");

    choice("min10")->click();
    option("時間単位")->click();
    EXPECT_TRUE(checkedChoices().isEmpty());
    EXPECT_FALSE(quickChoicesShown());
    EXPECT_EQ(box("単位時間")->text(), "10");
    option("分単位")->click();
    EXPECT_TRUE(quickChoicesShown());

    option("可能")->click();
    box("重複数")->setText("3");
    option("不可能")->click();
    EXPECT_EQ(box("重複数")->text(), "0");
}

TEST_F(BasicInfoFormTest, TheUnitTimeHasLimitsForEachKindOfUnit)
{
    open("00001");
    const QString wrong = "単位時間に正しく入力してください";
    // The unit kind, the unit time typed, and the message (empty when it is saved).
    const QList<std::tuple<QString, QString, QString>> cases = {
        {"分単位", "25", wrong},    {"分単位", "30", ""},     {"分単位", "", wrong},     {"時間単位", "24", ""}, {"時間単位", "25", wrong},
        {"時間単位", "1.5", wrong}, {"時間単位", "0", wrong}, {"時間単位", "二", wrong}, {"日単位", "1", ""},    {"日単位", "2", wrong},
    };
    for (const auto& [kind, unitTime, message] : cases) {
        option(kind)->click();
        box("単位時間")->setText(unitTime);
        save();
        const std::string what = (kind + " " + unitTime).toStdString();
        if (message.isEmpty()) {
            EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "更新(登録)しました。"})) << what;
            const QString kindNumber = kind == "分単位" ? "1" : kind == "時間単位" ? "2" : "3";
            EXPECT_EQ(record("00001").mid(0, 2), (QStringList{kindNumber, unitTime})) << what;
            EXPECT_EQ(ui::textColourNumber(box("単位時間")), 0) << what;
        } else {
            ASSERT_EQ(messages().size(), 1u) << what;
            EXPECT_EQ(messages()[0].text, message) << what;
            EXPECT_EQ(messages()[0].title, "ｺｰﾄﾞﾏｽﾀｰ情報") << what;
            EXPECT_EQ(messages()[0].icon, msg::Icon::Exclamation) << what;
            EXPECT_EQ(ui::textColourNumber(box("単位時間")), 12) << what;
        }
    }
}

TEST_F(BasicInfoFormTest, TheOverlapCountFollowsTheOverlapChoice)
{
    open("00001");
    box("単位時間")->setText("30");
    box("重複数")->setText("3");
    save();
    EXPECT_EQ(messageTexts(), QStringList{"重複数は 0 以外の入力は不可能です"});
    EXPECT_EQ(ui::textColourNumber(box("重複数")), 12);

    option("可能")->click();
    for (const QString count : {"0", "", "-1", "2.5"}) {
        box("重複数")->setText(count);
        save();
        EXPECT_EQ(messageTexts(), QStringList{"重複数に正しく入力してください"}) << count.toStdString();
    }
    EXPECT_EQ(count("基本"), 0);

    box("重複数")->setText("2");
    box("備考")->setText("二組まで");
    save();
    EXPECT_EQ(record("00001"), (QStringList{"1", "30", "1", "2", "二組まで"}));

    option("不可能")->click();
    save();
    EXPECT_EQ(record("00001"), (QStringList{"1", "30", "0", "0", "二組まで"}));
    EXPECT_EQ(count("基本"), 1);
}

TEST_F(BasicInfoFormTest, FullWidthDigitsAreStoredHalfWidth)
{
    open("00001");
    box("単位時間")->setText("３０");
    option("可能")->click();
    box("重複数")->setText("２");
    save();
    EXPECT_EQ(record("00001"), (QStringList{"1", "30", "1", "2", ""}));
}

TEST_F(BasicInfoFormTest, TheFirstFailingBoxGivesTheMessageAndLeadsTheTabOrder)
{
    open("00001");
    option("可能")->click();
    box("重複数")->setText("0");
    box("単位時間")->setText("7");
    save();
    EXPECT_EQ(messageTexts(), QStringList{"単位時間に正しく入力してください"});
    EXPECT_EQ(ui::textColourNumber(box("単位時間")), 12);
    EXPECT_EQ(ui::textColourNumber(box("重複数")), 12);
    EXPECT_EQ(form->firstInTabOrder(), box("単位時間"));

    answer({false});
    box("単位時間")->setText("10");
    box("重複数")->setText("1");
    save();
    EXPECT_EQ(messageTexts(), QStringList{"入力内容で更新します。"});
    EXPECT_EQ(count("基本"), 0);
}

TEST_F(BasicInfoFormTest, LeavingABoxChecksItWithoutAMessage)
{
    open("00001");
    form->activateWindow();
    QApplication::setActiveWindow(form);
    box("単位時間")->setFocus();
    box("単位時間")->setText("25");
    box("重複数")->setFocus();
    EXPECT_EQ(ui::textColourNumber(box("単位時間")), 12);
    EXPECT_TRUE(messages().empty());
    // A quick choice puts a valid unit time in the box.
    choice("min15")->click();
    EXPECT_EQ(box("単位時間")->text(), "15");
    EXPECT_EQ(ui::textColourNumber(box("単位時間")), 0);
}

TEST_F(BasicInfoFormTest, SavingTheCommonRecordRegistersTheCommonTargetOnce)
{
    insert("設定", {{"設定_番号", "00001"}, {"設定_名称", "第一会議室"}, {"設定_略称", "第一"}});
    open("00001");
    box("単位時間")->setText("30");
    save();
    EXPECT_EQ(count("設定"), 1);

    open("00000", "共通基本情報");
    box("単位時間")->setText("15");
    save();
    save();
    EXPECT_EQ(rows("設定", "Key_設定", {"設定_番号", "設定_名称", "設定_略称", "設定_備考"}),
              (std::vector<QStringList>{{"00000", "共通基本情報", "共通基本情報", ""}, {"00001", "第一会議室", "第一", ""}}));

    // The common target is listed in the combos but is no column of the by-day views.
    QComboBox combo;
    CMB対象::FillTargetCombo(db(), &combo);
    EXPECT_EQ(combo.itemText(0), "共通基本情報");
    EXPECT_EQ(CMB対象::LoadTargetList(db()).numbers, QStringList{"00001"});
}

TEST_F(BasicInfoFormTest, AFormOpenForOneTargetIsLoadedAgainForTheNext)
{
    insert("基本", {{"基本_番号", "00001"}, {"基本_単位", "2"}, {"基本_設定", 3}, {"基本_重複", 1}, {"基本_重複数", 4}});
    open("00001");
    box("重複数")->setText("9");
    基本登* first = form;
    open("00002", "第二会議室");
    EXPECT_EQ(form, first);
    EXPECT_EQ(box("対象番号")->text(), "00002");
    EXPECT_EQ(box("重複数")->text(), "0");

    // What is shown is what is saved.
    box("単位時間")->setText("20");
    save();
    EXPECT_EQ(record("00002").mid(0, 2), (QStringList{"1", "20"}));
    EXPECT_EQ(record("00001"), (QStringList{"2", "3", "1", "4", ""}));
    EXPECT_TRUE(record("00000").isEmpty());
}

TEST_F(DatabaseTest, TheMenuOpensTheCommonRecordAndReloadsTheUnitTime)
{
    auto* menu = openMenu();
    menu->予約設定登録_Click(); // a form open meanwhile
    EXPECT_EQ(menu->settings().UnitMinutes, 30);
    QString shownTarget;
    whenModalShown([&](QWidget* modal) {
        auto* form = dynamic_cast<基本登*>(modal);
        ASSERT_NE(form, nullptr);
        shownTarget = form->findChild<QLineEdit*>("対象番号")->text() + " " + form->findChild<QLineEdit*>("対象名称")->text();
        form->findChild<QLineEdit*>("単位時間")->setText("15");
        form->findChild<QPushButton*>("確定")->click();
        form->findChild<QPushButton*>("終了")->click();
    });
    menu->findChild<QPushButton*>("基本情報")->click();
    EXPECT_EQ(shownTarget, "00000 共通基本情報");
    EXPECT_EQ(menu->settings().UnitMinutes, 15);
    EXPECT_EQ(forms::find<対象登>()->settings().UnitMinutes, 15);
}

} // namespace
