// The business-hours form in its regular kind, opened from the menu: the target and band grids,
// the time boxes and their checks, saving, deleting and the overlap warning.

#include "hours_fixture.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "ui/forms.h"

#include <QApplication>
#include <QGroupBox>

namespace {

class BusinessHoursTest : public HoursTest {
protected:
    void SetUp() override
    {
        HoursTest::SetUp();
        addTarget("00001", "会議室A");
        addTarget("00002", "会議室B");
        menu->営業時間登録_Click();
        form = forms::find<営業時間登>();
        targets = control<FlexGrid>("対象登録");
    }
    // Clicks the target in grid row `row` (row 1 is "00001").
    void clickTarget(int row)
    {
        clearMessages();
        targets->clickCell(row, 1);
    }
    std::vector<QStringList> regularRows() const
    {
        return rows("営業", "Key_営業", {"営業_番号", "営業_開始時間", "営業_終了時間", "営業_営業フラグ", "営業_備考"});
    }

    // Opens the specific-day hours form beside this one and chooses a target there.
    void chooseInSpecificHoursForm(const QString& abbrev)
    {
        menu->特定日営業時間登録_Click();
        pickTarget(abbrev, forms::find<特定時間登>());
    }

    FlexGrid* targets = nullptr;
};

TEST_F(BusinessHoursTest, OpensWithTheTargetsAndAnEmptyBandGrid)
{
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "営業時間登録");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(control<QGroupBox>("曜日")->isVisible());
    EXPECT_FALSE(control<QGroupBox>("特定日")->isVisible());
    EXPECT_FALSE(control<QPushButton>("日別表示")->isVisible());
    EXPECT_EQ(targets->rows(), 101);
    EXPECT_EQ(targets->text(0, 0), "番号");
    EXPECT_EQ(targets->text(0, 1), "略称");
    EXPECT_EQ(targets->text(1, 0), "00001");
    EXPECT_EQ(targets->text(2, 1), "会議室B");
    EXPECT_EQ(targets->colWidth(1), 1800);
    const QStringList headers = {"SEQ", "開始時間", "終了時間", "区", "備考"};
    const QList<int> widths = {400, 800, 800, 300, 2700};
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(bandGrid()->text(0, col), headers[col]);
        EXPECT_EQ(bandGrid()->colWidth(col), widths[col]);
    }
    EXPECT_EQ(bandGrid()->rows(), 101);
    EXPECT_TRUE(shownBands().isEmpty());
    EXPECT_EQ(control<QRadioButton>("営業")->text(), "営業時間");
    EXPECT_EQ(control<QRadioButton>("休日")->text(), "休業時間");
}

TEST_F(BusinessHoursTest, ClickingATargetShowsItsBandsAndEmptiesTheBoxes)
{
    addRegular("00002", "09:00", "12:00", "0", "午前");
    addRegular("00002", "12:00", "13:00", "1");
    clickTarget(1);
    EXPECT_TRUE(rowPainted(targets, 1, 1, 10));
    EXPECT_TRUE(shownBands().isEmpty());
    typeBand("10", "00", "11", "00");
    box("備考")->setText("メモ");

    clickTarget(2);
    EXPECT_TRUE(rowPainted(targets, 1, 1, 15));
    EXPECT_TRUE(rowPainted(targets, 2, 1, 10));
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00", "12:00-13:00休"}));
    for (const char* name : {"開始時", "開始分", "終了時", "終了分", "備考"})
        EXPECT_EQ(box(name)->text(), "") << name;

    // Outside the targets: refused, the selection stays and a band goes to it.
    clickTarget(3);
    clickTarget(0);
    EXPECT_EQ(messageTexts(), (QStringList{"指定対象が有効範囲外です｡ "}));
    EXPECT_EQ(messages()[0].title, "");
    EXPECT_TRUE(rowPainted(targets, 2, 1, 10));
    typeBand("14", "00", "15", "00");
    save();
    EXPECT_EQ(regularRows().back(), (QStringList{"00002", "14:00", "15:00", "0", ""}));
}

