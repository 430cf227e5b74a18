// The time inquiry as the desk's working screen: who holds a slot on hover, stepping through
// periods in place, moving a booking, the question about closed time and the questions that name
// what they destroy.

#include "booking_fixture.h"
#include "reservations/entry_form.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolTip>

namespace {

const QString kClosedTime = "指定時間帯に休業時間が含まれています､登録を行いますか";

class WorkingScreenTest : public BookingTest {
protected:
    void choose(int row, int col) { slotGrid()->clickCell(row, col); }
    QString cell(int row, int col) const { return slotGrid()->text(row, col); }
    // Chooses the slot and the first reservation listed for it, and enters move mode.
    void startMove(int row, int col)
    {
        choose(row, col);
        list()->clickCell(1, 0);
        press(inquiry, "移動");
    }
    QStringList stored() const
    {
        QStringList texts;
        for (const QStringList& row : rows("予約", "Key_予約",
                                           {"予約_設定番号", "予約_略称", "予約_年月日", "予約_開始時間", "予約_終了時間", "予約_予約者NO",
                                            "予約_受付日", "予約_備考", "予約_重複"}))
            texts << row.join(" ");
        return texts;
    }
};

TEST_F(WorkingScreenTest, HoveringASlotNamesWhoHoldsItAndTheClosureOfAClosedDay)
{
    basic("00001", 3);
    insert("予約者",
           {{"予約者_予約者NO", "-000001"}, {"予約者_予約者名", "山田太郎"}, {"予約者_性別", 1}, {"予約者_電話番号", "03-1234-5678"}});
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "山田太郎", "打合せ");
    book("00001", "2026/12/08", "10:30", "11:00", "-000002", "佐藤");
    insert("カレンダー", {{"カレ_番号", "00000"}, {"カレ_年月日", QDate(2026, 12, 10)}, {"カレ_休日FLG", 1}, {"カレ_備考", "創立記念日"}});
    openByTarget();
    EXPECT_EQ(slotGrid()->cellToolTip(2, column(10, 0)), "10:00～11:00　山田太郎（-000001）　TEL 03-1234-5678　打合せ");
    EXPECT_EQ(slotGrid()->cellToolTip(2, column(10, 30)),
              "10:00～11:00　山田太郎（-000001）　TEL 03-1234-5678　打合せ\n10:30～11:00　佐藤（-000002）");
    EXPECT_EQ(slotGrid()->cellToolTip(4, column(10, 0)), "創立記念日");
    EXPECT_EQ(slotGrid()->cellToolTip(2, column(11, 0)), "");
    EXPECT_EQ(slotGrid()->cellToolTip(2, 0), "");

    // The mouse resting on the cell shows the same text.
    inquiry->show();
    const QRect rect = slotGrid()->cellRect(2, column(10, 0));
    QWidget* viewport = slotGrid()->viewport();
    QHelpEvent hover(QEvent::ToolTip, rect.center(), viewport->mapToGlobal(rect.center()));
    QApplication::sendEvent(viewport, &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("山田太郎（-000001）")) << QToolTip::text().toStdString();
    QToolTip::hideText();
}

// What a label draws: its text as it is, or what the markup shows when Qt takes the text for markup
// (an image as U+FFFC, <br> as a line break).
QString drawnText(const QLabel* label)
{
    if (label->textFormat() == Qt::PlainText || (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text())))
        return label->text();
    QTextDocument markup;
    markup.setHtml(label->text());
    return markup.toPlainText();
}

TEST_F(WorkingScreenTest, NamesAndRemarksThatLookLikeMarkupAreShownAsTypedOnHoverAndInQuestions)
{
    basic("00001", 3);
    reserver("-000001", "<b>太郎</b>", "ﾀﾛｳ");
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "<b>太郎</b>", "<img src=x>&amp;<br>次");
    book("00001", "2026/12/08", "10:00", "11:00", "-000002", "佐藤", "&lt;i&gt;");
    openByTarget();
    inquiry->show();
    const QRect rect = slotGrid()->cellRect(2, column(10, 0));
    QWidget* viewport = slotGrid()->viewport();
    QHelpEvent hover(QEvent::ToolTip, rect.center(), viewport->mapToGlobal(rect.center()));
    QApplication::sendEvent(viewport, &hover);
    const QLabel* tip = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            tip = qobject_cast<QLabel*>(window);
    }
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(drawnText(tip), "10:00～11:00　<b>太郎</b>（-000001）　<img src=x>&amp;<br>次\n10:00～11:00　佐藤（-000002）　&lt;i&gt;");
    QToolTip::hideText();

    // The question before a cancellation names the booking under its text.
    choose(2, column(10, 0));
    list()->clickCell(1, 0);
    msg::clearResponder();
    QString detail;
    whenModalShown([&](QWidget* box) {
        detail = drawnText(box->findChild<QLabel*>("qt_msgbox_informativelabel"));
        box->findChild<QAbstractButton*>("No")->click();
    });
    press(inquiry, "削除");
    EXPECT_TRUE(detail.contains("<b>太郎</b>")) << detail.toStdString();
}

