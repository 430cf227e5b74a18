#pragma once

#include <QDate>
#include <QString>
#include <vector>

// The national holidays of Japan as the holidays law stood in each year from 1970 to 2099: the
// named holidays, the days made holidays by laws of their own (1989, 1990, 1993, 2019), 振替休日
// and 国民の休日. Computed on demand; a year takes a few microseconds.
namespace national_holidays {

inline constexpr int kFirstYear = 1970;
inline constexpr int kLastYear = 2099;

struct Holiday {
    QDate date;
    QString name; // "海の日", "振替休日", "国民の休日", ...
    bool operator==(const Holiday&) const = default;
};

// The holidays of `year` in date order; none for a year outside kFirstYear..kLastYear.
std::vector<Holiday> holidaysOfYear(int year);

// Whether the list of `year` is a forecast, seen from the clock's today: a year after next has
// the equinox days of the formula, which the government fixes only when it publishes them (each
// February, for the year after).
bool isForecast(int year);

} // namespace national_holidays
