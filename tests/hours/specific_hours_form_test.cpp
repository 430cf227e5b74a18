// The specific-day hours form: the target combo, the list of dates that have bands, typing and
// picking a date, and when the list is loaded again.

#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "hours/time_band_preview_form.h"
#include "hours_fixture.h"
#include "ui/forms.h"

namespace {

class SpecificHoursTest : public HoursTest {
protected:
    void SetUp() override
    {
        HoursTest::SetUp();
        addTarget("00001", "会議室A");
        addTarget("00002", "会議室B");
    }
    void open()
    {
        menu->特定日営業時間登録_Click();
        form = forms::find<特定時間登>();
        dates = control<FlexGrid>("登録日付");
    }
    // Types a date as the operator does, the box losing the focus afterwards.
    void typeDate(const QString& text)
    {
        box("日付")->setText(text);
        static_cast<特定時間登*>(form)->日付_LostFocus();
    }
    QStringList listedDates() const
    {
        QStringList texts;
        for (int row = 1; row < dates->rows() && !dates->text(row, 0).isEmpty(); ++row)
            texts << dates->text(row, 0);
        return texts;
    }
    std::vector<QStringList> specificRows() const
    {
        return rows("特定日", "Key_特定日", {"特定_番号", "特定_日付", "特定_開始時間", "特定_終了時間", "特定_営業フラグ"});
    }

    FlexGrid* dates = nullptr;
};

TEST_F(SpecificHoursTest, OpensWithTheTargetsAndEmptyGrids)
{
    open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "特定日営業時間登録");
    auto* combo = control<QComboBox>("対象略称");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "会議室B");
    EXPECT_EQ(combo->currentText(), "");
    EXPECT_EQ(dates->rows(), 50);
    EXPECT_EQ(dates->cols(), 1);
    EXPECT_EQ(dates->text(0, 0), "登録済特定日");
    EXPECT_EQ(dates->colWidth(0), 1450);
    EXPECT_TRUE(listedDates().isEmpty());
    EXPECT_EQ(bandGrid()->text(0, 1), "開始時間");
    EXPECT_TRUE(shownBands().isEmpty());
    EXPECT_EQ(box("日付")->text(), "");
}

TEST_F(SpecificHoursTest, TheListHoldsEachDateAfter1999OnceInDateOrder)
{
    addSpecific("00001", QDate(2026, 12, 24), "13:00", "15:00");
    addSpecific("00001", QDate(2026, 12, 24), "10:00", "12:00");
    addSpecific("00001", QDate(2000, 1, 1), "10:00", "12:00");
    addSpecific("00001", QDate(1999, 1, 1), "10:00", "12:00");
    addSpecific("00001", QDate(1998, 12, 31), "10:00", "12:00");
    addSpecific("00001", QDate(1999, 1, 2), "10:00", "12:00");
    addSpecific("00002", QDate(2026, 1, 1), "10:00", "12:00");
    open();
    pickTarget("会議室A");
    EXPECT_EQ(listedDates(), (QStringList{"1999/01/02", "2000/01/01", "2026/12/24"}));
    EXPECT_TRUE(shownBands().isEmpty());

    dates->clickCell(3, 0);
    EXPECT_EQ(dates->cellBackColor(3, 0), ui::qbColor(10));
    EXPECT_EQ(box("日付")->text(), "2026/12/24");
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00", "13:00-15:00"}));
    dates->clickCell(1, 0);
    EXPECT_EQ(dates->cellBackColor(3, 0), ui::qbColor(15));
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00"}));

    clearMessages();
    dates->clickCell(0, 0);
    dates->clickCell(4, 0);
    EXPECT_EQ(messageTexts(), (QStringList{"日付が有効範囲外です｡ ", "日付が有効範囲外です｡ "}));
    EXPECT_EQ(messages()[0].title, "");

    pickTarget("会議室B");
    EXPECT_EQ(listedDates(), (QStringList{"2026/01/01"}));
}

TEST_F(SpecificHoursTest, ATypedDateIsStoredInFullAndJoinsTheList)
{
    addSpecific("00001", QDate(2001, 4, 1), "10:00", "12:00");
    open();
    pickTarget("会議室A");
    typeDate("1999/5/3");
    EXPECT_EQ(box("日付")->text(), "1999/05/03");
    typeBand("10", "00", "15", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "特定日時間は更新(登録)されました。"}));
    EXPECT_EQ(messages()[1].title, "特定日時間登録");
    EXPECT_EQ(specificRows().front(), (QStringList{"00001", "1999/05/03", "10:00", "15:00", "0"}));
    EXPECT_EQ(listedDates(), (QStringList{"1999/05/03", "2001/04/01"}));
    EXPECT_EQ(shownBands(), (QStringList{"10:00-15:00"}));
}

