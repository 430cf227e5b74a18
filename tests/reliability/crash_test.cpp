// The program killed with SIGKILL (as a crash or a power cut would stop it) at random points,
// drawn from fixed seeds, while it books, cancels, deletes in bulk, purges, expands holidays,
// rebuilds the file and upgrades a file of the former version. After each kill the file passes the integrity check and every multi-record
// action is either wholly applied or not at all.

#include "closures/regular_holidays_form.h"
#include "maintenance/period_end_form.h"
#include "maintenance/reorganise.h"
#include "reliability_report.h"
#include "reservations/bulk_delete_form.h"
#include "reservations/entry_form.h"
#include "store/file_tools.h"
#include "store/schema.h"
#include "support/file_faults.h"
#include "support/kill_harness.h"
#include "support/table_contents.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <algorithm>
#include <random>

namespace {

using reliability_report::Section;

constexpr int kKills = 10; // per action; five actions

QString day(const QDate& first, int n)
{
    return first.addDays(n).toString("yyyy/MM/dd");
}

QString target(int n)
{
    return QString::number(n).rightJustified(5, u'0');
}

// Where each kill falls: after a number of finished actions, a number of milliseconds later.
class KillPoints {
public:
    KillPoints(unsigned seed, int fewestActions, int mostActions, int longestDelayMs)
        : random_(seed), actions_(fewestActions, mostActions), delay_(0, longestDelayMs)
    {}
    int actions() { return actions_(random_); }
    int delayMs() { return delay_(random_); }

private:
    std::mt19937 random_;
    std::uniform_int_distribution<int> actions_;
    std::uniform_int_distribution<int> delay_;
};

class CrashTest : public KillTest {
protected:
    // Kills the child kKills times at the points drawn from `points`; `prepare` runs before each
    // run and `inspect` after each kill, given the number of actions the child had finished.
    void killRepeatedly(KillPoints points, const std::function<void()>& prepare, const std::function<void(int)>& inspect)
    {
        // A short action on a fast machine may be missed by all of them: kill on, up to three
        // times as often, until one kill has fallen inside a write.
        for (kills_ = 0; kills_ < kKills || (halfWay_ == 0 && kills_ < 3 * kKills); ++kills_) {
            SCOPED_TRACE("kill " + std::to_string(kills_));
            prepare();
            const int actions = points.actions();
            halfWay_ += killChildAfter(actions, points.delayMs()) ? 1 : 0;
            expectSoundFile();
            inspect(actions);
        }
        EXPECT_GT(halfWay_, 0) << "no kill landed inside a write transaction";
    }

    void report(const QString& action, const QString& whole)
    {
        reliability_report::note(Section::Crash, action, kills_,
                                 QStringLiteral("%1 of the kills inside a write transaction; after each the integrity check "
                                                "passed and %2")
                                     .arg(halfWay_)
                                     .arg(whole));
    }

    int kills_ = 0;
    int halfWay_ = 0;
};

// -- a booking: the reserver, the number it takes and the reservation -------------------------

TEST_F(CrashTest, ABookingIsWhollyStoredOrNotAtAll)
{
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text == "予約は更新(登録)されました。"; });
        EntryOutcome outcome;
        auto* form = open<予約者登>(BookingSlot{{"00001", "", "会議室A", ""}, QDate(2026, 12, 10), {10, 0}, {10, 30}}, outcome);
        // A long address makes each booking write many pages, so that kills fall inside it.
        form->findChild<QLineEdit*>("住所")->setText(QStringLiteral("東京都千代田区").repeated(1000));
        for (int n = count("予約"); n < 100000; ++n) {
            form->findChild<QLineEdit*>("予約者名")->setText(QStringLiteral("予約者%1").arg(n));
            form->findChild<QLineEdit*>("予約者カナ")->setText(QStringLiteral("ヨヤクシャ%1").arg(n));
            form->findChild<QPushButton*>("確定")->click();
        }
        return;
    }

    killRepeatedly(
        KillPoints(10, 1, 4, 15), [] {},
        [this](int) {
            const auto reservations = rows("予約", "Key_予約", {"予約_予約者NO", "予約_予約者名"});
            auto reservers = rows("予約者", "Key_予約者", {"予約者_予約者NO", "予約者_予約者名"});
            auto booked = reservations;
            std::sort(booked.begin(), booked.end());
            EXPECT_EQ(booked, reservers) << "a reserver without a reservation or the other way round";
            const auto counter = rows("発番", "Key_発番", {"発番_番号"});
            ASSERT_EQ(counter.size(), reservers.empty() ? 0u : 1u);
            if (!reservers.empty()) {
                EXPECT_EQ(counter[0][0].toInt(), reservers.back()[0].mid(1).toInt()) << "a number was taken without a booking";
            }
        });
    EXPECT_GT(count("予約"), kKills);
    report("SIGKILL during bookings (予約者登 確定, a new reserver each time)",
           "every booking was whole: each reservation has its reserver, each reserver its reservation, and the "
           "counter stands at the last number stored");
}