TEST_F(WorkingScreenTest, StepButtonsMoveTheInquiryInPlaceAndTodayComesBack)
{
    basic("00001", 3);
    book("00001", "2026/12/16", "10:00", "10:30", "-000001");
    book("00002", "2026/12/09", "09:00", "09:30", "-000002");
    openByTarget();
    const QPushButton* next = inquiry->findChild<QPushButton*>("次期間");
    EXPECT_EQ(next->text(), "▶");
    EXPECT_EQ(inquiry->findChild<QPushButton*>("前期間")->text(), "◀");
    press(inquiry, "次期間");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/15");
    EXPECT_EQ(box(inquiry, "表示終了日")->text(), "2026/12/21");
    EXPECT_EQ(slotGrid()->text(3, 0), "12/16(水)");
    EXPECT_EQ(cell(3, column(10, 0)), "1");
    EXPECT_FALSE(slotGrid()->cellFramed(2, 0)); // today is not in this week
    press(inquiry, "前期間");
    press(inquiry, "前期間");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/01");
    press(inquiry, "今日");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/08");
    EXPECT_EQ(slotGrid()->text(2, 0), "12/8(火)");
    EXPECT_TRUE(slotGrid()->cellFramed(2, 0));
    EXPECT_FALSE(slotGrid()->cellFramed(3, 0));
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(inquiry->isVisible());

    inquiry->close();
    flushDeletes();
    openByDay();
    press(inquiry, "次期間");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/09(水)");
    EXPECT_EQ(cell(3, column(9, 0)), "1");
    choose(3, column(9, 0));
    EXPECT_EQ(listed(), QStringList{"-000002 09:00-09:30"});
    press(inquiry, "前期間");
    EXPECT_EQ(box(inquiry, "表示開始日")->text(), "2026/12/08(火)");
    EXPECT_EQ(cell(3, column(9, 0)), "0");
    EXPECT_TRUE(messages().empty());
}

TEST_F(WorkingScreenTest, AMoveWithinARowKeepsWhatWasTakenAndNeverCountsItself)
{
    basic("00001", 0); // no overlap: the booking's own slots must not count against it
    insert("予約", {{"予約_設定番号", "00001"},
                    {"予約_年月日", "2026/12/08"},
                    {"予約_開始時間", "10:00"},
                    {"予約_終了時間", "11:00"},
                    {"予約_予約者NO", "-000001"},
                    {"予約_予約者名", "山田太郎"},
                    {"予約_受付日", "2026/12/01"},
                    {"予約_備考", "打合せ"},
                    {"予約_略称", "会議室A"}});
    openByTarget();
    startMove(2, column(10, 0));
    EXPECT_TRUE(inquiry->findChild<QPushButton*>("移動")->isChecked());
    EXPECT_TRUE(inquiry->findChild<QLabel*>("移動案内")->isVisible());
    choose(2, column(10, 30));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "予約を移動します。");
    EXPECT_EQ(messages()[0].detail, "移動元: 2026/12/08 10:00～11:00 会議室A 山田太郎\n移動先: 2026/12/08 10:30～11:30 会議室A");
    EXPECT_TRUE(messages()[0].defaultNo);
    EXPECT_EQ(stored(), QStringList{"00001 会議室A 2026/12/08 10:30 11:30 -000001 2026/12/01 打合せ 0"});
    EXPECT_EQ(cell(2, column(10, 0)), "0");
    EXPECT_EQ(cell(2, column(11, 0)), "1");
    EXPECT_EQ(listed(), QStringList{"-000001 10:30-11:30"});
    EXPECT_FALSE(inquiry->findChild<QPushButton*>("移動")->isChecked());

    // Esc and a second press leave move mode: the next click only chooses.
    clearMessages();
    startMove(2, column(10, 30));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(inquiry, &escape);
    choose(2, column(14, 0));
    list()->clickCell(1, 0); // nothing listed there
    startMove(2, column(11, 0));
    press(inquiry, "移動");
    choose(2, column(15, 0));
    EXPECT_EQ(messageTexts(), QStringList{"指定対象が有効範囲外です｡ "});
    EXPECT_TRUE(inquiry->isVisible());
    EXPECT_EQ(stored(), QStringList{"00001 会議室A 2026/12/08 10:30 11:30 -000001 2026/12/01 打合せ 0"});
}