TEST_F(SpecificHoursTest, TheListIsLoadedAgainOnlyAfterASaveOnANewDate)
{
    addSpecific("00001", QDate(2026, 12, 24), "10:00", "12:00");
    open();
    pickTarget("会議室A");
    dates->clickCell(1, 0);
    // Stored meanwhile by someone else: it shows only when the list is loaded again.
    addSpecific("00001", QDate(2026, 12, 31), "10:00", "12:00");

    typeBand("13", "00", "15", "00");
    save();
    EXPECT_EQ(listedDates(), (QStringList{"2026/12/24"}));
    EXPECT_EQ(dates->cellBackColor(1, 0), ui::qbColor(10));

    typeDate("2027/01/05");
    typeBand("13", "00", "15", "00");
    save();
    EXPECT_EQ(listedDates(), (QStringList{"2026/12/24", "2026/12/31", "2027/01/05"}));

    // A deletion leaves the date listed until a target is chosen.
    typeDate("2027/01/05");
    remove();
    EXPECT_EQ(messageTexts(), (QStringList{"指定時間を削除します。。"}));
    EXPECT_EQ(messages()[0].title, "特定日時間登録");
    EXPECT_TRUE(shownBands().isEmpty());
    EXPECT_EQ(listedDates().last(), "2027/01/05");
    pickTarget("会議室A");
    EXPECT_EQ(listedDates(), (QStringList{"2026/12/24", "2026/12/31"}));
}

TEST_F(SpecificHoursTest, ADateThatDoesNotExistIsRefused)
{
    open();
    pickTarget("会議室A");
    typeBand("10", "00", "15", "00");
    for (const QString text : {"1999/13/01", "2023/02/29", "12/24", ""}) {
        box("日付")->setText(text);
        save();
        EXPECT_EQ(messageTexts(), (QStringList{"日付に正しく(YYYY/MM/DD)入力してください"})) << text.toStdString();
        EXPECT_EQ(messages()[0].title, "特定日時間登録");
        EXPECT_EQ(ui::textColourNumber(box("日付")), 12);
    }
    EXPECT_EQ(count("特定日"), 0);

    // A deletion goes on, but with no date there is nothing to delete.
    remove();
    EXPECT_EQ(messageTexts(),
              (QStringList{"日付に正しく(YYYY/MM/DD)入力してください", "指定時間を削除します。。", "指定時間は登録されていません。"}));
}

TEST_F(SpecificHoursTest, TypingTheDateBeingEditedAgainRefreshesNothing)
{
    addSpecific("00001", QDate(2026, 12, 24), "10:00", "12:00");
    open();
    pickTarget("会議室A");
    typeDate("2026/12/24");
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00"}));
    // Stored meanwhile by someone else: the same date typed again does not show it.
    addSpecific("00001", QDate(2026, 12, 24), "13:00", "15:00");
    typeDate("2026/12/24");
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00"}));
    typeDate("2026/12/25");
    typeDate("2026/12/24");
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00", "13:00-15:00"}));

    // Opened again, the form has no date: the one typed shows its bands.
    form->close();
    flushDeletes();
    open();
    pickTarget("会議室A");
    typeDate("2026/12/24");
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00", "13:00-15:00"}));
}

TEST_F(SpecificHoursTest, MoreThanFortyNineDatesAreAllListed)
{
    {
        store::Database database = db();
        store::Transaction tx(database);
        for (int day = 0; day < 60; ++day)
            addSpecific("00001", QDate(2026, 1, 1).addDays(day), "10:00", "12:00");
        tx.commit();
    }
    open();
    pickTarget("会議室A");
    EXPECT_EQ(listedDates().size(), 60);
    EXPECT_EQ(dates->text(60, 0), "2026/03/01");
    dates->clickCell(60, 0);
    EXPECT_EQ(box("日付")->text(), "2026/03/01");
    EXPECT_EQ(shownBands(), (QStringList{"10:00-12:00"}));
}

TEST_F(SpecificHoursTest, 表示AndSavingNeedATargetChosenHere)
{
    open();
    clearMessages();
    press("表示");
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を選択して下さい。"}));
    EXPECT_EQ(messages()[0].title, "特定日時間登録");
    EXPECT_EQ(forms::find<時間帯表示>(), nullptr);

    // A target chosen in the business-hours form is not this form's.
    menu->営業時間登録_Click();
    forms::find<営業時間登>()->findChild<FlexGrid*>("対象登録")->clickCell(2, 0);
    clearMessages();
    press("表示");
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を選択して下さい。"}));
    EXPECT_EQ(forms::find<時間帯表示>(), nullptr);
    typeDate("2026/12/24");
    typeBand("10", "00", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を選択して下さい。"}));
    EXPECT_EQ(count("特定日"), 0);

    pickTarget("会議室B");
    press("表示");
    ASSERT_NE(forms::find<時間帯表示>(), nullptr);
    EXPECT_EQ(forms::find<時間帯表示>()->findChild<QLineEdit*>("対象略称名")->text(), "会議室B");
}

} // namespace
