// The master settings form: picking an item, the checks of each item, saving one item, and the
// settings in force once the menu has shown the form.

#include "app/menu.h"
#include "master/master_settings_form.h"
#include "support/fixture.h"
#include "ui/field_check.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class MasterSettingsFormTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        form = new マスター登;
        form->takeDesk(desk());
        form->Form_Load();
        form->show();
    }

    QLineEdit* box(const QString& name) const { return form->findChild<QLineEdit*>(name); }
    QString explanation() const { return form->findChild<QLabel*>("登録説明")->text(); }

    // Clicks an item label as the operator does.
    void pick(const QString& labelName)
    {
        auto* item = form->findChild<QGroupBox*>("Frame1")->findChild<QLabel*>(labelName);
        ASSERT_NE(item, nullptr) << labelName.toStdString();
        QTest::mouseClick(item, Qt::LeftButton);
    }

    // Picks an item, types its value (and remark) and presses 確定.
    void save(const QString& labelName, const QString& value, const QString& remark = "")
    {
        pick(labelName);
        box("登録内容")->setText(value);
        box("備考")->setText(remark);
        clearMessages();
        form->findChild<QPushButton*>("確定")->click();
    }

    QString stored(int item) const
    {
        for (const QStringList& row : rows("マスタ", "idx_マスタ", {"マス_番号", "マス_内容"})) {
            if (row[0] == QString::number(item))
                return row[1];
        }
        return "(none)";
    }

    マスター登* form = nullptr;
};

TEST_F(MasterSettingsFormTest, PickingAnItemShowsItsNumberExplanationAndStoredValue)
{
    EXPECT_EQ(form->windowTitle(), "マスター登録");
    EXPECT_EQ(form->findChild<QGroupBox*>("Frame1")->title(), "マスター種類");
    const QList<std::pair<QString, QString>> labels = {
        {"保持年数", "保持期限"},     {"特定日設定", "特定日設定"},         {"年度開始日", "年度開始日"},    {"表示開始", "表示開始時間"},
        {"表示終了", "表示終了時間"}, {"プリフィックス", "予約NOﾌﾟﾘﾌｨｯｸｽ"}, {"予約NO区分", "予約NO設定区分"}};
    for (const auto& [name, caption] : labels)
        EXPECT_EQ(form->findChild<QLabel*>(name)->text(), caption);
    EXPECT_TRUE(box("登録NO")->isReadOnly());

    pick("特定日設定");
    EXPECT_EQ(box("登録NO")->text(), "2");
    EXPECT_EQ(explanation(), "1：曜日で特定　2：日付 DDで設定  で入力してください");
    EXPECT_EQ(box("登録内容")->text(), "");

    insert("マスタ", {{"マス_番号", 2}, {"マス_内容", "2"}, {"マス_備考", "日付で"}});
    box("備考")->setText("前の項目の備考");
    pick("特定日設定");
    EXPECT_EQ(explanation(), "1：曜日で特定　2：日付 DDで設定で入力してください");
    EXPECT_EQ(box("登録内容")->text(), "2");
    EXPECT_EQ(box("備考")->text(), "日付で");

    pick("プリフィックス");
    EXPECT_EQ(box("登録NO")->text(), "6");
    EXPECT_EQ(explanation(), "年を使用する場合は 半角で\"YYYY\" と入力してください");
    EXPECT_EQ(box("登録内容")->text(), "");
    EXPECT_EQ(box("備考")->text(), "");
}

TEST_F(MasterSettingsFormTest, SavingAsksThenStoresTheOneItemInPlace)
{
    answer({false});
    save("保持年数", "24");
    EXPECT_EQ(messageTexts(), QStringList{"入力内容で登録・更新します。"});
    EXPECT_EQ(count("マスタ"), 0);

    save("保持年数", "24", "二年");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].question);
    EXPECT_EQ(messages()[1].text, "登録･更新しました。");
    EXPECT_EQ(messages()[1].title, "ﾏｽﾀｰ登録");
    EXPECT_EQ(messages()[1].icon, msg::Icon::Exclamation);
    EXPECT_EQ(rows("マスタ", "idx_マスタ", {"マス_番号", "マス_内容", "マス_備考"}), (std::vector<QStringList>{{"1", "24", "二年"}}));

    save("保持年数", "36");
    EXPECT_EQ(count("マスタ"), 1);
    EXPECT_EQ(stored(1), "36");
}

TEST_F(MasterSettingsFormTest, WithNoItemPickedNothingIsStored)
{
    box("登録内容")->setText("12");
    form->findChild<QPushButton*>("確定")->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "項目を選択してください");
    EXPECT_EQ(messages()[0].title, "ﾏｽﾀｰ登録");
    EXPECT_EQ(count("マスタ"), 0);
}