TEST_F(BusinessHoursTest, ClickingABandLoadsItIntoTheBoxes)
{
    addRegular("00001", "09:00", "12:00", "0", "午前");
    addRegular("00001", "12:00", "13:00", "1", "昼休み");
    clickTarget(1);
    bandGrid()->clickCell(2, 0);
    EXPECT_TRUE(rowPainted(bandGrid(), 2, 4, 10));
    EXPECT_EQ(box("開始時")->text(), "12");
    EXPECT_EQ(box("開始分")->text(), "00");
    EXPECT_EQ(box("終了時")->text(), "13");
    EXPECT_EQ(box("終了分")->text(), "00");
    EXPECT_TRUE(control<QRadioButton>("休日")->isChecked());
    EXPECT_EQ(box("備考")->text(), "昼休み");

    bandGrid()->clickCell(1, 3);
    EXPECT_TRUE(rowPainted(bandGrid(), 2, 4, 15));
    EXPECT_TRUE(rowPainted(bandGrid(), 1, 4, 10));
    EXPECT_TRUE(control<QRadioButton>("営業")->isChecked());

    clearMessages();
    bandGrid()->clickCell(3, 1);
    EXPECT_EQ(messageTexts(), (QStringList{"指定時間帯が有効範囲外です｡ "}));
    EXPECT_EQ(box("開始時")->text(), "09");
}

TEST_F(BusinessHoursTest, ShortTimesAreStoredAndShownPadded)
{
    clickTarget(1);
    typeBand("9", "0", "１２", "0");
    box("備考")->setText("午前");
    choose("休日");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "予約対象は更新(登録)されました。"}));
    EXPECT_EQ(messages()[0].title, "時間帯登録");
    EXPECT_TRUE(messages()[0].question);
    EXPECT_EQ(messages()[1].title, "時間帯登録");
    EXPECT_EQ(messages()[1].icon, msg::Icon::Exclamation);
    EXPECT_EQ(regularRows(), (std::vector<QStringList>{{"00001", "09:00", "12:00", "1", "午前"}}));
    EXPECT_EQ(box("開始時")->text(), "09");
    EXPECT_EQ(box("開始分")->text(), "00");
    EXPECT_EQ(box("終了時")->text(), "12");
    EXPECT_EQ(box("終了分")->text(), "00");
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00休"}));
}

TEST_F(BusinessHoursTest, NoAnswerWritesNothing)
{
    clickTarget(1);
    typeBand("9", "0", "12", "0");
    save(false);
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。"}));
    EXPECT_EQ(count("営業"), 0);
}

TEST_F(BusinessHoursTest, TheOrderAndTheDisplayedHoursBoundTheBand)
{
    clickTarget(1);
    const struct {
        QStringList band;
        QString message;
        QList<int> colours;
    } refused[] = {
        {{"10", "00", "10", "00"}, "開始･終了時間の大小関係を正しく入力してください", {12, 12, 12, 12}},
        {{"11", "00", "10", "30"}, "開始･終了時間の大小関係を正しく入力してください", {12, 12, 12, 12}},
        {{"7", "30", "9", "00"}, "開始時間は表示開始時間より早い時間は入力出来ません", {12, 12, 0, 0}},
        {{"19", "00", "20", "15"}, "終了時間は表示終了時間より遅い時間は入力出来ません", {0, 0, 12, 12}},
        {{"19", "00", "21", "00"}, "終了時間は表示終了時間より遅い時間は入力出来ません", {0, 0, 12, 12}},
    };
    for (const auto& r : refused) {
        typeBand(r.band[0], r.band[1], r.band[2], r.band[3]);
        save();
        EXPECT_EQ(messageTexts(), (QStringList{r.message})) << r.band.join(' ').toStdString();
        EXPECT_EQ(messages()[0].title, "時間帯登録");
        EXPECT_EQ(boxColours(), r.colours) << r.band.join(' ').toStdString();
    }
    EXPECT_EQ(count("営業"), 0);

    // The whole displayed day, and a start within the first hour.
    typeBand("8", "00", "20", "00");
    save();
    EXPECT_EQ(messageTexts().last(), "予約対象は更新(登録)されました。");
    EXPECT_EQ(boxColours(), (QList<int>{0, 0, 0, 0}));
    clickTarget(2);
    typeBand("8", "30", "9", "00");
    save();
    EXPECT_EQ(messageTexts().last(), "予約対象は更新(登録)されました。");

    // 24:00 is the end of a day shown to its end, once the menu hands the new settings on.
    settings.DisplayEndHour = 24;
    forms::handSettings(settings);
    typeBand("20", "00", "24", "00");
    save();
    EXPECT_EQ(messageTexts().last(), "予約対象は更新(登録)されました。");
    EXPECT_EQ(regularRows(),
              (std::vector<QStringList>{
                  {"00001", "08:00", "20:00", "0", ""}, {"00002", "08:30", "09:00", "0", ""}, {"00002", "20:00", "24:00", "0", ""}}));
}

