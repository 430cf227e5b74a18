#include "rules/slot_counts.h"

#include "records/basic.h"
#include "records/holidays.h"
#include "records/reservations.h"
#include "records/series.h"
#include "records/waiting_list.h"
#include "rules/time_table.h"

#include <QHash>
#include <algorithm>

namespace 予約TBL {

namespace {

constexpr int kDayMinutes = 24 * 60;

bool isSlotLength(int minutes)
{
    if (minutes > 0 && minutes < 60)
        return 60 % minutes == 0;
    return minutes >= 60 && minutes <= kDayMinutes && minutes % 60 == 0;
}

} // namespace

int UnitMinutesFor(records::UnitKind unitKind, int setting)
{
    const int minutes = unitKind == records::UnitKind::Hours ? setting * 60 : unitKind == records::UnitKind::Day ? kDayMinutes : setting;
    return isSlotLength(minutes) ? minutes : kDefaultUnitMinutes;
}

SlotTimes BuildSlotTimes(int displayStartHour, int displayEndHour, int unitMinutes)
{
    SlotTimes daySlots;
    daySlots.UnitMinutes = isSlotLength(unitMinutes) ? unitMinutes : kDefaultUnitMinutes;
    const int firstHour = std::clamp(displayStartHour, 0, 23);
    const int lastHour = std::clamp(displayEndHour, firstHour, 23);
    daySlots.WindowEnd = (lastHour + 1) * 60;
    // Minute units: every hour, split into marks. Hour and day units: one entry per slot.
    const bool minuteUnits = daySlots.UnitMinutes < 60;
    const int hoursPerEntry = minuteUnits ? 1 : daySlots.UnitMinutes / 60;
    for (int hour = firstHour; hour <= lastHour; hour += hoursPerEntry)
        daySlots.SlotHours.push_back(hour);
    for (int minute = 0; minute < 60; minute += minuteUnits ? daySlots.UnitMinutes : 60)
        daySlots.SlotMinutes.push_back(minute);
    return daySlots;
}

SlotTimes SlotTimesOf(const Settings& settings)
{
    return BuildSlotTimes(settings.DisplayStartHour, settings.DisplayEndHour, settings.UnitMinutes);
}

SlotCounts BuildReservationCounts(const store::Database& db, const CountRequest& request)
{
    SlotCounts counts;
    counts.Slots = request.Slots;
    store::Transaction oneReading(db, store::Transaction::ForReading); // all look-ups under one read lock
    counts.ReservationCount = request.InquiryKind == 1 ? CountForSevenDays(db, counts.Slots, request.CurrentTarget, request.WorkingDate)
                                                       : CountForTargets(db, counts.Slots, request.TargetList, request.WorkingDate);
    oneReading.commit();
    return counts;
}

store::Range CountRange(const CountRequest& request)
{
    return request.InquiryKind == 1
               ? records::reservationsOfDaysRange(request.CurrentTarget, request.WorkingDate, request.WorkingDate.addDays(6))
               : records::reservationsOnDateRange(request.WorkingDate);
}

std::vector<store::Range> GridRanges(const CountRequest& request, const QDate& first, const QDate& last)
{
    std::vector<store::Range> ranges = 時間TBL::TimeTableRanges(first, last);
    ranges.push_back(CountRange(request));
    ranges.push_back(records::basicsRange());
    ranges.push_back(records::waitingEntriesBetweenRange(first, last));
    ranges.push_back(records::holidayCorrectionsRange(first, last));
    return ranges;
}

std::vector<store::Range> DayRanges(const QString& target, const QDate& date)
{
    return {records::reservationsOfDaysRange(target, date, date), records::seriesDatesOfDayRange(target, date),
            records::waitingEntriesOfDayRange(target, date)};
}

namespace {

// Adds a reservation to the slots it covers.
void count(const records::ReservationSpan& span, const SlotTimes& daySlots, std::vector<int>& counts)
{
    const auto [first, last] = daySlots.covering(span.start.minutes(), span.end.minutes());
    for (int slot = first; slot < last; ++slot)
        ++counts[size_t(slot)];
}

} // namespace

std::vector<std::vector<int>> CountForSevenDays(const store::Database& db, const SlotTimes& daySlots, const QString& target,
                                                const QDate& first)
{
    constexpr int kDays = 7;
    std::vector<std::vector<int>> counts(kDays, std::vector<int>(size_t(daySlots.count()), 0));
    for (const records::ReservationSpan& span : records::spansOfDays(db, target, first, first.addDays(kDays - 1)))
        count(span, daySlots, counts[size_t(first.daysTo(span.date))]);
    return counts;
}

std::vector<std::vector<int>> CountForTargets(const store::Database& db, const SlotTimes& daySlots, const QStringList& targets,
                                              const QDate& date)
{
    std::vector<std::vector<int>> counts(size_t(targets.size()), std::vector<int>(size_t(daySlots.count()), 0));
    QHash<QString, int> columnOf;
    for (qsizetype i = 0; i < targets.size(); ++i)
        columnOf.insert(targets[i], int(i));
    for (const records::ReservationSpan& span : records::spansOnDate(db, date)) {
        const auto column = columnOf.constFind(span.target);
        if (column != columnOf.constEnd())
            count(span, daySlots, counts[size_t(*column)]);
    }
    return counts;
}

std::vector<int> CountReservations(const store::Database& db, const SlotTimes& daySlots, const QString& target, const QDate& date)
{
    std::vector<int> counts(size_t(daySlots.count()), 0);
    for (const records::ReservationSpan& span : records::spansOfDays(db, target, date, date))
        count(span, daySlots, counts);
    return counts;
}

std::vector<records::Reservation> ReservationsInSlot(const store::Database& db, const SlotTimes& daySlots, const QString& target,
                                                     const QDate& date, int slot)
{
    std::vector<records::Reservation> inSlot;
    for (records::Reservation& r : records::reservationsOfDay(db, target, date)) {
        if (r.start.minutes() >= daySlots.end(slot)) // in start order: the rest start later still
            break;
        const auto [first, last] = daySlots.covering(r.start.minutes(), r.end.minutes());
        if (first <= slot && slot < last)
            inSlot.push_back(std::move(r));
    }
    return inSlot;
}

} // namespace 予約TBL
