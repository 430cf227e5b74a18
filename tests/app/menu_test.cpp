// The main menu: its buttons, the modes they set, and store failures while it runs.

#include "app/menu.h"
#include "closures/individual_closures_form.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "master/master_settings_form.h"
#include "records/master_items.h"
#include "records/targets.h"
#include "reservations/reserver_form.h"
#include "reservations/status_inquiry_form.h"
#include "support/fixture.h"
#include "support/modal_script.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

namespace {

class MenuTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        menu = openMenu();
    }
    QPushButton* button(const QString& name) { return menu->findChild<QPushButton*>(name); }

    メニュー* menu = nullptr;
};

TEST_F(MenuTest, EveryButtonSitsInItsFrameWithItsCaption)
{
    EXPECT_EQ(menu->windowTitle(), "Kelvoraメニュー");
    const QList<std::tuple<QString, QString, QString>> buttons = {
        {"Frame3", "マスター登録", "マスター情報登録"},
        {"Frame3", "基本情報", "基本情報登録"},
        {"Frame3", "予約設定登録", "予約設定登録"},
        {"Frame3", "営業時間登録", "営業時間登録"},
        {"Frame3", "日別営業時間登録", "日別営業時間登録"},
        {"Frame3", "特定日営業時間登録", "特定日営業時間登録"},
        {"Frame4", "対象照会", "予約対象照会"},
        {"Frame4", "日別照会", "予約日照会"},
        {"Frame4", "予約者登録", "予約者登録"},
        {"Frame4", "予約者削除", "予約者一括削除"},
        {"Frame4", "予約一括削除", "予約一括削除"},
        {"Frame5", "期末削除", "期末削除"},
        {"Frame5", "再編成", "再編成"},
        {"Frame5", "定休日登", "定休日登録"},
        {"Frame5", "個別休業日登録", "個別休業日登録"},
        {"Frame5", "祝日登録", "祝日登録"},
        {"Frame5", "Command8", "希望勤務一覧"},
        {"Frame6", "取消履歴", "取消履歴"},
        {"Frame6", "予約者照会", "予約者照会"},
        {"Frame6", "稼働状況", "稼働状況"},
    };
    for (const auto& [frame, name, caption] : buttons) {
        auto* box = menu->findChild<QGroupBox*>(frame);
        ASSERT_NE(box, nullptr) << frame.toStdString();
        auto* b = box->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        EXPECT_EQ(b->text(), caption);
    }
    EXPECT_EQ(menu->findChild<QGroupBox*>("Frame3")->title(), "基本情報");
    EXPECT_EQ(menu->findChild<QGroupBox*>("Frame4")->title(), "予約情報");
    EXPECT_EQ(menu->findChild<QGroupBox*>("Frame5")->title(), "年度処理");
    EXPECT_EQ(menu->findChild<QGroupBox*>("Frame6")->title(), "帳票");
    EXPECT_FALSE(button("予約者削除")->isEnabled());
    EXPECT_FALSE(button("Command8")->isEnabled());
    EXPECT_EQ(button("終了")->text(), "終了");
}

TEST_F(MenuTest, ButtonsOpenTheirFormsInTheModesTheyStandFor)
{
    button("営業時間登録")->click();
    営業時間登* hours = forms::find<営業時間登>();
    ASSERT_NE(hours, nullptr);
    EXPECT_EQ(hours->windowTitle(), "営業時間登録");
    button("日別営業時間登録")->click(); // the open form turns to the daily hours
    EXPECT_EQ(forms::find<営業時間登>(), hours);
    EXPECT_EQ(hours->windowTitle(), "曜日別営業時間登録");
    button("特定日営業時間登録")->click();
    EXPECT_NE(forms::find<特定時間登>(), nullptr);

    // The inquiry by target asks for a target; the inquiry by day, turned to in the open form, does not.
    button("対象照会")->click();
    予約状照会* inquiry = forms::find<予約状照会>();
    ASSERT_NE(inquiry, nullptr);
    EXPECT_TRUE(inquiry->findChild<QComboBox*>("対象略称")->isVisible());
    button("日別照会")->click();
    EXPECT_EQ(forms::find<予約状照会>(), inquiry);
    EXPECT_FALSE(inquiry->findChild<QComboBox*>("対象略称")->isVisible());

    // The closure days of a target, opened for it from the targets form and closed, leave the
    // menu's own closure form without a target.
    const records::Target target{"00003", "第三会議室", "会議室C", ""};
    records::saveTarget(db(), target);
    個休業登録::openFor(menu->desk(), target);
    ASSERT_NE(forms::find<個休業登録>(), nullptr);
    EXPECT_EQ(forms::find<個休業登録>()->findChild<QComboBox*>("対象略称")->currentText(), "会議室C");
    forms::find<個休業登録>()->close();
    flushDeletes();
    button("個別休業日登録")->click();
    ASSERT_NE(forms::find<個休業登録>(), nullptr);
    EXPECT_EQ(forms::find<個休業登録>()->findChild<QComboBox*>("対象略称")->currentText(), "");
}

// The settings stored in the master settings form are read again when it closes, and every open
// form works with them from then on.
TEST_F(MenuTest, SettingsSavedInAModalFormReachTheFormsAlreadyOpen)
{
    button("予約者登録")->click();
    予約者更新* reservers = forms::find<予約者更新>();
    ASSERT_NE(reservers, nullptr);
    EXPECT_EQ(reservers->settings().NumberPrefix, "");

    ModalScript script;
    script.form<マスター登>([&](マスター登* form) {
        records::saveMasterItem(db(), {6, "K", ""});
        form->close();
    });
    button("マスター登録")->click();
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(menu->settings().NumberPrefix, "K");
    EXPECT_EQ(reservers->settings().NumberPrefix, "K");
}

TEST_F(MenuTest, AStoreFailureIsShownAndTheMenuKeepsRunning)
{
    QFile::remove("Kelvora.mdb");
    button("予約設定登録")->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains("Kelvora.mdb"));
    EXPECT_EQ(messages()[0].icon, msg::Icon::Critical);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(QFile::exists("Kelvora.mdb"));
}

TEST_F(MenuTest, CloseEndsTheMenu)
{
    QPointer<メニュー> watched(menu);
    button("終了")->click();
    EXPECT_FALSE(watched->isVisible());
    flushDeletes();
    EXPECT_TRUE(watched.isNull());
}

} // namespace
