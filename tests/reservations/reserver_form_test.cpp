// Reserver maintenance: the kana search, showing, saving by name, and deleting with the warning
// about the reserver's own reservations from today on.

#include "booking_fixture.h"
#include "app/menu.h"
#include "reservations/reserver_form.h"
#include "rules/sheet_csv.h"
#include "store/file_tools.h"
#include "ui/field_check.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace {

class ReserverFormTest : public BookingTest {
protected:
    void SetUp() override
    {
        BookingTest::SetUp();
        reserver("-000003", "山本一郎", "ヤマモトイチロウ", "2026/11/30");
        reserver("-000001", "山田太郎", "ヤマダタロウ", "2026/12/08");
        reserver("-000002", "青木", "アオキ");
        insert("発番", {{"発番_設備", "00000"}, {"発番_番号", "000003"}});
    }
    void open()
    {
        openMenu()->findChild<QPushButton*>("予約者登録")->click();
        form = forms::find<予約者更新>();
        ASSERT_NE(form, nullptr);
        names = form->findChild<QListWidget*>("予約者一覧");
    }
    QStringList listedNames() const
    {
        QStringList texts;
        for (int i = 0; i < names->count(); ++i)
            texts << names->item(i)->text();
        return texts;
    }
    void pick(const QString& name)
    {
        names->setCurrentItem(names->findItems(name, Qt::MatchExactly).value(0));
        form->予約者一覧_Click();
    }
    void press(const QString& name)
    {
        clearMessages();
        BookingTest::press(form, name);
    }
    QString text(const QString& name) const { return box(form, name)->text(); }
    std::vector<QStringList> reservers() const
    {
        return rows("予約者", "Key_予約者",
                    {"予約者_予約者NO", "予約者_予約者名", "予約者_予約者名カナ", "予約者_最新予約日", "予約者_対象番号"});
    }

    予約者更新* form = nullptr;
    QListWidget* names = nullptr;
};

TEST_F(ReserverFormTest, TheKanaSearchListsByPrefixInKanaOrder)
{
    open();
    EXPECT_EQ(form->windowTitle(), "予約者更新");
    EXPECT_EQ(listedNames(), (QStringList{"青木", "山田太郎", "山本一郎"}));
    box(form, "予約者カナ")->setText("ヤマ");
    EXPECT_EQ(listedNames(), (QStringList{"山田太郎", "山本一郎"}));
    box(form, "予約者カナ")->setText("ヤマモ");
    EXPECT_EQ(listedNames(), QStringList{"山本一郎"});
    box(form, "予約者カナ")->setText("ワ");
    EXPECT_TRUE(listedNames().isEmpty());
    box(form, "予約者カナ")->clear();
    EXPECT_EQ(listedNames().size(), 3);
}

// The list finds kana as the reserver card does, however it was stored and however it is typed:
// an input method gives hiragana first.
TEST_F(ReserverFormTest, TheKanaSearchTakesHiraganaKatakanaAndHalfWidthAlike)
{
    reserver("-000004", "佐藤", "サトウ");
    reserver("-000005", "里見", "さとみ");
    reserver("-000006", "里中", "ｻﾄﾅｶ");
    open();
    for (const QString typed : {"さと", "サト", "ｻﾄ", "ｻﾄ "}) {
        box(form, "予約者カナ")->setText(typed);
        EXPECT_EQ(listedNames(), (QStringList{"佐藤", "里中", "里見"})) << typed.toStdString();
    }
    box(form, "予約者カナ")->setText("さとみ");
    EXPECT_EQ(listedNames(), QStringList{"里見"});
}

TEST_F(ReserverFormTest, PickingAReserverShowsItAndTheAgeCountsYearNumbers)
{
    insert("予約者", {{"予約者_予約者NO", "-000004"},
                      {"予約者_予約者名", "大晦日"},
                      {"予約者_予約者名カナ", "オオミソカ"},
                      {"予約者_年月日", "2026/12/31"},
                      {"予約者_性別", 2},
                      {"予約者_住所", "東京都"},
                      {"予約者_備考", "要連絡"}});
    setNow(QDateTime(QDate(2027, 1, 1), QTime(9, 0)));
    open();
    pick("大晦日");
    EXPECT_EQ(text("予約者NO"), "-000004");
    EXPECT_EQ(text("予約者カナ"), "オオミソカ");
    EXPECT_EQ(text("住所"), "東京都");
    EXPECT_EQ(text("備考"), "要連絡");
    EXPECT_TRUE(form->findChild<QRadioButton*>("女")->isChecked());
    EXPECT_EQ(form->findChild<QLabel*>("年齢")->text(), "1才");

    // A name that went away after the list was made.
    box(form, "予約者カナ")->setText("アオ");
    runSql("DELETE FROM \"予約者\" WHERE \"予約者_予約者名\" = '青木'");
    pick("青木");
    EXPECT_EQ(messageTexts(), QStringList{"指定された予約者は登録されていません。"});
    EXPECT_EQ(messages().front().title, "予約者更新");
}

