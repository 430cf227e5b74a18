// The road of one booking, from the menu through real windows and real message boxes: both
// inquiries, a slot, a new reserver, and the count shown on its colour afterwards.

#include "support/fixture.h"
#include "support/modal_script.h"
#include "app/menu.h"
#include "reservations/entry_form.h"
#include "reservations/status_inquiry_form.h"
#include "reservations/time_inquiry_form.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/palette.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class BookingRoadTest : public BothStoresTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        insertMeetingRooms(2);
        insert("営業", {{"営業_番号", "00000"}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}, {"営業_営業フラグ", "0"}});
        msg::clearResponder(); // real message boxes, answered as an operator would
        menu = openMenu();
    }

    void press(QWidget* window, const QString& name) { window->findChild<QPushButton*>(name)->click(); }
    QLineEdit* box(QWidget* window, const QString& name) { return window->findChild<QLineEdit*>(name); }

    void pickDay(QWidget* status, int day)
    {
        FlexGrid* calendar = status->findChild<FlexGrid*>("日付");
        for (int row = 1; row < calendar->rows(); ++row) {
            for (int col = 0; col < calendar->cols(); ++col) {
                if (calendar->text(row, col) == QString::number(day))
                    return calendar->clickCell(row, col);
            }
        }
        FAIL() << "day " << day << " is not on the calendar";
    }

    // In the open time inquiry: books the slot at (row, col) for a new reserver, then notes what
    // the cell shows once another cell is chosen, then closes the inquiry.
    void bookThrough(ModalScript& script, int row, int col, const QString& name, const QString& kana)
    {
        script
            .form<時間照会>([=, this](時間照会* inquiry) {
                FlexGrid* grid = inquiry->findChild<FlexGrid*>("時間帯");
                grid->clickCell(row, col);
                press(inquiry, "予約");
                grid->clickCell(row, col + 1);
                shownCount = grid->text(row, col);
                shownColour = grid->cellBackColor(row, col);
                press(inquiry, "終了");
            })
            .form<予約者登>([=, this](予約者登* entry) {
                box(entry, "予約者名")->setText(name);
                box(entry, "予約者カナ")->setText(kana);
                press(entry, "確定");
                press(entry, "終了");
            })
            .answer("Yes")  // 入力内容で更新します。
            .answer("OK")   // 予約は更新(登録)されました。
            .answer("Yes"); // 時間帯の表示を終了します
    }

    メニュー* menu = nullptr;
    QString shownCount;
    QColor shownColour;
};

// Grid column of a 30-minute slot with the display starting at 9:00.
int column(int hour, int minute)
{
    return (hour - 9) * 2 + minute / 30 + 1;
}

TEST_P(BookingRoadTest, ByTargetFromTheMenuToTheCountOnItsColour)
{
    press(menu, "対象照会");
    auto* status = forms::find<予約状照会>();
    ASSERT_NE(status, nullptr);
    auto* combo = status->findChild<QComboBox*>("対象略称");
    const int index = combo->findText("会議室A");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    pickDay(status, 8);

    ModalScript script;
    bookThrough(script, 2, column(10, 0), "山田太郎", "ヤマダタロウ");
    press(status, "照会");
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(script.texts(), (QStringList{"入力内容で更新します。", "予約は更新(登録)されました。", "時間帯の表示を終了します"}));
    EXPECT_EQ(shownCount, "1");
    EXPECT_EQ(shownColour, ui::qbColor(11)); // one of two places taken
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_終了時間", "予約_予約者名"}),
              (std::vector<QStringList>{{"00001", "2026/12/08", "10:00", "10:30", "山田太郎"}}));
    EXPECT_EQ(count("予約者"), 1);
    EXPECT_EQ(forms::find<時間照会>(), nullptr);
}

TEST_P(BookingRoadTest, ByDayFromTheMenuToTheCountOnItsColour)
{
    insert("予約", {{"予約_設定番号", "00002"},
                    {"予約_年月日", "2026/12/09"},
                    {"予約_開始時間", "14:00"},
                    {"予約_終了時間", "14:30"},
                    {"予約_予約者NO", "-000009"},
                    {"予約_予約者名", "先客"}});
    press(menu, "日別照会");
    auto* status = forms::find<予約状照会>();
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->findChild<QComboBox*>("対象略称")->isVisible());
    pickDay(status, 9);

    ModalScript script;
    bookThrough(script, 3, column(14, 0), "佐藤花子", "サトウハナコ");
    press(status, "照会");
    ASSERT_TRUE(script.finished());
    EXPECT_EQ(shownCount, "2");
    EXPECT_EQ(shownColour, ui::qbColor(12)); // the limit of two is reached
    EXPECT_EQ(count("予約"), 2);
}

ON_BOTH_STORES(BookingRoadTest);

} // namespace
