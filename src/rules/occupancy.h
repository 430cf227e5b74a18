#pragma once

#include "base/settings.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// How full the targets were, month by month: the time each was open (by the rules of the slot
// grids: the hours at every level, regular holidays and closure days, within the hours a grid
// shows), the time booked inside it, and the rate against what could have been sold: the open
// time times the places of a slot (1, or the overlap count where overlap is allowed). Booked time
// beyond that shows as a rate above 100 %. The same booked and sellable time by weekday and hour
// makes the heat map.
//
// A target counts in the months it existed: a registered target from the month of its earliest
// booking or cancellation on record (every month when it has none); a target no longer registered,
// whose bookings are still kept, from the first through the last month of the period in which it
// has a booking or a cancellation.
namespace occupancy {

// The longest period one tally covers: a business year.
constexpr int kMaxMonths = 12;

struct Request {
    QDate firstMonth; // any day of the first month
    QDate lastMonth;  // any day of the last month
    QString target;   // one registered target's number; empty for every target
};

// Minutes, so that sums stay exact; hours and rates are made of them only to be shown.
struct Figures {
    qint64 openMinutes = 0;
    qint64 capacityMinutes = 0; // open minutes times the places of a slot
    qint64 bookedMinutes = 0;   // booked inside open time
    int bookings = 0;           // dated in the month, wherever they lie
    int cancellations = 0;      // kept cancellations of bookings dated in the month, corrections left out

    // Booked over capacity, in per cent; nothing when nothing was open.
    std::optional<double> rate() const;
    Figures& operator+=(const Figures& other);
};

struct TargetMonth {
    QString target;
    QString abbrev;
    QDate month; // its first day
    int places = 1;
    Figures figures;
};

struct HourCell {
    qint64 bookedMinutes = 0;
    qint64 capacityMinutes = 0;
    std::optional<double> rate() const;
};

struct Occupancy {
    QDate first;                   // the period's first day
    QDate last;                    // and its last
    QString targetLine;            // "全対象", or the target's abbreviation
    std::vector<TargetMonth> rows; // by target number, then month
    Figures total;
    // [weekday 1 (Sunday) .. 7, less one][hour of the day]
    std::array<std::array<HourCell, 24>, 7> byWeekdayHour{};
    // The hours the heat map shows: from the first to the last that was open or booked on any
    // weekday (the hours a slot grid shows when none was).
    int firstHour = 0;
    int lastHour = 23;

    // The months of the period, first days.
    std::vector<QDate> months() const;
};

Occupancy BuildOccupancy(const store::Database& db, const Settings& settings, const Request& request);

// The table as the grid, the sheet and the CSV show it: a row a target and month, then the total.
QStringList TableCaptions();
std::vector<QStringList> TableRows(const Occupancy& occupancy);
// "85.3%", or "－" when nothing was open.
QString RateText(const std::optional<double>& rate);
// "2026/11", or "2026/11～2027/01".
QString PeriodText(const Occupancy& occupancy);

} // namespace occupancy
