// The status inquiry: picking a date (and a target) on the month calendar and opening the time
// inquiry for it.

#include "booking_fixture.h"
#include "reservations/status_inquiry_form.h"
#include "support/modal_script.h"

#include <QComboBox>
#include <QLabel>

namespace {

class StatusInquiryTest : public BookingTest {
protected:
    予約状照会* openStatus(InquiryKind kind) { return status = open<予約状照会>(kind); }
    QComboBox* combo() const { return status->findChild<QComboBox*>("対象略称"); }
    void pickTarget(const QString& abbrev)
    {
        const int index = combo()->findText(abbrev);
        ASSERT_GE(index, 0);
        combo()->setCurrentIndex(index);
        emit combo()->activated(index);
    }
    // Clicks the calendar cell of a day of the month shown.
    void pickDay(int day)
    {
        FlexGrid* calendar = status->findChild<FlexGrid*>("日付");
        for (int row = 1; row < calendar->rows(); ++row) {
            for (int col = 0; col < calendar->cols(); ++col) {
                if (calendar->text(row, col) == QString::number(day)) {
                    calendar->clickCell(row, col);
                    return;
                }
            }
        }
        FAIL() << "day " << day << " is not on the calendar";
    }

    予約状照会* status = nullptr;
};

TEST_F(StatusInquiryTest, ByTargetTheDateAndTheTargetMustBeChosen)
{
    openStatus(InquiryKind::ByTarget);
    EXPECT_EQ(status->windowTitle(), "予約状況照会");
    EXPECT_TRUE(combo()->isVisible());
    EXPECT_TRUE(status->findChild<QLabel*>("Label11")->isVisible());
    EXPECT_EQ(box(status, "表示年")->text(), "2026");
    EXPECT_EQ(box(status, "表示月")->text(), "12");

    press(status, "照会");
    EXPECT_EQ(messageTexts(), QStringList{"照会日付を選択して下さい。"});
    EXPECT_EQ(messages().back().title, "予約状照会");

    combo()->setCurrentIndex(-1);
    pickDay(8);
    EXPECT_EQ(box(status, "設定日")->text(), "2026/12/08");
    press(status, "照会");
    EXPECT_EQ(messageTexts().last(), "照会対象略称を選択して下さい。");
    EXPECT_EQ(forms::find<時間照会>(), nullptr);
}

TEST_F(StatusInquiryTest, ByTargetTheTimeInquiryShowsSevenDaysOfTheChosenTarget)
{
    book("00001", "2026/12/11", "09:00", "09:30", "-000001");
    book("00002", "2026/12/11", "10:00", "10:30", "-000002");
    openStatus(InquiryKind::ByTarget);
    pickTarget("会議室B");
    pickDay(10);
    QStringList labels;
    ModalScript script;
    script.form<時間照会>([&](時間照会* inquiry) {
        FlexGrid* grid = inquiry->findChild<FlexGrid*>("時間帯");
        for (int row = 2; row <= 8; ++row)
            labels << grid->text(row, 0);
        labels << box(inquiry, "対象略称")->text() << box(inquiry, "表示終了日")->text();
        // The counts are the chosen target's.
        labels << grid->text(3, column(9, 0)) << grid->text(3, column(10, 0));
        inquiry->close();
    });
    press(status, "照会");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(labels, (QStringList{"12/10(木)", "12/11(金)", "12/12(土)", "12/13(日)", "12/14(月)", "12/15(火)", "12/16(水)", "会議室B",
                                   "2026/12/16", "0", "1"}));
}

TEST_F(StatusInquiryTest, ByDayNoTargetIsAskedForAndEveryTargetIsARow)
{
    openStatus(InquiryKind::ByDay);
    EXPECT_FALSE(combo()->isVisible());
    EXPECT_FALSE(status->findChild<QLabel*>("Label11")->isVisible());
    EXPECT_FALSE(status->findChild<QLabel*>("Label対象略称")->isVisible());
    pickDay(9);
    QStringList rows;
    ModalScript script;
    script.form<時間照会>([&](時間照会* inquiry) {
        FlexGrid* grid = inquiry->findChild<FlexGrid*>("時間帯");
        rows << grid->text(2, 0) << grid->text(3, 0) << box(inquiry, "表示開始日")->text();
        inquiry->close();
    });
    press(status, "照会");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(rows, (QStringList{"会議室A", "会議室B", "2026/12/09(水)"}));
}

TEST_F(StatusInquiryTest, MonthsStepAndTheCalendarFollows)
{
    openStatus(InquiryKind::ByTarget);
    press(status, "次月");
    EXPECT_EQ(box(status, "表示年")->text(), "2027");
    EXPECT_EQ(box(status, "表示月")->text(), "1");
    pickDay(31);
    EXPECT_EQ(box(status, "設定日")->text(), "2027/01/31");
    box(status, "表示月")->setText("13");
    press(status, "前月");
    EXPECT_EQ(messageTexts().last(), "表示年月に正しい数字を入力してください");
    EXPECT_EQ(box(status, "表示年")->text(), "2027");
}

} // namespace