// -- a bulk deletion over four targets --------------------------------------------------------

TEST_F(CrashTest, ABulkDeletionIsWhollyDoneOrNotAtAll)
{
    const QDate today(2026, 12, 8); // the fixed clock of the tests
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text == "削除F=1 の予約は削除されました"; });
        auto* form = open<予約削除>();
        // Eleven months back to none, then none again until the child is killed.
        for (int step = 0; step < 100000; ++step) {
            form->findChild<QLineEdit*>("削除月数")->setText(QString::number(std::max(11 - step, 0)));
            form->findChild<QPushButton*>("削除")->click();
        }
        return;
    }

    const QDate first(2026, 1, 1);
    const int days = int(first.daysTo(today));
    std::vector<QStringList> original;
    killRepeatedly(
        KillPoints(20, 1, 5, 15),
        [&] {
            recreateMainFile([&] {
                for (int t = 1; t <= 4; ++t) {
                    insert("設定", {{"設定_番号", target(t)}, {"設定_略称", "対象" + target(t)}});
                    for (int d = 0; d < days; ++d) {
                        for (const char* start : {"10:00", "14:00"}) {
                            insert("予約", {{"予約_設定番号", target(t)},
                                            {"予約_年月日", day(first, d)},
                                            {"予約_開始時間", start},
                                            {"予約_予約者NO", "-000001"},
                                            {"予約_終了時間", "11:00"}});
                        }
                    }
                }
            });
            original = tableContents("予約");
        },
        [&](int actions) {
            // The four targets lost their reservations up to the same cut-off, one of the deletions'.
            const auto now = tableContents("予約");
            int matching = -1;
            for (int done = 0; done <= 12 && matching < 0; ++done) {
                const QString cutOff = done == 0 ? QString() : today.addMonths(-(12 - done)).toString("yyyy/MM/dd");
                std::vector<QStringList> expected;
                for (const QStringList& record : original) {
                    if (record[1] > cutOff)
                        expected.push_back(record);
                }
                if (now == expected)
                    matching = done;
            }
            EXPECT_GE(matching, actions) << "the reservations are not as after a number of whole deletions";
        });
    report("SIGKILL during bulk deletions (予約削除 削除, four targets at a time)",
           "the four targets had always lost their reservations up to the same cut-off date");
}

// -- the period-end purge of four tables ------------------------------------------------------

TEST_F(CrashTest, APurgeIsWhollyDoneOrNotAtAll)
{
    const QDate first(2025, 1, 1);
    constexpr int kDays = 60;
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text == "期末削除処理は終了しました"; });
        auto* form = open<期末処理>();
        for (int d = 0; d < kDays; ++d) {
            form->findChild<QLineEdit*>("取消日")->setText(day(first, d));
            form->findChild<QPushButton*>("確定")->click();
        }
        return;
    }

    const QStringList dated = {"カレンダー", "予約", "予約者", "特定日"};
    const QMap<QString, int> dateColumn = {{"カレンダー", 1}, {"予約", 1}, {"予約者", 9}, {"特定日", 1}};
    Contents original;
    killRepeatedly(
        KillPoints(30, 1, 6, 10),
        [&] {
            recreateMainFile([&] {
                for (int d = 0; d < kDays; ++d) {
                    for (int t = 1; t <= 4; ++t) {
                        insert("カレンダー", {{"カレ_番号", target(t)}, {"カレ_年月日", day(first, d)}, {"カレ_休日FLG", 1}});
                        insert("特定日", {{"特定_番号", target(t)},
                                          {"特定_日付", day(first, d)},
                                          {"特定_開始時間", "10:00"},
                                          {"特定_終了時間", "12:00"},
                                          {"特定_営業フラグ", "0"}});
                        insert("予約者", {{"予約者_予約者NO", QStringLiteral("-%1%2").arg(d, 4, 10, QChar('0')).arg(t, 2, 10, QChar('0'))},
                                          {"予約者_最新予約日", day(first, d)}});
                        for (int slot = 0; slot < 8; ++slot) {
                            insert("予約", {{"予約_設定番号", target(t)},
                                            {"予約_年月日", day(first, d)},
                                            {"予約_開始時間", QStringLiteral("%1:00").arg(9 + slot, 2, 10, QChar('0'))},
                                            {"予約_予約者NO", "-000001"},
                                            {"予約_終了時間", "23:00"}});
                        }
                    }
                }
            });
            original = tableContents(dated);
        },
        [&](int actions) {
            // The four tables were purged together: all as after the same number of whole purges.
            const Contents now = tableContents(dated);
            int matching = -1;
            for (int kept = 0; kept <= kDays && matching < 0; ++kept) {
                Contents expected;
                for (const QString& table : dated) {
                    for (const QStringList& record : original.at(table)) {
                        if (record[dateColumn[table]] >= day(first, kept))
                            expected[table].push_back(record);
                    }
                }
                if (now == expected)
                    matching = kept;
            }
            EXPECT_GE(matching, actions) << "the dated tables are not as after a number of whole purges";
        });
    report("SIGKILL during period-end purges (期末処理 確定, four tables at a time)",
           "the four dated tables were always as after the same number of whole purges");
}

