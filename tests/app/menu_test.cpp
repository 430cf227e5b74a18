// The main menu: its buttons, the modes they set, and store failures while it runs.

#include "app/menu.h"
#include "app/program.h"
#include "app/startup.h"
#include "base/app_state.h"
#include "support/fixture.h"
#include "ui/handlers.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPointer>
#include <QGroupBox>
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
        {"Frame3", "マスター登録", "マスター情報登録"}, {"Frame3", "基本情報", "基本情報登録"},
        {"Frame3", "予約設定登録", "予約設定登録"}, {"Frame3", "営業時間登録", "営業時間登録"},
        {"Frame3", "日別営業時間登録", "日別営業時間登録"}, {"Frame3", "特定日営業時間登録", "特定日営業時間登録"},
        {"Frame4", "対象照会", "予約対象照会"}, {"Frame4", "日別照会", "予約日照会"},
        {"Frame4", "予約者登録", "予約者登録"}, {"Frame4", "予約者削除", "予約者一括削除"},
        {"Frame4", "予約一括削除", "予約一括削除"}, {"Frame5", "期末削除", "期末削除"},
        {"Frame5", "再編成", "再編成"}, {"Frame5", "定休日登", "定休日登録"},
        {"Frame5", "個別休業日登録", "個別休業日登録"}, {"Frame5", "Command8", "希望勤務一覧"},
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
    EXPECT_FALSE(button("予約者削除")->isEnabled());
    EXPECT_FALSE(button("Command8")->isEnabled());
    EXPECT_EQ(button("終了")->text(), "終了");
}

TEST_F(MenuTest, ButtonsSetTheModesTheirFormsExpect)
{
    menu->営業時間登録_Click();
    EXPECT_EQ(app().modes.HoursFormKind, 1);
    EXPECT_EQ(app().modes.TimeTableMode, 1);
    menu->日別営業時間登録_Click();
    EXPECT_EQ(app().modes.HoursFormKind, 2);
    menu->特定日営業時間登録_Click();
    EXPECT_EQ(app().modes.HoursFormKind, 3);
    EXPECT_EQ(app().modes.TimeTableMode, 1);
    menu->対象照会_Click();
    EXPECT_EQ(app().modes.InquiryKind, 1);
    EXPECT_EQ(app().modes.TimeTableMode, 3);
    menu->日別照会_Click();
    EXPECT_EQ(app().modes.InquiryKind, 2);
    EXPECT_EQ(app().modes.TimeTableMode, 2);
    app().targets.CurrentTarget = "00003";
    menu->個別休業日登録_Click();
    EXPECT_EQ(app().targets.CurrentTarget, "");
}

TEST_F(MenuTest, AStoreFailureIsShownAndTheMenuKeepsRunning)
{
    QFile::remove("Kelvora.mdb");
    ui::guarded([] { 初期処理::LoadStartupSettings(); });
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

namespace {

TEST_F(DatabaseTest, StartingWithoutADatabaseSaysSoAndEnds)
{
    QFile::remove("Kelvora.mdb");
    EXPECT_EQ(runProgram(*qApp), 1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains("Kelvora.mdb"));
    EXPECT_FALSE(QFile::exists("Kelvora.mdb"));
}

} // namespace
