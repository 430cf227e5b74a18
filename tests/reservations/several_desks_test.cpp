// Two desks on one database (a file, or a database on the server): desk A works through the forms,
// desk B is a connection of its own that commits while desk A's operator is answering a question,
// as another program would.

#include "booking_fixture.h"
#include "base/clock.h"
#include "base/input.h"
#include "records/calendar.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "reservations/cancellation_history_form.h"
#include "reservations/entry_form.h"
#include "reservations/status_inquiry_form.h"
#include "rules/reserver_numbering.h"
#include "store/store_error.h"
#include "ui/database_watch.h"
#include "ui/palette.h"

#include <QComboBox>
#include <QListWidget>
#include <QSet>
#include <QTest>
#include <chrono>
#include <deque>
#include <optional>
#include <thread>

namespace {

class SeveralDesksTest : public BookingTest, public ::testing::WithParamInterface<StoreKind> {
protected:
    bool onServer() const override { return GetParam() == StoreKind::Server; }

    void SetUp() override
    {
        BookingTest::SetUp();
        deskB = otherDesk();
        msg::setResponder([this](const msg::Shown& shown) {
            texts << shown.text;
            questions.push_back(shown);
            if (shown.question && meanwhile)
                std::exchange(meanwhile, {})();
            if (!shown.question || replies.empty())
                return true;
            const bool reply = replies.front();
            replies.pop_front();
            return reply;
        });
    }

    void bookOnDeskB(const QString& start, const QString& end, const QString& number, const QString& name)
    {
        records::Reservation r{"00001",
                               QDate(2026, 12, 8),
                               *input::timeFromText(start),
                               number,
                               true,
                               *input::timeFromText(end, true),
                               QDate(2026, 12, 8),
                               "会議室A",
                               name,
                               "",
                               ""};
        store::Transaction booking(*deskB);
        records::saveReservation(*deskB, r);
        booking.commit();
    }
    // The watch of `form` looks, once this desk has heard of desk B's commit: a server hands the
    // notice over a moment after the commit (waited for here up to a second).
    void followDeskB(QWidget* form)
    {
        const store::Database::ChangeStamp before = db().changeStamp();
        for (int wait = 0; onServer() && wait < 50 && db().changeStamp() == before; ++wait)
            QTest::qWait(20);
        form->findChild<DatabaseWatch*>()->poll();
    }
    // The entry form on 00001 at 2026/12/08 as the time inquiry hands it over.
    void openEntry(const QString& start, const QString& end, const QString& number = "", const QString& name = "", int acceptedBooked = -1)
    {
        const BookingSlot slot{
            roomA(), QDate(2026, 12, 8), *input::timeFromText(start), *input::timeFromText(end, true), true, !number.isEmpty(), number,
            name,    acceptedBooked};
        entry = open<予約者登>(slot, outcome);
        box(entry, "予約者名")->setText(name.isEmpty() ? "佐藤花子" : name);
        box(entry, "予約者カナ")->setText("サトウハナコ");
    }
    void save()
    {
        texts.clear();
        press(entry, "確定");
    }
    std::vector<QStringList> booked() const { return rows("予約", "Key_予約", {"予約_開始時間", "予約_終了時間", "予約_予約者名"}); }

