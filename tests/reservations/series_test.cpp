// Recurring bookings on both stores: a series made in 定期予約登録 from the booking of a Monday, and
// what the entry form's 確定 and 削除 of one of its bookings do to the rest.

#include "booking_fixture.h"
#include "base/input.h"
#include "records/reservations.h"
#include "records/series.h"
#include "reservations/entry_form.h"
#include "reservations/reserver_inquiry_form.h"
#include "reservations/series_form.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

class SeriesTest : public BookingTest, public ::testing::WithParamInterface<StoreKind> {
protected:
    bool onServer() const override { return GetParam() == StoreKind::Server; }

    void SetUp() override
    {
        BookingTest::SetUp();
        basic("00001", 1);
        reserver("-000007", "佐藤花子", "サトウハナコ", "2026/12/14");
        book("00001", "2026/12/14", "10:00", "11:00", "-000007", "佐藤花子");
    }

    // 定期予約登録 for the Monday booking of 2026/12/14 10:00-11:00, weekly for `dates` dates,
    // with 日程作成 pressed.
    定期予約登録* plan(int dates, bool skipHolidays = false)
    {
        records::Reservation first = *records::findReservation(db(), {"00001", QDate(2026, 12, 14), {10, 0}, "-000007"});
        first.abbrev = roomA().abbrev;
        form = open<定期予約登録>(first, roomA(), made);
        form->findChild<QRadioButton*>("回数指定")->click();
        box(form, "回数")->setText(QString::number(dates));
        if (skipHolidays)
            form->findChild<QCheckBox*>("祝日を除く")->click();
        press(form, "日程作成");
        return form;
    }
    // The date, state and tick of every date 日程作成 listed.
    QStringList schedule() const
    {
        const FlexGrid* grid = form->findChild<FlexGrid*>("日程一覧");
        QStringList listed;
        for (int row = 1; row < grid->rows(); ++row)
            listed << grid->text(row, 0) + " " + grid->text(row, 1) + " " + grid->text(row, 2);
        return listed;
    }
    void registerWeekly(int dates)
    {
        plan(dates);
        press(form, "登録");
        ASSERT_TRUE(made.registered) << messageTexts().join('\n').toStdString();
        clearMessages();
    }

    // The entry form on the reserver's booking of `date`, its remark changed to `remark` (or
    // deleted when empty) and the question about the series answered with `reach`.
    void changeBooking(const QString& date, const QString& reach, const QString& remark = "")
    {
        const BookingSlot slot{roomA(), *input::date(date), {10, 0}, {11, 0}, true, true, "-000007", "佐藤花子"};
        EntryOutcome outcome;
        予約者登* entry = open<予約者登>(slot, outcome);
        answerWith(reach);
        if (remark.isEmpty()) {
            press(entry, "削除");
        } else {
            box(entry, "備考")->setText(remark);
            press(entry, "確定");
        }
        entry->close();
    }
    // The reserver's bookings: date and remark.
    std::vector<QStringList> bookings() const
    {
        std::vector<QStringList> found;
        for (const QStringList& row : rows("予約", "Key_予約", {"予約_年月日", "予約_予約者NO", "予約_備考"})) {
            if (row[1] == "-000007")
                found.push_back({row[0], row[2]});
        }
        return found;
    }
    // Series number, date, state and reason of every date kept.
    std::vector<QStringList> seriesDates() const
    {
        return rows("定期日程", "Key_定期日程", {"日程_定期番号", "日程_年月日", "日程_状態", "日程_理由"});
    }

    SeriesOutcome made;
    定期予約登録* form = nullptr;
};

TEST_P(SeriesTest, AFullAClosedAndAHolidayDateAreListedAndLeftOutAndTheRestIsBooked)
{
    book("00001", "2026/12/21", "10:30", "11:30", "-000001", "他の予約者");
    insert("カレンダー", {{"カレ_番号", "00000"}, {"カレ_年月日", "2026/12/28"}, {"カレ_休日FLG", 1}, {"カレ_備考", "年末休業"}});
    plan(6, true);
    EXPECT_EQ(schedule(), (QStringList{"2026/12/14（月） 予約済 ✓", "2026/12/21（月） 満員 ", "2026/12/28（月） 休業日 ",
                                       "2027/01/04（月） 予約可 ✓", "2027/01/11（月） 祝日：成人の日 ", "2027/01/18（月） 予約可 ✓"}));

    press(form, "登録");
    EXPECT_EQ(messageTexts().last(), "定期予約を登録しました。（登録 3件／除外 3件）");
    EXPECT_EQ(bookings(), (std::vector<QStringList>{{"2026/12/14", ""}, {"2027/01/04", ""}, {"2027/01/18", ""}}));
    EXPECT_EQ(seriesDates(), (std::vector<QStringList>{{"1", "2026/12/14", "1", ""},
                                                       {"1", "2026/12/21", "2", "満員"},
                                                       {"1", "2026/12/28", "2", "休業日"},
                                                       {"1", "2027/01/04", "1", ""},
                                                       {"1", "2027/01/11", "2", "祝日：成人の日"},
                                                       {"1", "2027/01/18", "1", ""}}));
    EXPECT_EQ(rows("定期予約", "Key_定期予約", {"定期_番号", "定期_規則", "定期_開始日", "定期_終了日"}),
              (std::vector<QStringList>{{"1", "FREQ=WEEKLY;WKST=MO;BYDAY=MO;COUNT=6", "2026/12/14", "2027/01/18"}}));
    // The reserver keeps bookings until the last date, and the period-end purge knows it.
    EXPECT_EQ(rows("予約者", "Key_予約者", {"予約者_最新予約日"}), (std::vector<QStringList>{{"2027/01/18"}}));
}

