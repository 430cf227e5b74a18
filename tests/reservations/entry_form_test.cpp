// The reservation entry form on its own, opened as the time inquiry opens it: its checks, the
// reserver it finds or makes, the reservation it writes, and what it refuses to change.

#include "booking_fixture.h"
#include "base/input.h"
#include "reservations/entry_form.h"
#include "ui/field_check.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace {

class EntryFormTest : public BookingTest {
protected:
    void SetUp() override
    {
        BookingTest::SetUp();
        reserver("-000007", "佐藤花子", "サトウハナコ", "2026/12/20", "常連");
        insert("発番", {{"発番_設備", "00000"}, {"発番_番号", "000007"}});
        basic("00001", 5); // as the slots the form is handed say: overlap allowed
    }

    // A new reservation of 00001 on `date`, or an existing one when a reserver is given, as the
    // time inquiry hands it over.
    void open(const QString& start = "10:00", const QString& end = "10:30", const QString& number = "", const QString& name = "")
    {
        const BookingSlot slot{
            roomA(), *input::date(date), *input::timeFromText(start), *input::timeFromText(end, true), true, !number.isEmpty(), number,
            name};
        form = DatabaseTest::open<予約者登>(slot, outcome);
    }
    void fill(const QString& name, const QString& kana)
    {
        box(form, "予約者名")->setText(name);
        box(form, "予約者カナ")->setText(kana);
    }
    void save()
    {
        clearMessages();
        press(form, "確定");
    }
    void focusLeaves(const QString& name)
    {
        form->activateWindow();
        QApplication::setActiveWindow(form);
        box(form, name)->setFocus();
        box(form, "備考")->setFocus();
    }
    QStringList reserverRow(const QString& number) const
    {
        for (const QStringList& row :
             rows("予約者", "Key_予約者", {"予約者_予約者NO", "予約者_予約者名", "予約者_年月日", "予約者_最新予約日"})) {
            if (row[0] == number)
                return row;
        }
        return {};
    }
    QString lastNumber() const { return rows("発番", "Key_発番", {"発番_番号"}).front().front(); }

    QString date = "2026/12/08";
    EntryOutcome outcome;
    予約者登* form = nullptr;
};

TEST_F(EntryFormTest, NamesAndKanaOfTwentyFiveCharactersPassAndTwentySixAreRefused)
{
    open();
    fill(QString(26, QChar(u'山')), QString(25, QChar(u'ヤ')));
    save();
    EXPECT_EQ(messageTexts(), QStringList{"予約者名は漢字25桁以内で入力して下さい"});
    EXPECT_EQ(messages().front().title, "予約者登録");
    EXPECT_EQ(ui::textColourNumber(box(form, "予約者名")), 12);
    EXPECT_EQ(form->firstInTabOrder(), box(form, "予約者名"));

    fill(QString(25, QChar(u'山')), QString(26, QChar(u'ヤ')));
    save();
    EXPECT_EQ(messageTexts(), QStringList{"予約者カナは25桁以内で入力して下さい"});
    EXPECT_EQ(ui::textColourNumber(box(form, "予約者名")), 0);
    EXPECT_EQ(count("予約"), 0);

    fill(QString(25, QChar(u'山')), QString(25, QChar(u'ヤ')));
    save();
    EXPECT_EQ(messageTexts().last(), "予約は更新(登録)されました。");
    EXPECT_EQ(count("予約"), 1);

    fill("  ", "");
    save();
    EXPECT_EQ(messageTexts(), QStringList{"予約者名に入力してください"});
    EXPECT_EQ(ui::textColourNumber(box(form, "予約者カナ")), 12);
}

TEST_F(EntryFormTest, TheEndMustBeATimeAfterTheStart)
{
    open();
    fill("田中", "タナカ");
    for (const char* end : {"10:00", "09:30", "10時", "25:00"}) {
        box(form, "終了時間")->setText(end);
        save();
        EXPECT_EQ(messageTexts(), QStringList{"終了時間に正しく入力してください"}) << end;
    }
    EXPECT_EQ(count("予約"), 0);
    box(form, "終了時間")->setText("１１：００");
    save();
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_開始時間", "予約_終了時間"}), (std::vector<QStringList>{{"10:00", "11:00"}}));
}

TEST_F(EntryFormTest, TheBirthDateMayBeEmptyAndOtherwiseGivesTheAge)
{
    open();
    fill("田中", "タナカ");
    save();
    EXPECT_EQ(reserverRow("-000008"), (QStringList{"-000008", "田中", "", "2026/12/08"}));

    for (const char* wrong : {"1990/02/30", "2027/01/01", "昭和"}) {
        box(form, "生年月日")->setText(wrong);
        save();
        EXPECT_EQ(messageTexts(), QStringList{"生年月日に正しく入力してください"}) << wrong;
    }
    box(form, "生年月日")->setText("1990/4/1");
    save();
    EXPECT_EQ(form->findChild<QLabel*>("年齢")->text(), "36才");
    EXPECT_EQ(reserverRow("-000008")[2], "1990/04/01");
}