// -- the expansion of the regular holidays of a year ------------------------------------------

TEST_F(CrashTest, AHolidayExpansionIsWhollyDoneOrNotAtAll)
{
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text.startsWith("曜日での定休日を"); });
        auto* form = open<定休日登録>();
        for (QCheckBox* weekday : form->findChild<QGroupBox*>("曜日")->findChildren<QCheckBox*>())
            weekday->setChecked(true);
        for (int run = 0; run < 100000; ++run) {
            form->findChild<QLineEdit*>("休日名")->setText(QStringLiteral("休業%1").arg(run));
            form->findChild<QPushButton*>(run % 2 == 0 ? "確定" : "削除")->click();
        }
        return;
    }

    // Every day of the business year 2026 but its last.
    QStringList year;
    for (QDate date(2026, 4, 1); date < QDate(2027, 3, 31); date = date.addDays(1))
        year << date.toString("yyyy/MM/dd");
    killRepeatedly(
        KillPoints(40, 1, 4, 10), [] {},
        [&](int) {
            const auto days = rows("カレンダー", "Key_カレンダー", {"カレ_番号", "カレ_年月日", "カレ_備考"});
            if (days.empty())
                return;
            QStringList dates;
            QSet<QString> names;
            for (const QStringList& row : days) {
                EXPECT_EQ(row[0], "00000");
                dates << row[1];
                names << row[2];
            }
            EXPECT_EQ(dates, year) << "a part of the year";
            EXPECT_EQ(names.size(), 1) << "two registrations mixed";
        });
    report("SIGKILL during holiday expansions (定休日登録 確定 and 削除, every day of a year)",
           "the common calendar held either no day or every day of the year under one name");
}

// -- a step of the reorganisation -------------------------------------------------------------

// Every table holds records marked with `tag`; 予約 holds `reservations` of them.
void fillAll(const std::function<void(const QString&, std::initializer_list<std::pair<QString, store::Value>>)>& insert, const QString& tag,
             int reservations)
{
    const QString number = "0000" + tag;
    insert("カレンダー", {{"カレ_番号", number}, {"カレ_年月日", "2025/01/01"}, {"カレ_休日FLG", 1}});
    insert("マスタ", {{"マス_番号", tag.toInt()}, {"マス_内容", tag}});
    insert("営業", {{"営業_番号", number}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}, {"営業_営業フラグ", "0"}});
    insert("基本", {{"基本_番号", number}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", 0}});
    insert("設定", {{"設定_番号", number}, {"設定_名称", tag}});
    insert("特定日", {{"特定_番号", number},
                      {"特定_日付", "2025/01/01"},
                      {"特定_開始時間", "09:00"},
                      {"特定_終了時間", "12:00"},
                      {"特定_営業フラグ", "0"}});
    insert("日別", {{"日別_番号", number},
                    {"日別_区分", 1},
                    {"日別_日付", 2},
                    {"日別_開始時間", "09:00"},
                    {"日別_終了時間", "12:00"},
                    {"日別_営業フラグ", "0"}});
    insert("発番", {{"発番_設備", number}, {"発番_番号", "000001"}});
    insert("予約者", {{"予約者_予約者NO", "-00000" + tag}});
    for (int n = 0; n < reservations; ++n) {
        insert("予約", {{"予約_設定番号", number},
                        {"予約_年月日", day(QDate(2025, 1, 1), n % 150)},
                        {"予約_開始時間", QStringLiteral("%1:00").arg(n / 150, 2, 10, QChar('0'))},
                        {"予約_予約者NO", "-00000" + tag},
                        {"予約_終了時間", QStringLiteral("%1:30").arg(n / 150, 2, 10, QChar('0'))},
                        {"予約_受付日", "2024/12/01"}});
    }
}

TEST_F(CrashTest, AReorganisationStepIsWhollyDoneOrNotAtAll)
{
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text.endsWith("残りを続けますか"); });
        for (int run = 0; run < 20; ++run)
            DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
        return;
    }

    const auto add = [this](const QString& table, std::initializer_list<std::pair<QString, store::Value>> fields) {
        insert(table, fields);
    };
    recreateMainFile([&] { fillAll(add, "2", 3000); });
    store::backupDatabaseFile(store::kMainFile, store::kBackupFile);
    const Contents copy = tableContents(kAllTables);
    Contents before;
    // After eight small tables the reorganisation copies the reservations, the largest table.
    killRepeatedly(
        KillPoints(50, 6, 9, 30),
        [&] {
            recreateMainFile([&] { fillAll(add, "1", 2000); });
            before = tableContents(kAllTables);
        },
        [&](int) {
            const Contents now = tableContents(kAllTables);
            for (const QString& table : kAllTables)
                EXPECT_TRUE(now.at(table) == before.at(table) || now.at(table) == copy.at(table))
                    << table.toStdString() << " is half copied";
        });
    report("SIGKILL during reorganisations (再編成, each table a step)", "every table was wholly as before or wholly the backup's copy");
}

