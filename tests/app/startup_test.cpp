// Start-up settings: defaults on an empty database, the stored items, and today's date.

#include "app/startup.h"
#include "base/app_state.h"
#include "store/store_error.h"
#include "support/fixture.h"

namespace {

class StartupTest : public DatabaseTest {
protected:
    void item(int number, const QString& content)
    {
        insert("マスタ", {{"マス_番号", number}, {"マス_内容", content}});
    }
};

TEST_F(StartupTest, AnEmptyDatabaseGivesEveryDefault)
{
    初期処理::LoadStartupSettings();
    const Settings& s = app().settings;
    EXPECT_EQ(s.UnitMinutes, 30);
    EXPECT_EQ(s.RetentionMonths, 12);
    EXPECT_EQ(s.DailyHoursKind, 1);
    EXPECT_EQ(s.FiscalYearStart, "04/01");
    EXPECT_EQ(s.DisplayStartHour, 8);
    EXPECT_EQ(s.DisplayEndHour, 24);
    EXPECT_EQ(s.NumberPrefix, "");
    EXPECT_EQ(s.NumberingKind, "1");
    EXPECT_EQ(s.OffHoursColour, QColor(230, 255, 220));
    EXPECT_EQ(s.WeekdayNames, (QStringList{"日", "月", "火", "水", "木", "金", "土"}));
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
    初期処理::LoadStartupSettings();
    const Settings& s = app().settings;
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
        初期処理::LoadStartupSettings();
        return app().settings.UnitMinutes;
    };
    EXPECT_EQ(unitFor("1", 20), 20);
    EXPECT_EQ(unitFor("2", 2), 120);
    EXPECT_EQ(unitFor("2", 24), 24 * 60);
    EXPECT_EQ(unitFor("3", 1), 24 * 60);
    EXPECT_EQ(unitFor("1", 25), 30); // no grid can be made of it
    EXPECT_EQ(unitFor("2", 0), 30);
}

TEST_F(StartupTest, PrefixYYYYStandsForTheCurrentYearInUpperCaseOnly)
{
    item(6, "YYYY");
    初期処理::LoadStartupSettings();
    EXPECT_EQ(app().settings.NumberPrefix, "2026");

    store::Table master = db().table("マスタ");
    master.setIndex("idx_マスタ");
    master.seek("=", {6});
    master.edit();
    master.set("マス_内容", "yyyy");
    master.update();
    初期処理::LoadStartupSettings();
    EXPECT_EQ(app().settings.NumberPrefix, "yyyy");
}

TEST_F(StartupTest, WorkingDateHasNoLeadingZeros)
{
    setNow(QDateTime(QDate(2027, 4, 8), QTime(9, 0)));
    EXPECT_EQ(app().settings.Today, QDate(2027, 4, 8));
    EXPECT_EQ(app().settings.WorkingDate, "2027/4/8");
}

TEST_F(StartupTest, AMasterItemThatIsNotANumberCannotBeLoaded)
{
    item(1, "abc");
    EXPECT_THROW(初期処理::LoadStartupSettings(), store::StoreError);
}

} // namespace