TEST_F(EntryFormTest, AKnownReserverTakesNoNumberAndItsLatestDateOnlyMovesForward)
{
    open();
    fill("佐藤花子", "サトウハナコ");
    save();
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_予約者NO"}), (std::vector<QStringList>{{"-000007"}}));
    EXPECT_EQ(box(form, "予約者NO")->text(), "-000007");
    EXPECT_EQ(lastNumber(), "000007");
    EXPECT_EQ(reserverRow("-000007")[3], "2026/12/20");
    form->close();
    flushDeletes();

    date = "2026/12/22";
    open();
    fill("佐藤花子", "サトウハナコ");
    save();
    EXPECT_EQ(reserverRow("-000007")[3], "2026/12/22");
    EXPECT_EQ(count("予約者"), 1);
    EXPECT_EQ(lastNumber(), "000007");

    // A new reserver takes the next number, once.
    form->close();
    flushDeletes();
    open("11:00", "11:30");
    fill("木村", "キムラ");
    save();
    save();
    EXPECT_EQ(lastNumber(), "8");
    EXPECT_EQ(count("予約者"), 2);
}

TEST_F(EntryFormTest, ABookingTakenAfterMidnightIsDatedAndNumberedByTheDayItIsSaved)
{
    insert("マスタ", {{"マス_番号", 6}, {"マス_内容", "YYYY"}});
    setNow(QDateTime(QDate(2026, 12, 31), QTime(23, 50)));
    reloadSettings(); // the desk is started on New Year's Eve and left running
    setNow(QDateTime(QDate(2027, 1, 1), QTime(0, 10)));
    date = "2027/01/05";
    open();
    fill("木村", "キムラ");
    save();
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_予約者NO", "予約_受付日"}), (std::vector<QStringList>{{"2027-000008", "2027/01/01"}}));
}

TEST_F(EntryFormTest, SavingOverAnExistingKeyEditsThatReservation)
{
    book("00001", "2026/12/08", "10:00", "10:30", "-000007", "佐藤花子", "旧");
    open();
    fill("佐藤花子", "サトウハナコ");
    box(form, "備考")->setText("新");
    save();
    EXPECT_EQ(outcome.EntryState, 1);
    box(form, "終了時間")->setText("11:00");
    save();
    EXPECT_EQ(outcome.EntryState, 4);
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_予約者NO", "予約_終了時間", "予約_備考"}),
              (std::vector<QStringList>{{"-000007", "11:00", "新"}}));
}

TEST_F(EntryFormTest, AnExistingReservationKeepsItsSlotAndItsEnd)
{
    book("00001", "2026/12/08", "10:00", "11:00", "-000007", "佐藤花子");
    open("10:00", "11:00", "-000007", "佐藤花子");
    for (const char* name : {"対象番号", "対象略称", "対象名称", "予約日", "開始時間"})
        EXPECT_TRUE(box(form, name)->isReadOnly()) << name;
    EXPECT_EQ(form->findChild<QRadioButton*>("男")->isChecked(), true);

    box(form, "終了時間")->setText("11:30");
    focusLeaves("終了時間");
    EXPECT_EQ(messageTexts(), QStringList{"時間の修正は出来ません､削除して新たに登録して下さい"});
    save();
    EXPECT_EQ(messageTexts(), QStringList{"時間の修正は出来ません､削除して新たに登録して下さい"});
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_終了時間"}), (std::vector<QStringList>{{"11:00"}}));

    box(form, "終了時間")->setText("11:00");
    save();
    EXPECT_EQ(messageTexts().last(), "予約は更新(登録)されました。");
    EXPECT_EQ(outcome.EntryState, 1);
}

TEST_F(EntryFormTest, DeletingKeepsTheReservationAsACancellationAndKeepsTheReserver)
{
    book("00001", "2026/12/08", "10:00", "11:00", "-000007", "佐藤花子");
    open("10:00", "11:00", "-000007", "佐藤花子");
    answer({false});
    press(form, "削除");
    EXPECT_EQ(count("予約"), 1);
    clearMessages();
    press(form, "削除");
    EXPECT_EQ(messageTexts(), (QStringList{"登録内容を削除します。", "予約は削除されました。"}));
    EXPECT_EQ(outcome.EntryState, 3);
    EXPECT_EQ(count("予約"), 0);
    EXPECT_EQ(count("予約者"), 1);
    // The cancelled reservation is kept as it was, with the moment and kind "1".
    EXPECT_EQ(rows("予約取消", "Key_予約取消",
                   {"取消_年月日", "取消_開始時間", "取消_終了時間", "取消_予約者NO", "取消_予約者名", "取消_日時", "取消_区分"}),
              (std::vector<QStringList>{{"2026/12/08", "10:00", "11:00", "-000007", "佐藤花子", "2026/12/08 10:00:00", "1"}}));
    clearMessages();
    press(form, "削除");
    EXPECT_EQ(messageTexts().last(), "予約は登録されていません。");
}

