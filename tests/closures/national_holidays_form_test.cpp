// The national holidays form: a year's holidays with the operator's corrections, and the holidays
// of a fiscal year given a weekday's hours as specific-day hours.

#include "closure_fixture.h"
#include "closures/national_holidays_form.h"
#include "ui/flex_grid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class NationalHolidaysFormTest : public ClosureTest {
protected:
    void SetUp() override
    {
        ClosureTest::SetUp();
        form = open<祝日登録>();
        ASSERT_NE(form, nullptr);
    }
    QLineEdit* box(const QString& name) { return form->findChild<QLineEdit*>(name); }
    FlexGrid* list() { return form->findChild<FlexGrid*>("祝日一覧"); }
    void press(const QString& name) { form->findChild<QPushButton*>(name)->click(); }
    QStringList listed(int row)
    {
        QStringList cells;
        for (int col = 0; col < 4; ++col)
            cells << list()->text(row, col);
        return cells;
    }
    // The row of the date in the list, or 0.
    int rowOf(const QString& date)
    {
        for (int row = 1; row < list()->rows(); ++row) {
            if (list()->text(row, 0) == date)
                return row;
        }
        return 0;
    }
    void correct(const QString& button, const QString& date, const QString& name = QString())
    {
        box("日付")->setText(date);
        box("名称")->setText(name);
        press(button);
    }
    std::vector<QStringList> specificRows() const
    {
        return rows("特定日", "Key_特定日", {"特定_番号", "特定_日付", "特定_開始時間", "特定_終了時間", "特定_備考"});
    }

    祝日登録* form = nullptr;
};

TEST_F(NationalHolidaysFormTest, AYearIsListedWithTheCorrectionsTheOperatorAddsTakesAwayAndUndoes)
{
    EXPECT_EQ(form->windowTitle(), "祝日登録");
    EXPECT_EQ(box("年")->text(), "2026");
    EXPECT_EQ(listed(0), (QStringList{"日付", "曜", "名称", "区分"}));
    EXPECT_EQ(listed(1), (QStringList{"2026/01/01", "木", "元日", "計算"}));
    EXPECT_EQ(listed(18), (QStringList{"2026/11/23", "月", "勤労感謝の日", "計算"}));
    EXPECT_EQ(list()->text(19, 0), "");
    EXPECT_FALSE(form->findChild<QLabel*>("予想")->isVisible());

    correct("追加", "2026/6/15", "市民の日");
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "祝日は更新(登録)されました。"}));
    EXPECT_EQ(listed(rowOf("2026/06/15")), (QStringList{"2026/06/15", "月", "市民の日", "追加"}));
    EXPECT_EQ(list()->cellBackColor(rowOf("2026/06/15"), 2), colour(10));

    correct("取消", "2026/09/22");
    EXPECT_EQ(listed(rowOf("2026/09/22")), (QStringList{"2026/09/22", "火", "国民の休日", "取消"}));
    clearMessages();
    correct("取消", "2026/06/15");
    EXPECT_EQ(messageTexts(), QStringList{"取り消せるのは計算による祝日です。追加した日は「戻す」で除いてください。"});
    correct("追加", "2026/13/01", "誤り");
    EXPECT_EQ(messageTexts().last(), "日付に正しく(YYYY/MM/DD)入力してください");
    EXPECT_EQ(rows("祝日", "Key_祝日", {"祝日_年月日", "祝日_名称", "祝日_区分"}),
              (std::vector<QStringList>{{"2026/06/15", "市民の日", "1"}, {"2026/09/22", "国民の休日", "2"}}));

    answer({false});
    correct("戻す", "2026/09/22");
    EXPECT_EQ(count("祝日"), 2) << "No changes nothing";
    correct("戻す", "2026/09/22");
    EXPECT_EQ(messageTexts().last(), "指定日を計算どおりに戻しました。");
    EXPECT_EQ(listed(rowOf("2026/09/22")).last(), "計算");
    correct("戻す", "2026/09/22");
    EXPECT_EQ(messageTexts().last(), "指定日の訂正は登録されていません。");
    EXPECT_EQ(count("祝日"), 1);

    press("翌年");
    press("翌年");
    EXPECT_EQ(box("年")->text(), "2028");
    EXPECT_TRUE(form->findChild<QLabel*>("予想")->isVisible());
    EXPECT_TRUE(form->findChild<QLabel*>("予想")->text().startsWith("※ 2028年の祝日は予想です。"));
}

TEST_F(NationalHolidaysFormTest, TheHolidaysOfAFiscalYearTakeTheHoursOfASundayForEveryTarget)
{
    addTarget("00001", "会議室A");
    addTarget("00002", "会議室B");
    addTarget("00003", "テニスコート");
    addTarget("00004", "倉庫");
    addRegular("00000", "09:00", "18:00");
    addDaily("00000", 1, 1, "10:00", "16:00");
    addDaily("00002", 1, 1, "13:00", "15:00", "日曜短縮");
    addDaily("00002", 1, 2, "08:00", "20:00"); // Monday's
    addRegular("00003", "08:00", "22:00");
    addSpecific("00001", QDate(2026, 5, 4), "07:00", "08:00", "朝営業");
    addSpecific("00001", QDate(2026, 6, 1), "07:00", "08:00", "朝営業");
    insert("祝日", {{"祝日_年月日", QDate(2026, 9, 22)}, {"祝日_名称", "国民の休日"}, {"祝日_区分", 2}});

    answer({false});
    press("特定日に登録");
    EXPECT_EQ(messageTexts(), QStringList{"2026年度（2026/04/01～2027/03/31）の祝日18日に、日曜の営業時間を特定日営業時間として全対象に"
                                          "登録します。\nその日の登録済の特定日営業時間は置き換えます。"});
    EXPECT_EQ(count("特定日"), 2) << "No writes nothing";

    press("特定日に登録");
    EXPECT_EQ(messageTexts().last(), "祝日18日の特定日営業時間を4対象に登録しました。");
    // Every target without a Sunday of its own takes the common Sunday, which is stronger than any
    // week's hours; the day of another kind stays.
    EXPECT_EQ(count("特定日"), 4 * 18 + 1);
    const std::vector<QStringList> stored = specificRows();
    const auto has = [&stored](const QStringList& row) { return std::find(stored.begin(), stored.end(), row) != stored.end(); };
    EXPECT_TRUE(has({"00001", "2026/05/04", "10:00", "16:00", ""}));
    EXPECT_FALSE(has({"00001", "2026/05/04", "07:00", "08:00", "朝営業"})) << "the hours that were there are replaced";
    EXPECT_TRUE(has({"00001", "2026/06/01", "07:00", "08:00", "朝営業"}));
    EXPECT_TRUE(has({"00002", "2026/07/20", "13:00", "15:00", "日曜短縮"}));
    EXPECT_TRUE(has({"00003", "2027/03/22", "10:00", "16:00", ""}));
    EXPECT_FALSE(has({"00003", "2026/09/22", "10:00", "16:00", ""})) << "a holiday taken away is none";
}

} // namespace
