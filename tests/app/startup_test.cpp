// Start-up settings: defaults on an empty database, the stored items, and items that hold no
// number.

#include "app/menu.h"
#include "app/startup.h"
#include "support/fixture.h"

namespace {

class StartupTest : public DatabaseTest {
protected:
    void item(int number, const QString& content) { insert("マスタ", {{"マス_番号", number}, {"マス_内容", content}}); }
    Settings load() { return 初期処理::LoadStartupSettings(db()); }
};

TEST_F(StartupTest, AnEmptyDatabaseGivesEveryDefault)
{
    const Settings s = load();
    EXPECT_EQ(s.UnitMinutes, 30);
    EXPECT_EQ(s.RetentionMonths, 12);
    EXPECT_EQ(s.DailyHoursKind, 1);
    EXPECT_EQ(s.FiscalYearStart, "04/01");
    EXPECT_EQ(s.DisplayStartHour, 8);
    EXPECT_EQ(s.DisplayEndHour, 24);
    EXPECT_EQ(s.NumberPrefix, "");
    EXPECT_EQ(s.NumberingKind, "1");
}

TEST_F(StartupTest, StoredItemsAndTheCommonUnitTimeAreLoaded)
{
    item(1, "24");
    item(2, "2");
    item(3, "01/01");
    item(4, "9");
    item(5, "20");
    item(7, "2");
    insert("基本", {{"基本_番号", "00000"}, {"基本_設定", 15}});
    const Settings s = load();
    EXPECT_EQ(s.UnitMinutes, 15);
    EXPECT_EQ(s.RetentionMonths, 24);
    EXPECT_EQ(s.DailyHoursKind, 2);
    EXPECT_EQ(s.FiscalYearStart, "01/01");
    EXPECT_EQ(s.DisplayStartHour, 9);
    EXPECT_EQ(s.DisplayEndHour, 20);
    EXPECT_EQ(s.NumberingKind, "2");
}

TEST_F(StartupTest, TheUnitTimeIsTheSlotLengthInMinutesForEveryKindOfUnit)
{
    const auto unitFor = [&](const QString& kind, int setting) {
        store::Table basic = db().table("基本");
        basic.setIndex("Key_基本");
        basic.seek("=", {"00000"});
        if (basic.noMatch()) {
            basic.addNew();
            basic.set("基本_番号", "00000");
        } else {
            basic.edit();
        }
        basic.set("基本_単位", kind);
        basic.set("基本_設定", setting);
        basic.update();
        return load().UnitMinutes;
    };
    EXPECT_EQ(unitFor("1", 20), 20);
    EXPECT_EQ(unitFor("2", 2), 120);
    EXPECT_EQ(unitFor("2", 24), 24 * 60);
    EXPECT_EQ(unitFor("3", 1), 24 * 60);
    EXPECT_EQ(unitFor("1", 25), 30); // no grid can be made of it
    EXPECT_EQ(unitFor("2", 0), 30);
    EXPECT_EQ(unitFor("", 15), 15); // a record without a kind reads minutes
}

TEST_F(StartupTest, PrefixYYYYStandsForTheYearOfIssueInUpperCaseOnly)
{
    item(6, "YYYY");
    EXPECT_EQ(load().NumberPrefixOn(QDate(2027, 1, 1)), "2027");

    store::Table master = db().table("マスタ");
    master.setIndex("idx_マスタ");
    master.seek("=", {6});
    master.edit();
    master.set("マス_内容", "yyyy");
    master.update();
    EXPECT_EQ(load().NumberPrefixOn(QDate(2027, 1, 1)), "yyyy");
}

TEST_F(StartupTest, NumberItemsThatHoldNoNumberTakeTheirDefaultsAndAreNamedOnce)
{
    loosen("マスタ");
    loosen("基本");
    item(1, "abc");
    item(2, "2");
    item(4, "８時" + QString(30, u'x'));
    runSql("INSERT INTO マスタ VALUES (5, NULL, '')");
    runSql("INSERT INTO 基本 (基本_番号, 基本_単位, 基本_設定) VALUES ('00000', '1', 'x')");

    // The program starts: the menu opens, with one message.
    メニュー* menu = openMenu();
    EXPECT_TRUE(menu->isVisible());
    const Settings& s = menu->settings();
    EXPECT_EQ(s.RetentionMonths, 12);
    EXPECT_EQ(s.DailyHoursKind, 2);
    EXPECT_EQ(s.DisplayStartHour, 8);
    EXPECT_EQ(s.DisplayEndHour, 24);
    EXPECT_EQ(s.UnitMinutes, 30);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].icon, msg::Icon::Exclamation);
    EXPECT_EQ(messages()[0].text, "次の登録内容は数値ではないため、既定値で処理します。\n"
                                  "・基本情報登録「単位時間」：「x」（既定値 30）\n"
                                  "・マスター情報登録「保持期限」：「abc」（既定値 12）\n"
                                  "・マスター情報登録「表示開始時間」：「８時xxxxxxxxxxxxxxxxxx…」（既定値 8）\n"
                                  "・マスター情報登録「表示終了時間」：「」（既定値 24）\n"
                                  "各画面で正しく登録して下さい。");
}

} // namespace
