// A branch desk reaches its server over a slow link, where an action costs what its round trips
// cost. Each action of the desk, done through its real windows on a database of 100 targets, is
// counted by a link in front of the test server and kept within its budget of round trips.

#include "support/linked_desk.h"
#include "app/menu.h"
#include "reservations/entry_form.h"
#include "reservations/reserver_inquiry_form.h"
#include "reservations/time_inquiry_form.h"
#include "ui/flex_grid.h"
#include "views/target_list.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace {

enum class Action { StartUp, OneDayGrid, SevenDayGrid, Booking, ReserverLookUp, IdleWatch };

struct Budget {
    Action action;
    const char* name;
    int roundTrips;
};

void PrintTo(const Budget& budget, std::ostream* out)
{
    *out << budget.name << " within " << budget.roundTrips;
}

class RoundTripBudgetTest : public LinkedDeskTest, public ::testing::WithParamInterface<Budget> {
protected:
    void SetUp() override
    {
        LinkedDeskTest::SetUp();
        // 100 targets open 9:00 to 18:00 in 30-minute slots of two places; a booking on every third
        // target at 10:00 on 2026/12/08; 30 reservers whose kana begins with ヤマ, numbered
        // by the common counter.
        runSql("INSERT INTO マスタ (マス_番号, マス_内容) VALUES (4, '9'), (5, '18');"
               "INSERT INTO 基本 (基本_番号, 基本_単位, 基本_設定, 基本_重複, 基本_重複数) "
               "  SELECT lpad(n::text, 5, '0'), '1', 30, '1', 2 FROM generate_series(0, 100) n;"
               "INSERT INTO 設定 (設定_番号, 設定_名称, 設定_略称) "
               "  SELECT lpad(n::text, 5, '0'), '対象' || n, 'T' || n FROM generate_series(1, 100) n;"
               "INSERT INTO 営業 (営業_番号, 営業_開始時間, 営業_終了時間, 営業_営業フラグ) VALUES ('00000', '09:00', '18:00', '0');"
               "INSERT INTO 予約者 (\"予約者_予約者NO\", 予約者_予約者名, 予約者_予約者名カナ, 予約者_電話番号) "
               "  SELECT '-' || lpad(n::text, 6, '0'), '山田' || n, 'ヤマダ' || n, '03-1234-' || lpad(n::text, 4, '0') "
               "  FROM generate_series(1, 30) n;"
               "INSERT INTO 発番 (発番_設備, 発番_番号) VALUES ('00000', '000030');"
               "INSERT INTO 予約 (予約_設定番号, 予約_年月日, 予約_開始時間, \"予約_予約者NO\", 予約_重複, 予約_終了時間, 予約_略称, "
               "  予約_予約者名) SELECT lpad(n::text, 5, '0'), '2026/12/08', '10:00', '-' || lpad((n % 30 + 1)::text, 6, '0'), '1', "
               "  '11:00', 'T' || n, '山田' || (n % 30 + 1) FROM generate_series(1, 100, 3) n;");
        reloadSettings(); // the reservers put in by SQL get their look-up keys here
        // A little delay each way, so that what the desk sends at once arrives at once.
        link->setRoundTrip(std::chrono::milliseconds(4));
    }

    InquiryRequest oneDay() const
    {
        return {InquiryKind::ByDay, QDate(2026, 12, 8), QDate(2026, 12, 8), {}, CMB対象::LoadTargetList(db())};
    }

    // Chooses the 10:00 slot of the first target in the one-day grid and books a new reserver
    // there through the entry form; the grid shows it afterwards.
    void bookNewReserver(時間照会* inquiry)
    {
        FlexGrid* grid = inquiry->findChild<FlexGrid*>("時間帯");
        grid->clickCell(2, 3);
        whenModalShown([this](QWidget* modal) {
            auto* entry = dynamic_cast<予約者登*>(modal);
            ASSERT_NE(entry, nullptr);
            entry->findChild<QLineEdit*>("予約者名")->setText("佐藤花子");
            entry->findChild<QLineEdit*>("予約者カナ")->setText("サトウハナコ");
            link->resetCount();
            entry->findChild<QPushButton*>("確定")->click();
            entry->findChild<QPushButton*>("終了")->click();
        });
        inquiry->findChild<QPushButton*>("予約")->click();
        EXPECT_EQ(grid->text(2, 3), "2");
    }
};

TEST_P(RoundTripBudgetTest, EachActionStaysWithinItsRoundTrips)
{
    const Budget budget = GetParam();
    std::optional<store::Database> desk;
    if (budget.action != Action::StartUp)
        desk = db(); // the desk's connection, made at its start and kept
    switch (budget.action) {
    case Action::StartUp: {
        link->resetCount();
        メニュー* menu = openMenu();
        EXPECT_TRUE(menu->isVisible());
        break;
    }
    case Action::OneDayGrid: {
        const InquiryRequest request = oneDay(); // the list of targets comes from the form before
        link->resetCount();
        時間照会* inquiry = open<時間照会>(request);
        ASSERT_NE(inquiry, nullptr);
        EXPECT_EQ(inquiry->findChild<FlexGrid*>("時間帯")->text(2, 3), "1");
        break;
    }
    case Action::SevenDayGrid: {
        link->resetCount();
        時間照会* inquiry = open<時間照会>(
            InquiryRequest{InquiryKind::ByTarget, QDate(2026, 12, 8), QDate(2026, 12, 14), {"00001", "対象1", "T1", ""}, {}});
        ASSERT_NE(inquiry, nullptr);
        break;
    }
    case Action::Booking: {
        時間照会* inquiry = open<時間照会>(oneDay());
        ASSERT_NE(inquiry, nullptr);
        bookNewReserver(inquiry);
        break;
    }
    case Action::ReserverLookUp: {
        予約者照会* card = open<予約者照会>();
        ASSERT_NE(card, nullptr);
        card->findChild<QLineEdit*>("検索")->setText("やまだ");
        link->resetCount();
        card->findChild<QPushButton*>("検索開始")->click();
        EXPECT_EQ(card->findChild<FlexGrid*>("候補一覧")->rows(), 31);
        break;
    }
    case Action::IdleWatch: {
        ASSERT_NE(open<時間照会>(oneDay()), nullptr);
        link->resetCount();
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < 3500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        break;
    }
    }
    std::printf("%s: %d round trips\n", budget.name, link->roundTrips());
    EXPECT_LE(link->roundTrips(), budget.roundTrips) << budget.name;
}

INSTANTIATE_TEST_SUITE_P(Desk, RoundTripBudgetTest,
                         ::testing::Values(Budget{Action::StartUp, "StartUp", 5}, Budget{Action::OneDayGrid, "OneDayGrid", 3},
                                           Budget{Action::SevenDayGrid, "SevenDayGrid", 3}, Budget{Action::Booking, "Booking", 6},
                                           Budget{Action::ReserverLookUp, "ReserverLookUp", 2}, Budget{Action::IdleWatch, "IdleWatch", 0}),
                         [](const ::testing::TestParamInfo<Budget>& info) { return std::string(info.param.name); });

} // namespace
