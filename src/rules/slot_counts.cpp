#include "rules/slot_counts.h"

#include "base/app_state.h"
#include "base/input.h"
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

int UnitMinutesFor(const QString& unitKind, int setting)
{
    const int minutes = unitKind == QLatin1String("2")   ? setting * 60
                        : unitKind == QLatin1String("3") ? kDayMinutes
                                                         : setting;
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

SlotTimes CurrentSlotTimes()
{
    const Settings& s = app().settings;
    return BuildSlotTimes(s.DisplayStartHour, s.DisplayEndHour, s.UnitMinutes);
}

CountRequest CurrentCountRequest()
{
    const AppState& a = app();
    CountRequest request;
    request.InquiryKind = a.modes.InquiryKind;
    request.CurrentTarget = a.targets.CurrentTarget;
    request.WorkingDate = 時間TBL::WorkingDay();
    request.TargetList = a.targets.TargetList;
    request.Slots = CurrentSlotTimes();
    return request;
}

SlotCounts BuildReservationCounts(const CountRequest& request)
{
    SlotCounts counts;
    counts.Slots = request.Slots;
    const store::Database db = store::Database::open();
    store::Transaction oneReading(db, store::Transaction::ForReading); // all look-ups under one read lock
    store::Table reservations = db.table("予約");
    counts.ReservationCount =
        request.InquiryKind == 1
            ? CountForSevenDays(reservations, counts.Slots, request.CurrentTarget, request.WorkingDate)
            : CountForTargets(reservations, counts.Slots, request.TargetList, request.WorkingDate);
    oneReading.commit();
    return counts;
}

void BuildReservationCounts()
{
    app().counts = BuildReservationCounts(CurrentCountRequest());
}

namespace {

// Adds the reservation the cursor stands on to the slots it covers. A time that cannot be read
// stops the count: left out, its slot would look free and be booked twice.
void countCurrent(const store::Table& reservations, const SlotTimes& daySlots, std::vector<int>& counts)
{
    const input::TimeOfDay start = reservations.time("予約_開始時間");
    const input::TimeOfDay end = reservations.time("予約_終了時間", true);
    const auto [first, last] = daySlots.covering(start.minutes(), end.minutes());
    for (int slot = first; slot < last; ++slot)
        ++counts[size_t(slot)];
}

} // namespace

std::vector<std::vector<int>> CountForSevenDays(store::Table& reservations, const SlotTimes& daySlots,
                                                const QString& target, const QDate& first)
{
    constexpr int kDays = 7;
    std::vector<std::vector<int>> counts(kDays, std::vector<int>(size_t(daySlots.count()), 0));
    QStringList days;
    for (int i = 0; i < kDays; ++i)
        days << input::dateText(first.addDays(i));
    // One pass over the target's reservations of the seven days, in key order. A date stored in
    // another form ("2024/05/2") may sort among them; it is none of the seven days and has no column.
    reservations.setIndex("Key_予約");
    for (reservations.seek(">=", {target, days.first(), "00:00", ""}); !reservations.eof(); reservations.moveNext()) {
        const QString day = reservations.text("予約_年月日");
        if (reservations.text("予約_設定番号") != target || day > days.last())
            break;
        const qsizetype column = days.indexOf(day);
        if (column >= 0)
            countCurrent(reservations, daySlots, counts[size_t(column)]);
    }
    return counts;
}

std::vector<std::vector<int>> CountForTargets(store::Table& reservations, const SlotTimes& daySlots,
                                              const QStringList& targets, const QDate& date)
{
    std::vector<std::vector<int>> counts(size_t(targets.size()), std::vector<int>(size_t(daySlots.count()), 0));
    QHash<QString, int> columnOf;
    for (qsizetype i = 0; i < targets.size(); ++i)
        columnOf.insert(targets[i], int(i));
    // One pass over the day's reservations of every target.
    const QString day = input::dateText(date);
    reservations.setIndex("Idx_日付");
    for (reservations.seek(">=", {day}); !reservations.eof(); reservations.moveNext()) {
        if (reservations.text("予約_年月日") != day)
            break;
        const auto column = columnOf.constFind(reservations.text("予約_設定番号"));
        if (column != columnOf.constEnd())
            countCurrent(reservations, daySlots, counts[size_t(*column)]);
    }
    return counts;
}

std::vector<int> CountReservations(store::Table& reservations, const SlotTimes& daySlots, const QString& target,
                                   const QDate& date)
{
    std::vector<int> counts(size_t(daySlots.count()), 0);
    const QString day = input::dateText(date);
    reservations.setIndex("Key_予約");
    for (reservations.seek(">=", {target, day, "00:00", ""}); !reservations.eof(); reservations.moveNext()) {
        if (reservations.text("予約_設定番号") != target || reservations.text("予約_年月日") != day)
            break;
        countCurrent(reservations, daySlots, counts);
    }
    return counts;
}

} // namespace 予約TBL