// -- cancellations: the reservation goes and its record stays, in one transaction -------------

TEST_F(CrashTest, ACancellationIsWhollyDoneOrNotAtAll)
{
    const auto reserver = [](int n) { return "-" + QString::number(n).rightJustified(6, u'0'); };
    constexpr int kReservations = 60;
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text == "予約は削除されました。"; });
        // One entry form on the slot; each 削除 cancels the booking of the number typed in it.
        EntryOutcome outcome;
        auto* form = open<予約者登>(
            BookingSlot{{"00001", "", "会議室A", ""}, QDate(2026, 12, 10), {10, 0}, {11, 0}, true, true, reserver(1), "予約者"}, outcome);
        for (int n = 1; n <= kReservations; ++n) {
            form->findChild<QLineEdit*>("予約者NO")->setText(reserver(n));
            form->findChild<QPushButton*>("削除")->click();
        }
        return;
    }

    // A long remark makes each cancellation write many pages, so that kills fall inside it.
    const QString remark = QStringLiteral("備考").repeated(30000);
    killRepeatedly(
        KillPoints(60, 1, 20, 10),
        [&] {
            recreateMainFile([&] {
                for (int n = 1; n <= kReservations; ++n)
                    insert("予約", {{"予約_設定番号", "00001"},
                                    {"予約_年月日", "2026/12/10"},
                                    {"予約_開始時間", "10:00"},
                                    {"予約_予約者NO", reserver(n)},
                                    {"予約_終了時間", "11:00"},
                                    {"予約_備考", remark}});
            });
        },
        [&](int) {
            QSet<QString> kept;
            for (const QStringList& row : rows("予約", "Key_予約", {"予約_予約者NO"}))
                kept.insert(row[0]);
            for (const QStringList& row : rows("予約取消", "Key_予約取消", {"取消_予約者NO", "取消_備考"})) {
                EXPECT_FALSE(kept.contains(row[0])) << row[0].toStdString() << " is both booked and cancelled";
                EXPECT_EQ(row[1], remark);
                kept.insert(row[0]);
            }
            EXPECT_EQ(kept.size(), kReservations) << "a reservation vanished without its cancellation record";
        });
    report("SIGKILL during cancellations (予約者登 削除)",
           "every reservation was either still booked or kept whole as a cancellation, never both and never neither");
}

// -- the upgrade of a file of the former version ----------------------------------------------

TEST_F(CrashTest, AnUpgradeIsWhollyDoneOrNotAtAll)
{
    constexpr int kReservers = 500;
    if (inChild()) {
        enterParentFolder([](const QString& text) { return text == "upgraded"; });
        // The file made old again and upgraded by the program when it opens it, over and over.
        for (int run = 0; run < 100000; ++run) {
            makeFormerVersionFile(store::kMainFile);
            db();
            msg::exclaim("upgraded", "");
        }
        return;
    }

    // A half-upgraded file (a table added, its version not) would refuse to open afterwards.
    killRepeatedly(
        KillPoints(70, 1, 30, 5),
        [&] {
            recreateMainFile([&] {
                for (int n = 0; n < kReservers; ++n)
                    insert("予約者", {{"予約者_予約者NO", QStringLiteral("-%1").arg(n, 6, 10, QChar('0'))}});
            });
        },
        [&](int) {
            EXPECT_EQ(count("予約者"), kReservers);
            EXPECT_EQ(count("予約者検索"), kReservers);
            EXPECT_EQ(store::databaseFileVersion(store::kMainFile), store::schema::kCurrentVersion);
        });
    report("SIGKILL while files of the former version are upgraded (on opening)",
           "the file was afterwards of the former version or of the new one, never between, and opened with every record");
}

} // namespace