TEST_P(SeriesTest, ADateAnotherDeskFilledAfterThePreviewIsAskedAboutAndTheRestIsBooked)
{
    plan(3);
    records::Reservation other{"00001", QDate(2026, 12, 28), {10, 0}, "-000001"};
    other.end = {11, 0};
    other.reserverName = "他の予約者";
    records::saveReservation(otherDesk(), other);

    answer({false});
    press(form, "登録");
    ASSERT_GE(messages().size(), 2u);
    EXPECT_EQ(messages().front().text, "予約人数がｵｰﾊﾞｰしています､登録を行いますか");
    EXPECT_TRUE(messages().front().detail.startsWith("2026/12/28")) << messages().front().detail.toStdString();
    EXPECT_EQ(messageTexts().last(), "定期予約を登録しました。（登録 2件／除外 1件）");
    EXPECT_EQ(bookings(), (std::vector<QStringList>{{"2026/12/14", ""}, {"2026/12/21", ""}}));
    EXPECT_EQ(seriesDates()[2], (QStringList{"1", "2026/12/28", "2", "満員"}));
}

TEST_P(SeriesTest, AChangedAndADeletedDateSurviveAChangeOfTheWholeSeries)
{
    registerWeekly(4);
    changeBooking("2026/12/21", "この予約のみ", "この日だけ");
    changeBooking("2026/12/28", "この予約のみ");
    EXPECT_EQ(count("予約取消"), 1);

    changeBooking("2026/12/14", "すべて", "全体");
    EXPECT_EQ(messageTexts().last(), "予約は更新(登録)されました。（定期予約 2件を更新、個別に変更された 1件はそのままです）");
    EXPECT_EQ(bookings(), (std::vector<QStringList>{{"2026/12/14", "全体"}, {"2026/12/21", "この日だけ"}, {"2027/01/04", "全体"}}));
    EXPECT_EQ(seriesDates(),
              (std::vector<QStringList>{
                  {"1", "2026/12/14", "1", ""}, {"1", "2026/12/21", "4", ""}, {"1", "2026/12/28", "3", ""}, {"1", "2027/01/04", "1", ""}}));
}

TEST_P(SeriesTest, AChangeOfTheLaterBookingsSplitsTheSeriesThere)
{
    registerWeekly(4);
    changeBooking("2026/12/28", "以降すべて", "年明けから");
    EXPECT_EQ(bookings(), (std::vector<QStringList>{
                              {"2026/12/14", ""}, {"2026/12/21", ""}, {"2026/12/28", "年明けから"}, {"2027/01/04", "年明けから"}}));
    EXPECT_EQ(rows("定期予約", "Key_定期予約", {"定期_番号", "定期_規則", "定期_開始日", "定期_終了日", "定期_備考"}),
              (std::vector<QStringList>{{"1", "FREQ=WEEKLY;WKST=MO;BYDAY=MO;UNTIL=20261227", "2026/12/14", "2026/12/21", ""},
                                        {"2", "FREQ=WEEKLY;WKST=MO;BYDAY=MO;UNTIL=20270104", "2026/12/28", "2027/01/04", "年明けから"}}));
    EXPECT_EQ(seriesDates(),
              (std::vector<QStringList>{
                  {"1", "2026/12/14", "1", ""}, {"1", "2026/12/21", "1", ""}, {"2", "2026/12/28", "1", ""}, {"2", "2027/01/04", "1", ""}}));
}

TEST_P(SeriesTest, ABookingOfASeriesIsMarkedInTheTimeInquiryAndTheSeriesListedOnTheReserverCard)
{
    registerWeekly(2);
    openByTarget(QDate(2026, 12, 21));
    slotGrid()->clickCell(2, column(10, 0));
    EXPECT_EQ(list()->text(1, 5), "定");
    EXPECT_EQ(list()->cellToolTip(1, 0), "定期：毎週月曜 10:00～11:00");

    auto* card = open<予約者照会>();
    box(card, "検索")->setText("-000007");
    press(card, "検索開始");
    const FlexGrid* listed = card->findChild<FlexGrid*>("定期一覧");
    ASSERT_EQ(listed->rows(), 2);
    EXPECT_EQ((QStringList{listed->text(1, 0), listed->text(1, 1), listed->text(1, 2), listed->text(1, 3)}),
              (QStringList{"会議室A", "毎週月曜 10:00～11:00", "2026/12/14～2026/12/21", "2件"}));
}

ON_BOTH_STORES(SeriesTest);

} // namespace