TEST_F(WorkingScreenTest, AMoveToAnotherTargetAsksWhatABookingThereAsks)
{
    basic("00002", 1);
    closedFrom("00002", "12:00", "13:00");
    reserver("-000001", "山田太郎", "ヤマダタロウ", "2026/12/08");
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "山田太郎", "打合せ");
    book("00002", "2026/12/08", "15:30", "16:00", "-000009");
    openByDay();
    startMove(2, column(10, 0));

    answer({false}); // over the limit at 15:30: No leaves everything as it was
    choose(3, column(15, 0));
    EXPECT_EQ(messageTexts(), QStringList{"予約人数がｵｰﾊﾞｰしています､登録を行いますか"});
    answer({false}); // over the break
    choose(3, column(11, 30));
    EXPECT_EQ(messageTexts().last(), kClosedTime);
    EXPECT_EQ(cell(2, column(10, 0)), "1");

    clearMessages();
    choose(3, column(11, 30));
    EXPECT_EQ(messageTexts(), (QStringList{kClosedTime, "予約を移動します。"}));
    EXPECT_EQ(stored(),
              (QStringList{"00002 会議室B 2026/12/08 11:30 12:30 -000001  打合せ 1", "00002  2026/12/08 15:30 16:00 -000009   "}));
    EXPECT_EQ(cell(2, column(10, 0)), "0");
    EXPECT_EQ(cell(3, column(11, 30)), "1");
    EXPECT_EQ(cell(3, column(12, 0)), "1");
    EXPECT_EQ(box(inquiry, "設定人数")->text(), "1");
    EXPECT_EQ(listed(), QStringList{"-000001 11:30-12:30"});
}

TEST_F(WorkingScreenTest, ABookingOverABreakIsSavedOnlyAfterAYes)
{
    basic("00001", 3);
    closedFrom("00001", "12:00", "13:00");
    openByTarget();
    choose(2, column(11, 30));
    whenModalShown([this](QWidget* modal) {
        auto* form = dynamic_cast<予約者登*>(modal);
        ASSERT_NE(form, nullptr);
        box(form, "予約者名")->setText("佐藤");
        box(form, "予約者カナ")->setText("サトウ");
        box(form, "終了時間")->setText("12:30");
        answer({false});
        form->確定_Click();
        EXPECT_EQ(messageTexts(), QStringList{kClosedTime});
        EXPECT_EQ(count("予約"), 0);
        box(form, "終了時間")->setText("12:00"); // up to the break: nothing to ask
        form->確定_Click();
        EXPECT_EQ(messageTexts().mid(1), (QStringList{"入力内容で更新します。", "予約は更新(登録)されました。"}));
        clearMessages();
        box(form, "終了時間")->setText("12:30");
        form->確定_Click();
        EXPECT_EQ(messageTexts().first(), kClosedTime);
        form->close();
    });
    press(inquiry, "予約");
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_終了時間"}), (std::vector<QStringList>{{"12:30"}}));
    EXPECT_EQ(cell(2, column(12, 0)), "1");
}

TEST_F(WorkingScreenTest, QuestionsThatDestroyNameTheReservationAndDefaultToNo)
{
    basic("00001", 3);
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "山田太郎");
    book("00001", "2026/12/08", "14:00", "15:00", "-000002", "佐藤");
    openByTarget();
    choose(2, column(10, 0));
    list()->clickCell(1, 0);
    answer({false});
    press(inquiry, "削除");
    choose(2, column(14, 0));
    list()->clickCell(1, 0);
    whenModalShown([this](QWidget* modal) {
        answer({false});
        modal->findChild<QPushButton*>("削除")->click();
        modal->close();
    });
    press(inquiry, "選択");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "指定予約を取り消します。");
    EXPECT_EQ(messages()[0].detail, "2026/12/08 10:00～11:00 会議室A 山田太郎");
    EXPECT_EQ(messages()[1].text, "登録内容を削除します。");
    EXPECT_EQ(messages()[1].detail, "2026/12/08 14:00～15:00 会議室A 佐藤");
    EXPECT_TRUE(messages()[0].defaultNo && messages()[1].defaultNo);
    EXPECT_EQ(count("予約"), 2);
}

} // namespace
