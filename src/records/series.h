#pragma once

#include "base/input.h"
#include "records/reservations.h"
#include "store/database.h"
#include "store/read_ahead.h"
#include "store/progress.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// Tables 定期予約 and 定期日程: a series of recurring bookings, and one record a date of it. A
// date keeps the key of the booking it stands for (the one it has, had or would have had), so
// that the series of a booking is found by the booking's key, and a state that says which.
namespace records {

// 日程_状態.
enum class SeriesDateState {
    Booked = 1,       // its booking is one of the series
    LeftOut = 2,      // never booked (full, closed, a holiday, the operator's choice, moved away)
    Cancelled = 3,    // its booking was cancelled: kept so that the date never comes back
    ChangedAlone = 4, // its booking was changed by itself: changes of the whole series leave it
};

struct Series {
    QString number; // 定期_番号: digits
    QString target;
    QString reserverNo;
    input::TimeOfDay start;
    input::TimeOfDay end;
    QString rule; // an iCalendar RRULE value, read against `first`
    QDate first;
    QDate last; // the day of its last date
    QDateTime registeredAt;
    QString remark;
    bool operator==(const Series&) const = default;
};

struct SeriesDate {
    QString series;
    QDate date;
    // The booking's target, start and reserver; its date is the date's.
    QString target;
    input::TimeOfDay start;
    QString reserverNo;
    SeriesDateState state = SeriesDateState::Booked;
    QString reason;

    ReservationKey booking() const { return {target, date, start, reserverNo}; }
    // Whether its booking is stored as one of the series.
    bool holdsBooking() const { return state == SeriesDateState::Booked || state == SeriesDateState::ChangedAlone; }
    bool operator==(const SeriesDate&) const = default;
};

// Inside a writing transaction: the number of a new series, one above the highest, held for this
// desk alone until the transaction ends.
QString issueSeriesNumber(const store::Transaction& transaction, const store::Database& db);

std::optional<Series> findSeries(const store::Database& db, const QString& number);
// The reserver's series in the order of their first dates.
std::vector<Series> seriesOfReserver(const store::Database& db, const QString& reserverNo);
// Adds the series, or changes the one with its number.
void saveSeries(const store::Database& db, const Series& series);

// The dates of a series in date order.
std::vector<SeriesDate> datesOfSeries(const store::Database& db, const QString& series);
// Adds the date, or changes the one of its series and day.
void saveSeriesDate(const store::Database& db, const SeriesDate& date);
bool removeSeriesDate(const store::Database& db, const QString& series, const QDate& date);

// The date of a series whose booking is the one of `key` (booked or changed alone).
std::optional<SeriesDate> seriesDateOfBooking(const store::Database& db, const ReservationKey& key);
// What seriesDateOfBooking() reads for the bookings of a target's day, to be read ahead.
store::Range seriesDatesOfDayRange(const QString& target, const QDate& date);

// What follows a booking of a series wherever it is changed, so that the series never claims a
// booking it has not got. A cancelled booking's date is cancelled, with the reason.
void cancelSeriesDateOf(const store::Database& db, const ReservationKey& key, const QString& reason);
// A booking moved to `to`: its date follows it as changed alone, to the new day when the series
// has none there yet; otherwise the booking leaves the series and its date is left out.
void moveSeriesDateOf(const store::Database& db, const ReservationKey& from, const ReservationKey& to);
// A cancelled booking booked again: its date holds it again, changed alone.
void restoreSeriesDateOf(const store::Database& db, const ReservationKey& key);

// Deletes the dates of every series from `from` through `through`, then the series left without
// a date; how many dates went.
int removeSeriesDatesBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress = {});
// The same for the dates of one target up to and including `through`.
int removeTargetSeriesDatesThrough(const store::Database& db, const QString& target, const QDate& through,
                                   const store::Progress& progress = {});

} // namespace records