    std::optional<store::Database> deskB;
    QStringList texts;                 // every message shown on desk A
    std::vector<msg::Shown> questions; // the same with their buttons
    std::deque<bool> replies;          // answers to desk A's questions (Yes when none is left)
    std::function<void()> meanwhile;   // what desk B does while desk A's next question waits
    EntryOutcome outcome;
    予約者登* entry = nullptr;
};

TEST_P(SeveralDesksTest, TheLastPlaceTakenByAnotherDeskWhileTheOperatorConfirmsIsAskedAbout)
{
    basic("00001", 2);
    book("00001", "2026/12/08", "10:00", "10:30", "-000001", "山田太郎");
    openEntry("10:00", "10:30");
    meanwhile = [this] { bookOnDeskB("10:00", "10:30", "-000002", "鈴木一郎"); };
    replies = {true, false};
    save();
    EXPECT_EQ(texts, (QStringList{"入力内容で更新します。", "予約人数がｵｰﾊﾞｰしています､登録を行いますか"}));
    EXPECT_EQ(booked(), (std::vector<QStringList>{{"10:00", "10:30", "山田太郎"}, {"10:00", "10:30", "鈴木一郎"}}));
    EXPECT_EQ(count("予約者"), 0) << "nothing of the refused booking is written";
}

TEST_P(SeveralDesksTest, ABookingAsksAboutEverySlotItCoversNotOnlyItsFirst)
{
    basic("00001", 0);
    book("00001", "2026/12/08", "10:30", "11:00", "-000001", "山田太郎");
    openEntry("10:00", "10:30");
    box(entry, "終了時間")->setText("11:00");
    replies = {false};
    save();
    EXPECT_EQ(texts, QStringList{"予約者が重複しています､登録を行いますか"});
    EXPECT_EQ(count("予約"), 1);

    save();
    EXPECT_EQ(texts, (QStringList{"予約者が重複しています､登録を行いますか", "入力内容で更新します。", "予約は更新(登録)されました。"}));
    EXPECT_EQ(booked(), (std::vector<QStringList>{{"10:00", "11:00", "佐藤花子"}, {"10:30", "11:00", "山田太郎"}}));
}

TEST_P(SeveralDesksTest, AnOverflowAgreedToAtTheInquiryIsAskedAgainOnlyWhenMoreWereBooked)
{
    basic("00001", 1);
    book("00001", "2026/12/08", "10:00", "10:30", "-000101", "山田太郎");
    openEntry("10:00", "10:30", "", "", 1); // the operator saw one and said Yes at 予約
    meanwhile = [this] { bookOnDeskB("10:00", "10:30", "-000002", "鈴木一郎"); };
    replies = {true, false};
    save();
    EXPECT_EQ(texts, (QStringList{"入力内容で更新します。", "予約人数がｵｰﾊﾞｰしています､登録を行いますか"}));
    EXPECT_EQ(count("予約"), 2);

    replies = {true, true};
    save();
    EXPECT_EQ(texts, (QStringList{"予約人数がｵｰﾊﾞｰしています､登録を行いますか", "入力内容で更新します。", "予約は更新(登録)されました。"}));
    EXPECT_EQ(count("予約"), 3);
}

TEST_P(SeveralDesksTest, AStaleEntryFormNeverBringsBackNorOverwritesWhatAnotherDeskChanged)
{
    basic("00001", 5);
    book("00001", "2026/12/08", "10:00", "11:00", "-000007", "佐藤花子", "窓側");
    openEntry("10:00", "11:00", "-000007", "佐藤花子");
    ASSERT_TRUE(records::removeReservation(*deskB, {"00001", QDate(2026, 12, 8), *input::timeFromText("10:00"), "-000007"}));
    save();
    EXPECT_EQ(texts, QStringList{"予約は登録されていません。"});
    EXPECT_EQ(count("予約"), 0);
    EXPECT_EQ(count("予約者"), 0);

    // Booked again by another desk, to another end, with another remark: told so, nothing
    // written, and the form shows the booking as it now is.
    bookOnDeskB("10:00", "11:30", "-000007", "佐藤花子");
    save();
    EXPECT_EQ(texts, QStringList{"予約は他の端末で変更されています。"});
    EXPECT_EQ(booked(), (std::vector<QStringList>{{"10:00", "11:30", "佐藤花子"}}));
    EXPECT_EQ(box(entry, "終了時間")->text(), "11:30");
}

TEST_P(SeveralDesksTest, TwoDesksIssuingTwoHundredReserversEachNeverShareANumber)
{
    // Each desk saves its reservers as the forms do: the number taken and the reserver written in
    // one transaction. A desk kept waiting past its timeout is told the file is busy, nothing of
    // that save is kept, and its operator saves again.
    auto desk = [&](store::Database db, QString name) {
        for (int i = 0; i < 200;) {
            try {
                store::Transaction saving(db);
                records::Reserver r;
                r.number =
                    予約NO発番::IssueReserverNumber(db, 2, QString(), 予約NO発番::SourceFor(settings, "00001", appclock::today())).number;
                r.name = name + QString::number(i);
                r.kana = "カナ";
                records::saveReserver(db, r);
                saving.commit();
                ++i;
            } catch (const store::StoreError&) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    std::thread a(desk, otherDesk(), QString("甲"));
    std::thread b(desk, otherDesk(), QString("乙"));
    a.join();
    b.join();
    QSet<QString> numbers;
    for (const QStringList& row : rows("予約者", "Key_予約者", {"予約者_予約者NO"}))
        numbers.insert(row.front());
    EXPECT_EQ(count("予約者"), 400);
    EXPECT_EQ(numbers.size(), 400);
    EXPECT_EQ(rows("発番", "Key_発番", {"発番_番号"}), std::vector<QStringList>{{"400"}});
}

TEST_P(SeveralDesksTest, AnOpenGridAndItsListFollowAnotherDesksBookingKeepingWhatIsChosen)
{
    basic("00001", 2);
    book("00001", "2026/12/08", "10:00", "10:30", "-000001", "山田太郎");
    openByTarget();
    slotGrid()->clickCell(2, column(10, 0));
    list()->clickCell(1, 0);
    bookOnDeskB("10:00", "11:00", "-000000", "鈴木一郎");
    followDeskB(inquiry);
    EXPECT_EQ(slotGrid()->text(2, column(10, 0)), "2");
    EXPECT_EQ(slotGrid()->text(2, column(10, 30)), "1");
    EXPECT_EQ(slotGrid()->cellBackColor(2, column(10, 0)), ui::qbColor(10)) << "the chosen cell stays marked";
    EXPECT_EQ(listed(), (QStringList{"-000000 10:00-11:00", "-000001 10:00-10:30"}));
    EXPECT_EQ(list()->cellBackColor(2, 0), ui::qbColor(10)) << "the chosen reservation stays chosen";
    EXPECT_EQ(list()->cellBackColor(1, 0), ui::qbColor(15));
}

TEST_P(SeveralDesksTest, TheReserverListFollowsAnotherDeskAndKeepsWhatIsPickedAndTyped)
{
    reserver("-000001", "佐々木一郎", "ササキイチロウ");
    openEntry("10:00", "10:30");
    box(entry, "予約者カナ")->setText("サ");
    auto* reservers = entry->findChild<QListWidget*>("予約者一覧");
    reservers->setCurrentRow(0);
    records::saveReserver(*deskB, {"-000002", "サトウイチロウ", "佐藤一郎", "", "", "", "", {}, records::Sex::Male, {}, ""});
    followDeskB(entry);
    ASSERT_EQ(reservers->count(), 2);
    EXPECT_EQ(reservers->item(1)->text(), "佐藤一郎");
    EXPECT_EQ(reservers->currentItem()->text(), "佐々木一郎");
    EXPECT_EQ(box(entry, "予約者名")->text(), "佐藤花子");
    EXPECT_EQ(box(entry, "予約者カナ")->text(), "サ");
}

TEST_P(SeveralDesksTest, TheStatusCalendarFollowsAnotherDesksClosureKeepingThePickedDay)
{
    auto* status = open<予約状照会>(InquiryKind::ByTarget);
    auto* target = status->findChild<QComboBox*>("対象略称");
    target->setCurrentIndex(target->findText("会議室A"));
    emit target->activated(target->currentIndex());
    FlexGrid* calendar = status->findChild<FlexGrid*>("日付");
    const auto cellOf = [calendar](int day) {
        for (int row = 1; row < calendar->rows(); ++row) {
            for (int col = 0; col < calendar->cols(); ++col) {
                if (calendar->text(row, col) == QString::number(day))
                    return std::pair(row, col);
            }
        }
        return std::pair(0, 0);
    };
    const auto [row8, col8] = cellOf(8);
    calendar->clickCell(row8, col8);
    const auto [row15, col15] = cellOf(15);
    ASSERT_NE(calendar->cellForeColor(row15, col15), ui::qbColor(12));

    records::saveClosureDays(*deskB, "00001", {QDate(2026, 12, 15)}, {true, "臨時休業"});
    followDeskB(status);
    EXPECT_EQ(calendar->cellForeColor(row15, col15), ui::qbColor(12)) << "the other desk's closure is shown";
    EXPECT_EQ(status->findChild<FlexGrid*>("休業日")->text(1, 3), "臨時休業");
    EXPECT_EQ(calendar->cellBackColor(row8, col8), ui::qbColor(10)) << "the picked day stays picked";
    EXPECT_EQ(box(status, "設定日")->text(), "2026/12/08");
}

// Every write of a booking (確定, 移動, 復元) checks inside its transaction what the form read and
// asked about: another desk that books the slot, closes the day or changes the booking between
// the form's read and its write is met by the question again (No by default) or told, and nothing
// is written.
TEST_P(SeveralDesksTest, EveryWriteOfABookingChecksAgainWhatAnotherDeskChangedMeanwhile)
{
    const QString overlap = "予約者が重複しています､登録を行いますか";
    const QString closed = "指定時間帯に休業時間が含まれています､登録を行いますか";
    basic("00001", 0);
    const auto takeTenOClock = [this] { bookOnDeskB("10:00", "10:30", "-000002", "鈴木一郎"); };
    const auto cancelled = [this] {
        book("00001", "2026/12/08", "10:00", "10:30", "-000001", "山田太郎");
        ASSERT_TRUE(records::cancelReservation(db(), {"00001", QDate(2026, 12, 8), {10, 0}, "-000001"}, records::CancelKind::Request));
        open<取消履歴>()->findChild<FlexGrid*>("取消一覧")->clickCell(1, 0);
    };
    const auto restore = [this] { press(forms::find<取消履歴>(), "復元"); };
    struct Write {
        const char* name;
        std::function<void()> prepare;   // desk A reads
        std::function<void()> meanwhile; // desk B, while desk A's first question waits
        std::function<void()> write;     // desk A writes
        QStringList asked;               // desk A's messages, answered Yes but the last (No)
        std::vector<QStringList> booked; // what the slot holds afterwards
    };
    const std::vector<Write> writes = {
        {"確定",
         [this] { openEntry("10:00", "10:30"); },
         takeTenOClock,
         [this] { save(); },
         {"入力内容で更新します。", overlap},
         {{"10:00", "10:30", "鈴木一郎"}}},
        {"移動",
         [this] {
             book("00001", "2026/12/08", "09:00", "09:30", "-000001", "山田太郎");
             openByTarget();
             slotGrid()->clickCell(2, column(9, 0));
             list()->clickCell(1, 0);
             press(inquiry, "移動");
         },
         takeTenOClock,
         [this] { slotGrid()->clickCell(2, column(10, 0)); },
         {"予約を移動します。", overlap},
         {{"09:00", "09:30", "山田太郎"}, {"10:00", "10:30", "鈴木一郎"}}},
        {"復元", cancelled, takeTenOClock, restore, {"指定の取消を復元します。", overlap}, {{"10:00", "10:30", "鈴木一郎"}}},
        {"復元 休業日",
         cancelled,
         [this] {
             records::saveClosureDays(*deskB, "00001", {QDate(2026, 12, 8)}, {true, "臨時休業"});
         },
         restore,
         {"指定の取消を復元します。", closed},
         {}},
        {"確定 備考",
         [this] {
             book("00001", "2026/12/08", "10:00", "10:30", "-000001", "山田太郎", "窓側");
             openEntry("10:00", "10:30", "-000001", "山田太郎");
             box(entry, "電話番号")->setText("03-1111-2222");
         },
         [this] {
             std::optional<records::Reservation> r = records::findReservation(*deskB, {"00001", QDate(2026, 12, 8), {10, 0}, "-000001"});
             r->remark = "通路側";
             records::saveReservation(*deskB, *r);
         },
         [this] { save(); },
         {"入力内容で更新します。", "予約は他の端末で変更されています。"},
         {{"10:00", "10:30", "山田太郎"}}},
    };
    for (const Write& w : writes) {
        SCOPED_TRACE(w.name);
        runSql("DELETE FROM 予約; DELETE FROM 予約取消; DELETE FROM カレンダー");
        w.prepare();
        meanwhile = w.meanwhile;
        texts.clear();
        questions.clear();
        replies = {true, false};
        w.write();
        EXPECT_EQ(texts, w.asked);
        EXPECT_EQ(booked(), w.booked);
        for (const msg::Shown& q : questions)
            EXPECT_TRUE(!q.question || q.defaultNo || q.text.endsWith("します。")) << "Enter must not override: " << q.text.toStdString();
        if (QString(w.name) == "確定 備考") {
            EXPECT_EQ(box(entry, "備考")->text(), "通路側") << "the form shows the booking as it is now";
        }
        for (QWidget* window : QApplication::topLevelWidgets())
            window->close();
        flushDeletes();
    }
}

ON_BOTH_STORES(SeveralDesksTest);

} // namespace
