// The national holidays: the computation against a published list, and the operator's
// corrections laid over it.

#include "base/input.h"
#include "records/holidays.h"
#include "rules/holidays_in_force.h"
#include "rules/national_holidays.h"
#include "support/fixture.h"

#include <QFile>
#include <QTextStream>
#include <set>

namespace {

using national_holidays::Origin;

// data/japanese_holidays_1970_2050.csv holds the date and name of every holiday from 1970 to 2050,
// taken from the data set of the npm package @holiday-jp/holiday_jp 2.5.1 (MIT licence; the dates
// and names are public facts). Its names are written as this program names them: a substitute
// holiday "こどもの日 振替休日" as 振替休日, a day between two holidays "休日" as 国民の休日,
// 2019/05/01 and 2019/10/22 "休日（祝日扱い）" as 天皇の即位の日 and 即位礼正殿の儀, 1993/06/09
// "結婚の儀" as 皇太子徳仁親王の結婚の儀, 2019/10/14 "体育の日（スポーツの日）" as 体育の日 (the
// name it had until 2020).
TEST(NationalHolidays, EveryDateAndNameFrom1970To2050AsPublished)
{
    QFile file(QStringLiteral(KELVORA_RULES_TEST_DATA "/japanese_holidays_1970_2050.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
    QTextStream in(&file);
    in.readLine(); // the header
    std::set<QString> published;
    while (!in.atEnd())
        published.insert(in.readLine().replace(u',', u' '));

    std::set<QString> computed;
    for (int year = 1970; year <= 2050; ++year) {
        for (const national_holidays::Holiday& day : national_holidays::holidaysOfYear(year))
            computed.insert(input::dateText(day.date) + u' ' + day.name);
    }

    QStringList missing;
    QStringList extra;
    std::set_difference(published.begin(), published.end(), computed.begin(), computed.end(), std::back_inserter(missing));
    std::set_difference(computed.begin(), computed.end(), published.begin(), published.end(), std::back_inserter(extra));
    EXPECT_EQ(missing, QStringList());
    EXPECT_EQ(extra, QStringList());
    EXPECT_EQ(published.size(), 1329u);
}

// The days of a range as a list shows them: date, name, and where the day comes from.
QStringList shown(const std::vector<national_holidays::DayOfRecord>& days)
{
    QStringList lines;
    for (const national_holidays::DayOfRecord& day : days) {
        const char* origin = day.origin == Origin::Computed ? "計算" : day.origin == Origin::Added ? "追加" : "取消";
        lines << input::dateText(day.date) + u' ' + day.name + u' ' + QString::fromUtf8(origin);
    }
    return lines;
}

using HolidayCorrections = DatabaseTest;

TEST_F(HolidayCorrections, AddAndTakeAwayDaysOfTheLawUntilTheyAreUndone)
{
    using records::HolidayCorrectionKind;
    records::saveHolidayCorrection(db(), {QDate(2026, 7, 20), "海の日", HolidayCorrectionKind::Removed, "営業する"});
    records::saveHolidayCorrection(db(), {QDate(2026, 8, 17), "市民の日", HolidayCorrectionKind::Added, "市の条例"});
    // A day taken away that the law no longer gives stays visible, so that it can be undone.
    records::saveHolidayCorrection(db(), {QDate(2026, 8, 31), "旧記念日", HolidayCorrectionKind::Removed, ""});

    const QDate first(2026, 7, 1);
    const QDate last(2026, 8, 31);
    EXPECT_EQ(shown(national_holidays::holidaysBetween(db(), first, last)),
              QStringList({"2026/07/20 海の日 取消", "2026/08/11 山の日 計算", "2026/08/17 市民の日 追加", "2026/08/31 旧記念日 取消"}));
    EXPECT_FALSE(national_holidays::holidaysBetween(db(), first, last).front().inForce());

    // Renaming a computed day is adding it under another name.
    records::saveHolidayCorrection(db(), {QDate(2026, 7, 20), "海の記念日", HolidayCorrectionKind::Added, ""});
    EXPECT_TRUE(records::removeHolidayCorrection(db(), QDate(2026, 8, 17)));
    EXPECT_FALSE(records::removeHolidayCorrection(db(), QDate(2026, 8, 17)));
    EXPECT_EQ(records::findHolidayCorrection(db(), QDate(2026, 7, 20))->name, "海の記念日");
    EXPECT_EQ(shown(national_holidays::holidaysBetween(db(), first, last)),
              QStringList({"2026/07/20 海の記念日 追加", "2026/08/11 山の日 計算", "2026/08/31 旧記念日 取消"}));
}

} // namespace