TEST_F(EntryFormTest, AReserverNeverTakesAnotherReserversNumber)
{
    reserver("-000001", "山田太郎", "ヤマダタロウ");
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "山田太郎");
    open("10:00", "11:00", "-000001", "山田太郎");
    fill("佐藤花子", "サトウハナコ");
    save();
    // The reservation goes to 佐藤花子 under her own number; 山田太郎's stays as it was.
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_予約者NO", "予約者_予約者名"}),
              (std::vector<QStringList>{{"-000001", "山田太郎"}, {"-000007", "佐藤花子"}}));
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_予約者NO", "予約_予約者名"}),
              (std::vector<QStringList>{{"-000001", "山田太郎"}, {"-000007", "佐藤花子"}}));
    EXPECT_EQ(outcome.EntryState, 2);

    // A new name in an existing reservation is a new reserver with a number of its own.
    fill("新井", "アライ");
    save();
    EXPECT_EQ(reserverRow("-000008")[1], "新井");
    EXPECT_EQ(count("予約者"), 3);
}

TEST_F(EntryFormTest, TwoReserversThatShareANumberNeverOverwriteEachOthersBooking)
{
    // A file from before numbers were checked: two reservers hold -000001.
    reserver("-000001", "山田太郎", "ヤマダタロウ", "2026/12/08");
    reserver("-000001", "鈴木一郎", "スズキイチロウ", "2026/11/01");
    book("00001", "2026/12/08", "10:00", "11:00", "-000001", "山田太郎");
    open();
    fill("鈴木一郎", "スズキイチロウ");
    save();
    EXPECT_EQ(messageTexts(), (QStringList{"入力内容で更新します。", "この時間帯には同じ予約者NO「-000001」で別の予約者"
                                                                     "「山田太郎」の予約があります。予約は登録されませんでした。"}));
    EXPECT_EQ(rows("予約", "Key_予約", {"予約_予約者名", "予約_終了時間"}), (std::vector<QStringList>{{"山田太郎", "11:00"}}));
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_予約者名", "予約者_最新予約日"}),
              (std::vector<QStringList>{{"山田太郎", "2026/12/08"}, {"鈴木一郎", "2026/11/01"}, {"佐藤花子", "2026/12/20"}}));
}

TEST_F(EntryFormTest, ReserversAreFoundByKanaByListAndByNumber)
{
    reserver("-000002", "山本一郎", "ヤマモトイチロウ");
    reserver("-000001", "山田太郎", "ヤマダタロウ");
    insert("予約者", {{"予約者_予約者NO", "-000003"},
                      {"予約者_予約者名", "山口"},
                      {"予約者_予約者名カナ", "ヤマグチ"},
                      {"予約者_性別", 2},
                      {"予約者_年月日", "1980/05/05"},
                      {"予約者_電話番号", "03-1111-2222"}});
    open();
    auto* names = form->findChild<QListWidget*>("予約者一覧");
    box(form, "予約者カナ")->setText("ヤマ");
    QStringList listedNames;
    for (int i = 0; i < names->count(); ++i)
        listedNames << names->item(i)->text();
    EXPECT_EQ(listedNames, (QStringList{"山口", "山田太郎", "山本一郎"}));

    names->setCurrentRow(0);
    form->予約者一覧_Click();
    EXPECT_EQ(box(form, "予約者NO")->text(), "-000003");
    EXPECT_EQ(box(form, "電話番号")->text(), "03-1111-2222");
    EXPECT_TRUE(form->findChild<QRadioButton*>("女")->isChecked());
    EXPECT_EQ(form->findChild<QLabel*>("年齢")->text(), "46才");

    box(form, "予約者NO")->setText("-000001");
    box(form, "予約者NO")->setModified(true);
    form->予約者NO_LostFocus();
    EXPECT_EQ(box(form, "予約者名")->text(), "山田太郎");
    EXPECT_EQ(box(form, "電話番号")->text(), "");
    EXPECT_EQ(form->findChild<QLabel*>("年齢")->text(), "");

    box(form, "予約者NO")->setText("-999999");
    box(form, "予約者NO")->setModified(true);
    form->予約者NO_LostFocus();
    EXPECT_EQ(ui::textColourNumber(box(form, "予約者NO")), 12);
    EXPECT_TRUE(messages().empty());
}

TEST_F(EntryFormTest, AFailedWriteLeavesNeitherReserverNorNumberBehind)
{
    runSql("CREATE TRIGGER refuse BEFORE INSERT ON \"予約\" BEGIN SELECT RAISE(ABORT, 'full'); END");
    open();
    fill("田中", "タナカ");
    save();
    EXPECT_EQ(messages().back().icon, msg::Icon::Critical);
    EXPECT_EQ(count("予約"), 0);
    EXPECT_EQ(count("予約者"), 1); // 佐藤花子 only
    EXPECT_EQ(lastNumber(), "000007");
    EXPECT_EQ(outcome.EntryState, 0); // the time inquiry is told nothing was done
    EXPECT_EQ(box(form, "予約者NO")->text(), "");
}

} // namespace