TEST_F(BusinessHoursTest, EachBoxIsCheckedAndTheFirstFailureGivesTheMessage)
{
    clickTarget(1);
    // Hour 25 is a number but no time of day.
    typeBand("25", "00", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"開始時間に正しく入力してください"}));
    EXPECT_EQ(boxColours(), (QList<int>{12, 12, 0, 0}));

    typeBand("10", "60", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"開始時間に正しく入力してください"}));

    // A later bad time replaces an earlier bad time...
    typeBand("25", "00", "12", "75");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"終了時間に正しく入力してください"}));
    EXPECT_EQ(boxColours(), (QList<int>{12, 12, 12, 12}));

    // ...but never the message of a box that is not a number.
    typeBand("あ", "00", "12", "x");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"開始時に正しく入力してください"}));
    EXPECT_EQ(boxColours(), (QList<int>{12, 12, 0, 12}));
    EXPECT_EQ(form->firstInTabOrder(), box("開始時"));

    typeBand("10", "", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"開始分に正しく入力してください"}));
    typeBand("10", "00", "", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"終了時に正しく入力してください"}));
    EXPECT_EQ(form->firstInTabOrder(), box("終了時"));
    typeBand("10", "00", "12", "半");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"終了分に正しく入力してください"}));
    EXPECT_EQ(count("営業"), 0);
}

TEST_F(BusinessHoursTest, LeavingABoxChecksItWithoutAMessage)
{
    clickTarget(1);
    form->show();
    form->activateWindow();
    QApplication::setActiveWindow(form);
    box("開始時")->setFocus();
    box("開始時")->setText("x");
    box("開始分")->setFocus();
    EXPECT_EQ(ui::textColourNumber(box("開始時")), 12);
    box("開始時")->setText("9");
    box("開始分")->setText("99");
    box("終了時")->setFocus();
    EXPECT_EQ(ui::textColourNumber(box("開始分")), 12);
    box("開始分")->setText("00");
    box("開始分")->setFocus();
    box("終了時")->setFocus();
    EXPECT_EQ(ui::textColourNumber(box("開始時")), 0);
    EXPECT_EQ(ui::textColourNumber(box("開始分")), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(BusinessHoursTest, ASaveKeysOnTargetAndStart)
{
    clickTarget(1);
    typeBand("09", "00", "12", "00");
    save();
    typeBand("09", "00", "11", "30");
    box("備考")->setText("短縮");
    save();
    EXPECT_EQ(regularRows(), (std::vector<QStringList>{{"00001", "09:00", "11:30", "0", "短縮"}}));
    typeBand("13", "00", "17", "00");
    box("備考")->clear();
    save();
    clickTarget(2);
    typeBand("09", "00", "10", "00");
    save();
    EXPECT_EQ(regularRows(),
              (std::vector<QStringList>{
                  {"00001", "09:00", "11:30", "0", "短縮"}, {"00001", "13:00", "17:00", "0", ""}, {"00002", "09:00", "10:00", "0", ""}}));
}

TEST_F(BusinessHoursTest, AnOverlapReplacesTheSuccessMessageAndLoadsTheBandInRed)
{
    addRegular("00001", "09:00", "12:00");
    clickTarget(1);
    typeBand("11", "00", "13", "00");
    box("備考")->setText("重なり");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "開始･終了時間の整合性を確認してください"}));
    EXPECT_EQ(messages()[1].title, "時間帯登録");
    EXPECT_EQ(count("営業"), 2);
    EXPECT_EQ(box("開始時")->text(), "11");
    EXPECT_EQ(box("終了時")->text(), "13");
    EXPECT_EQ(box("備考")->text(), "重なり");
    EXPECT_EQ(boxColours(), (QList<int>{12, 12, 12, 12}));

    // A gap, or bands that touch, raise nothing.
    clickTarget(2);
    typeBand("09", "00", "12", "00");
    save();
    typeBand("13", "00", "18", "00");
    save();
    typeBand("12", "00", "13", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "予約対象は更新(登録)されました。"}));
}