TEST_F(ReserverFormTest, ChecksRunOnLeavingABoxAndAgainOnSaving)
{
    open();
    form->activateWindow();
    QApplication::setActiveWindow(form);
    box(form, "予約者名")->setFocus();
    box(form, "生年月日")->setText("2026/13/01");
    box(form, "生年月日")->setFocus();
    box(form, "住所")->setFocus();
    EXPECT_EQ(ui::textColourNumber(box(form, "予約者名")), 12);
    EXPECT_EQ(ui::textColourNumber(box(form, "生年月日")), 12);
    EXPECT_TRUE(messages().empty());

    box(form, "予約者名")->setText(QString(26, QChar(u'鈴')));
    box(form, "予約者カナ")->setText("スズキ");
    press("確定");
    EXPECT_EQ(messageTexts(), QStringList{"予約者名は漢字25桁以内で入力して下さい"});
    box(form, "予約者名")->setText(QString(25, QChar(u'鈴')));
    press("確定");
    EXPECT_EQ(messageTexts(), QStringList{"生年月日に正しく入力してください"});
    EXPECT_EQ(reservers().size(), 3u);
}

TEST_F(ReserverFormTest, ANewNameGetsANewNumberWithoutReservationFacts)
{
    open();
    box(form, "予約者名")->setText("鈴木");
    box(form, "予約者カナ")->setText("スズキ");
    answer({false});
    press("確定");
    EXPECT_EQ(reservers().size(), 3u);
    press("確定");
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "予約は更新(登録)されました。"}));
    EXPECT_EQ(text("予約者NO"), "-000004");
    EXPECT_EQ(reservers().back(), (QStringList{"-000004", "鈴木", "スズキ", "", ""}));
    EXPECT_EQ(rows("発番", "Key_発番", {"発番_番号"}), (std::vector<QStringList>{{"4"}}));
}

TEST_F(ReserverFormTest, SavingByNameEditsThatReserverAndRenamingMakesANewOne)
{
    open();
    pick("山田太郎");
    box(form, "予約者カナ")->setText("ヤマダ タロウ");
    press("確定");
    EXPECT_EQ(reservers()[0], (QStringList{"-000001", "山田太郎", "ヤマダ タロウ", "2026/12/08", ""}));

    // Another reserver's name: that reserver is edited and keeps its number.
    box(form, "予約者名")->setText("青木");
    press("確定");
    EXPECT_EQ(reservers()[1], (QStringList{"-000002", "青木", "ヤマダ タロウ", "", ""}));
    EXPECT_EQ(text("予約者NO"), "-000002");

    box(form, "予約者カナ")->setText("ヤマモ");
    pick("山本一郎");
    box(form, "予約者名")->setText("山本一朗");
    press("確定");
    EXPECT_EQ(text("予約者NO"), "-000004");
    EXPECT_EQ(reservers().size(), 4u);
    EXPECT_EQ(reservers()[2][1], "山本一郎");
}

TEST_F(ReserverFormTest, OnlyTheReserversOwnReservationsFromTodayOnAreWarnedAbout)
{
    book("00001", "2026/12/07", "10:00", "11:00", "-000003"); // 山本: yesterday
    book("00002", "2026/12/25", "10:00", "11:00", "-000002"); // 青木: ahead
    book("00001", "2026/12/08", "09:00", "10:00", "-000001"); // 山田: today
    open();

    pick("山本一郎");
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"登録内容を削除します。", "予約者は削除されました。"}));
    EXPECT_EQ(reservers().size(), 2u);
    // The form is emptied and lists everybody again.
    EXPECT_EQ(text("予約者NO"), "");
    EXPECT_EQ(text("予約者名"), "");
    EXPECT_EQ(form->findChild<QLabel*>("年齢")->text(), "");
    EXPECT_EQ(listedNames(), (QStringList{"青木", "山田太郎"}));

    pick("山田太郎");
    answer({true, false});
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"登録内容を削除します。", "本日以降の予約があります､削除しますか？"}));
    EXPECT_EQ(reservers().size(), 2u);
    answer({true, true});
    press("削除");
    EXPECT_EQ(messageTexts().last(), "予約者は削除されました。");
    EXPECT_EQ(count("予約"), 3); // reservations are never touched
}

TEST_F(ReserverFormTest, DeletingANumberThatIsNotRegisteredSaysSo)
{
    open();
    box(form, "予約者NO")->setText("-000099");
    press("削除");
    EXPECT_EQ(messageTexts(), (QStringList{"登録内容を削除します。", "予約者として登録されていません。"}));
    EXPECT_EQ(messages().back().title, "予約者更新");
    EXPECT_EQ(reservers().size(), 3u);
}

// Neither 男 nor 女 chosen: 0 is stored and shown as neither, and the check and the export take it.
TEST_F(ReserverFormTest, ASexNeverChosenIsStoredAndShownAsNeither)
{
    open();
    box(form, "予約者名")->setText("鈴木");
    box(form, "予約者カナ")->setText("スズキ");
    press("確定");
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_予約者名", "予約者_性別"}).back(), (QStringList{"鈴木", "0"}));

    box(form, "予約者カナ")->clear();
    pick("山田太郎");
    EXPECT_TRUE(form->findChild<QRadioButton*>("男")->isChecked());
    pick("鈴木");
    EXPECT_FALSE(form->findChild<QRadioButton*>("男")->isChecked());
    EXPECT_FALSE(form->findChild<QRadioButton*>("女")->isChecked());
    EXPECT_EQ(store::checkDatabaseFile(store::kMainFile), QStringList());
    ASSERT_TRUE(sheets::writeReserversCsv(db(), "reservers.csv", nullptr));
    QFile csv("reservers.csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(csv.readAll()).contains(",鈴木,スズキ,,,,,,,,\r\n"));
}

} // namespace
