#include "rules/national_holidays.h"

#include "base/clock.h"

#include <algorithm>

namespace national_holidays {

namespace {

// The day of the month of the n-th Monday.
int nthMonday(int year, int month, int n)
{
    const int firstWeekday = QDate(year, month, 1).dayOfWeek(); // 1 Monday .. 7 Sunday
    return 1 + (8 - firstWeekday) % 7 + (n - 1) * 7;
}

// The usual approximation of the equinoxes in Japan Standard Time (good from 1900 to 2099): the
// days drift a quarter day a year and step back every leap year. The inner division truncates
// towards zero, as the formula's int() does.
int equinoxDay(int year, double before1980, double from1980)
{
    const int leapSteps = year < 1980 ? (year - 1983) / 4 : (year - 1980) / 4;
    return int((year < 1980 ? before1980 : from1980) + 0.242194 * (year - 1980) - leapSteps);
}

// The days the law names (国民の祝日), and those that laws of their own made holidays and that
// count as such, in any order.
std::vector<Holiday> namedDays(int year)
{
    std::vector<Holiday> days;
    days.reserve(24);
    const auto add = [&](int month, int day, const char* name) { days.push_back({QDate(year, month, day), QString::fromUtf8(name)}); };

    add(1, 1, "元日");
    add(1, year < 2000 ? 15 : nthMonday(year, 1, 2), "成人の日");
    add(2, 11, "建国記念の日");
    add(3, equinoxDay(year, 20.8357, 20.8431), "春分の日");
    if (year <= 1988)
        add(4, 29, "天皇誕生日");
    else if (year <= 2006)
        add(4, 29, "みどりの日");
    else
        add(4, 29, "昭和の日");
    add(5, 3, "憲法記念日");
    if (year >= 2007)
        add(5, 4, "みどりの日");
    add(5, 5, "こどもの日");
    add(9, year < 2003 ? 15 : nthMonday(year, 9, 3), "敬老の日");
    add(9, equinoxDay(year, 23.2588, 23.2488), "秋分の日");
    add(11, 3, "文化の日");
    add(11, 23, "勤労感謝の日");
    if (year >= 1989 && year <= 2018)
        add(12, 23, "天皇誕生日");
    else if (year >= 2020)
        add(2, 23, "天皇誕生日");

    // The summer and autumn holidays of the Tokyo Games years were moved by laws of their own.
    if (year == 2020) {
        add(7, 23, "海の日");
        add(7, 24, "スポーツの日");
        add(8, 10, "山の日");
    } else if (year == 2021) {
        add(7, 22, "海の日");
        add(7, 23, "スポーツの日");
        add(8, 8, "山の日");
    } else {
        if (year >= 1996)
            add(7, year < 2003 ? 20 : nthMonday(year, 7, 3), "海の日");
        if (year >= 2016)
            add(8, 11, "山の日");
        add(10, year < 2000 ? 10 : nthMonday(year, 10, 2), year < 2020 ? "体育の日" : "スポーツの日");
    }

    if (year == 1989)
        add(2, 24, "大喪の礼");
    if (year == 1990)
        add(11, 12, "即位礼正殿の儀");
    if (year == 1993)
        add(6, 9, "皇太子徳仁親王の結婚の儀");
    if (year == 2019) {
        add(5, 1, "天皇の即位の日");
        add(10, 22, "即位礼正殿の儀");
    }
    return days;
}

bool falls(const std::vector<Holiday>& days, const QDate& date)
{
    return std::any_of(days.begin(), days.end(), [&](const Holiday& day) { return day.date == date; });
}

} // namespace

std::vector<Holiday> holidaysOfYear(int year)
{
    if (year < kFirstYear || year > kLastYear)
        return {};
    const std::vector<Holiday> named = namedDays(year);
    std::vector<Holiday> days = named;

    // A named day on a Sunday gives the next day off: from 1973-04-12; until 2006 the Monday, from
    // 2007 the first day after it that is no named day.
    const QDate substituteFrom(1973, 4, 12);
    for (const Holiday& day : named) {
        if (day.date.dayOfWeek() != Qt::Sunday || day.date < substituteFrom)
            continue;
        QDate next = day.date.addDays(1);
        while (year >= 2007 && falls(named, next))
            next = next.addDays(1);
        if (!falls(days, next))
            days.push_back({next, QStringLiteral("振替休日")});
    }

    // From 1986 a day between two named days is a holiday too; until 2006 not a Sunday.
    if (year >= 1986) {
        for (const Holiday& day : named) {
            const QDate between = day.date.addDays(1);
            if (falls(named, between.addDays(1)) && !falls(days, between) && (year >= 2007 || between.dayOfWeek() != Qt::Sunday))
                days.push_back({between, QStringLiteral("国民の休日")});
        }
    }

    std::sort(days.begin(), days.end(), [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    return days;
}

bool isForecast(int year)
{
    return year > appclock::today().year() + 1;
}

} // namespace national_holidays