TEST_F(BusinessHoursTest, DeletingKeysOnTheStartInTheBoxes)
{
    addRegular("00001", "09:00", "12:00");
    addRegular("00001", "13:00", "18:00");
    clickTarget(1);
    bandGrid()->clickCell(2, 1);
    remove();
    EXPECT_EQ(messageTexts(), (QStringList{"指定時間を削除します。。"}));
    EXPECT_EQ(messages()[0].title, "時間帯登録");
    EXPECT_EQ(shownBands(), (QStringList{"09:00-12:00"}));

    typeBand("10", "00", "12", "00");
    remove();
    EXPECT_EQ(messageTexts(), (QStringList{"指定時間を削除します。。", "指定時間は登録されていません。"}));
    EXPECT_EQ(count("営業"), 1);

    typeBand("09", "00", "12", "00");
    remove(false);
    EXPECT_EQ(count("営業"), 1);
}

TEST_F(BusinessHoursTest, DeleteGoesOnAfterAFailedCheckWhileSaveStops)
{
    // Stored when the day was shown to 22:00: it cannot be saved again, but it can be deleted.
    addRegular("00001", "19:00", "22:00");
    clickTarget(1);
    bandGrid()->clickCell(1, 1);
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"終了時間は表示終了時間より遅い時間は入力出来ません"}));
    remove();
    EXPECT_EQ(messageTexts(), (QStringList{"終了時間は表示終了時間より遅い時間は入力出来ません", "指定時間を削除します。。"}));
    EXPECT_EQ(count("営業"), 0);
    EXPECT_TRUE(shownBands().isEmpty());

    // A start hour that is not a number: the message, the question, and nothing to delete.
    addRegular("00001", "09:00", "12:00");
    typeBand("x", "00", "12", "00");
    remove();
    EXPECT_EQ(messageTexts(),
              (QStringList{"開始時に正しく入力してください", "指定時間を削除します。。", "指定時間は登録されていません。"}));
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"開始時に正しく入力してください"}));
    EXPECT_EQ(count("営業"), 1);
}

TEST_F(BusinessHoursTest, NothingIsWrittenForATargetNotChosenHere)
{
    // A target chosen in another hours form is not this form's.
    chooseInSpecificHoursForm("会議室B");
    typeBand("09", "00", "12", "00");
    save();
    remove();
    clearMessages();
    press("表示");
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を選択して下さい。"}));
    EXPECT_EQ(messages()[0].title, "時間帯登録");
    EXPECT_EQ(count("営業"), 0);
}

TEST_F(BusinessHoursTest, TheFormKeepsItsTargetAndKindWhenAnotherHoursFormChoosesOthers)
{
    clickTarget(1);
    chooseInSpecificHoursForm("会議室B");
    typeBand("09", "00", "12", "00");
    save();
    EXPECT_EQ(regularRows(), (std::vector<QStringList>{{"00001", "09:00", "12:00", "0", ""}}));
    EXPECT_EQ(count("特定日"), 0);
}

TEST_F(BusinessHoursTest, TheMenuReopensTheFormInTheKindAsked)
{
    clickTarget(1);
    menu->営業時間登録_Click();
    EXPECT_EQ(forms::find<営業時間登>(), form);
    EXPECT_TRUE(rowPainted(targets, 1, 1, 10)); // the same form, as it was

    menu->日別営業時間登録_Click();
    EXPECT_EQ(form->windowTitle(), "曜日別営業時間登録");
    EXPECT_TRUE(rowPainted(targets, 1, 1, 15)); // loaded again, nothing chosen
    typeBand("09", "00", "12", "00");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"予約対象を選択して下さい。"}));
}

} // namespace