TEST_F(MasterSettingsFormTest, WrongValuesAreRefusedWithTheirMessageAndNothingIsWritten)
{
    const QString retype = "登録内容に正しく入力してください";
    const QList<std::tuple<QString, QString, QString>> cases = {
        {"保持年数", "", "登録内容に入力してください"},
        {"保持年数", "十二", retype},
        {"保持年数", "1.5", retype},
        {"保持年数", "40000", retype},
        {"特定日設定", "曜日", retype},
        {"特定日設定", "3", retype},
        {"年度開始日", "02/29", retype},
        {"年度開始日", "13/01", retype},
        {"年度開始日", "0401", retype},
        {"表示開始", "8時", retype},
        {"表示終了", "", "登録内容に入力してください"},
        {"表示終了", "99999", retype},
        {"プリフィックス", "ABCDE", "MAX 6桁で入力してください"},
        {"予約NO区分", "3", retype},
        {"予約NO区分", "01", retype},
    };
    for (const auto& [item, value, message] : cases) {
        save(item, value);
        ASSERT_EQ(messages().size(), 1u) << item.toStdString() << " " << value.toStdString();
        EXPECT_EQ(messages()[0].text, message) << item.toStdString() << " " << value.toStdString();
        EXPECT_EQ(messages()[0].icon, msg::Icon::Exclamation);
        EXPECT_EQ(messages()[0].title, "ﾏｽﾀｰ登録");
        EXPECT_EQ(ui::textColourNumber(box("登録内容")), 12);
        EXPECT_EQ(form->firstInTabOrder(), box("登録内容"));
    }
    EXPECT_EQ(count("マスタ"), 0);
}

TEST_F(MasterSettingsFormTest, AcceptedValuesAreStoredWithHalfWidthDigitsAndThePrefixAsTyped)
{
    const QList<std::tuple<QString, int, QString, QString>> cases = {
        {"年度開始日", 3, "12/31", "12/31"},   {"年度開始日", 3, "4/1", "4/1"}, {"年度開始日", 3, "０４／０１", "04/01"},
        {"特定日設定", 2, "2", "2"},           {"予約NO区分", 7, "1", "1"},     {"プリフィックス", 6, "YYYY", "YYYY"},
        {"プリフィックス", 6, "ab12", "ab12"}, {"プリフィックス", 6, "", ""},   {"プリフィックス", 6, "Ａ１", "Ａ１"},
        {"保持年数", 1, "１８", "18"},         {"表示開始", 4, " ９ ", "9"},
    };
    for (const auto& [item, number, typed, kept] : cases) {
        save(item, typed);
        EXPECT_EQ(messageTexts(), (QStringList{"入力内容で登録・更新します。", "登録･更新しました。"}))
            << item.toStdString() << " " << typed.toStdString();
        EXPECT_EQ(stored(number), kept);
        EXPECT_EQ(ui::textColourNumber(box("登録内容")), 0);
    }
}

TEST_F(MasterSettingsFormTest, TheEndHourMayNotComeBeforeAStoredStartHour)
{
    save("表示終了", "3");
    EXPECT_EQ(explanation(), "表示開始時間を XX(時～) を登録してください");
    EXPECT_EQ(stored(5), "3");

    save("表示開始", "8");
    save("表示終了", "7");
    EXPECT_EQ(messageTexts(), QStringList{"表示開始･終了時間の関係を正しく入力してください"});
    clearMessages();
    form->findChild<QPushButton*>("確定")->click();
    EXPECT_EQ(messageTexts(), QStringList{"表示開始･終了時間の関係を正しく入力してください"});
    EXPECT_EQ(stored(5), "3");

    save("表示終了", "8");
    EXPECT_EQ(messageTexts().last(), "登録･更新しました。");
    EXPECT_EQ(stored(5), "8");
}

TEST_F(DatabaseTest, AnItemSavedFromTheMenuIsInForceWhenTheFormCloses)
{
    auto* menu = openMenu();
    EXPECT_EQ(menu->settings().DisplayStartHour, 8);
    bool shown = false;
    whenModalShown([&](QWidget* modal) {
        auto* form = dynamic_cast<マスター登*>(modal);
        ASSERT_NE(form, nullptr);
        shown = true;
        form->pickItem(4);
        form->findChild<QLineEdit*>("登録内容")->setText("9");
        form->findChild<QPushButton*>("確定")->click();
        form->findChild<QPushButton*>("終了")->click();
    });
    menu->findChild<QPushButton*>("マスター登録")->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(menu->settings().DisplayStartHour, 9);
}

} // namespace
