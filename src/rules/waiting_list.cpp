#include "rules/waiting_list.h"

#include "base/clock.h"
#include "records/reservers.h"
#include "records/targets.h"
#include "rules/booking_limit.h"
#include "rules/overlap_settings.h"
#include "rules/slot_counts.h"

#include <QTime>
#include <algorithm>
#include <map>
#include <tuple>

namespace waiting_list {

namespace {

void inOrderMade(std::vector<records::WaitingEntry>& entries)
{
    std::sort(entries.begin(), entries.end(), [](const records::WaitingEntry& a, const records::WaitingEntry& b) {
        return std::tie(a.made, a.number) < std::tie(b.made, b.number);
    });
}

bool overlaps(const records::WaitingEntry& entry, const records::ReservationSpan& span)
{
    return entry.target == span.target && entry.date == span.date && entry.start < span.end && span.start < entry.end;
}

// Whether the entry's time has room in every slot as the bookings stand.
bool fits(const store::Database& db, const SlotTimes& daySlots, const records::WaitingEntry& entry)
{
    const int most = 予約上限::MostBookedSlot(db, daySlots, {entry.target, entry.date, entry.start, QString()}, entry.end, std::nullopt);
    return !予約上限::IsFull(most, 基本設定::LoadOverlapSettings(db, entry.target));
}

} // namespace

bool StillWaiting(const records::WaitingEntry& entry)
{
    return entry.state == records::WaitingState::Waiting &&
           QDateTime(entry.date, QTime(entry.start.hour, entry.start.minute)) > appclock::now();
}

Registration Register(const store::Database& db, const Settings& settings, records::WaitingEntry entry,
                      const std::function<QString(const store::Database&)>& saveReserver)
{
    using Kind = Registration::Kind;
    entry.state = records::WaitingState::Waiting;
    if (!StillWaiting(entry))
        return {Kind::Started, entry};
    store::Transaction registering(db);
    if (fits(db, 予約TBL::SlotTimesOf(settings), entry))
        return {Kind::PlaceFree, entry};
    entry.reserverNo = saveReserver(db);
    for (records::WaitingEntry& other : OfDay(db, entry.target, entry.date)) {
        if (other.reserverNo == entry.reserverNo && other.start < entry.end && entry.start < other.end)
            return {Kind::AlreadyWaiting, std::move(other)};
    }
    entry = records::addWaitingEntry(db, entry, appclock::now());
    registering.commit();
    return {Kind::Registered, entry};
}

std::vector<records::WaitingEntry> Offers(const store::Database& db, const Settings& settings,
                                          const std::vector<records::ReservationSpan>& freed)
{
    store::Transaction oneReading(db, store::Transaction::ForReading);
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
    std::map<QString, records::WaitingEntry> candidates; // by number: a day freed twice offers each once
    for (const records::ReservationSpan& span : freed) {
        for (records::WaitingEntry& entry : OfDay(db, span.target, span.date)) {
            if (overlaps(entry, span))
                candidates.emplace(entry.number, std::move(entry));
        }
    }
    std::vector<records::WaitingEntry> offers;
    for (auto& [number, entry] : candidates) {
        if (fits(db, daySlots, entry))
            offers.push_back(std::move(entry));
    }
    oneReading.commit();
    inOrderMade(offers);
    return offers;
}

std::vector<records::WaitingEntry> AllWaiting(const store::Database& db)
{
    std::vector<records::WaitingEntry> waiting = records::waitingEntriesFrom(db, appclock::today());
    std::erase_if(waiting, [](const records::WaitingEntry& e) { return !StillWaiting(e); });
    inOrderMade(waiting);
    return waiting;
}

std::vector<records::WaitingEntry> OfDay(const store::Database& db, const QString& target, const QDate& date)
{
    std::vector<records::WaitingEntry> day = records::waitingEntriesOfDay(db, target, date);
    std::erase_if(day, [](const records::WaitingEntry& e) { return !StillWaiting(e); });
    inOrderMade(day);
    return day;
}

std::vector<records::WaitingEntry> InSlot(const store::Database& db, const SlotTimes& daySlots, const QString& target, const QDate& date,
                                          int slot)
{
    std::vector<records::WaitingEntry> inSlot = OfDay(db, target, date);
    std::erase_if(inSlot, [&](const records::WaitingEntry& e) {
        const auto [first, last] = daySlots.covering(e.start.minutes(), e.end.minutes());
        return slot < first || slot >= last;
    });
    return inSlot;
}

std::vector<int> CountForDay(const store::Database& db, const SlotTimes& daySlots, const QString& target, const QDate& date)
{
    std::vector<int> counts(size_t(daySlots.count()), 0);
    for (const records::WaitingEntry& e : OfDay(db, target, date)) {
        const auto [first, last] = daySlots.covering(e.start.minutes(), e.end.minutes());
        for (int slot = first; slot < last; ++slot)
            ++counts[size_t(slot)];
    }
    return counts;
}

std::vector<std::vector<int>> CountForColumns(const store::Database& db, const SlotTimes& daySlots,
                                              const std::vector<TimeTableColumn>& columns)
{
    std::vector<std::vector<int>> counts(columns.size(), std::vector<int>(size_t(daySlots.count()), 0));
    if (columns.empty())
        return counts;
    // One read of the dates the columns span, shared out to the columns.
    const auto [first, last] = std::minmax_element(
        columns.begin(), columns.end(), [](const TimeTableColumn& a, const TimeTableColumn& b) { return a.ColumnDate < b.ColumnDate; });
    std::map<std::pair<QString, QDate>, std::vector<size_t>> columnsOf;
    for (size_t i = 0; i < columns.size(); ++i)
        columnsOf[{columns[i].Target, columns[i].ColumnDate}].push_back(i);
    for (const records::WaitingEntry& e : records::waitingEntriesBetween(db, first->ColumnDate, last->ColumnDate)) {
        const auto shown = columnsOf.find({e.target, e.date});
        if (shown == columnsOf.end() || !StillWaiting(e))
            continue;
        const auto [from, to] = daySlots.covering(e.start.minutes(), e.end.minutes());
        for (const size_t column : shown->second) {
            for (int slot = from; slot < to; ++slot)
                ++counts[column][size_t(slot)];
        }
    }
    return counts;
}

booking_write::Change BookingOf(const store::Database& db, const records::WaitingEntry& entry)
{
    const std::optional<records::Target> target = records::findTarget(db, entry.target);
    const std::optional<records::Reserver> reserver = records::findReserver(db, entry.reserverNo);
    booking_write::Change booking;
    records::Reservation& r = booking.result;
    r.target = entry.target;
    r.date = entry.date;
    r.start = entry.start;
    r.end = entry.end;
    r.reserverNo = entry.reserverNo;
    r.overlapAllowed = 基本設定::LoadOverlapSettings(db, entry.target).allowed;
    r.takenOn = appclock::today();
    r.abbrev = target ? target->abbrev : QString();
    r.reserverName = entry.reserverName;
    r.reserverKana = reserver ? reserver->kana : QString();
    r.remark = entry.remark;
    const QString number = entry.number;
    booking.stillAsRead = [number](const store::Database& db) {
        const std::optional<records::WaitingEntry> now = records::findWaitingEntry(db, number);
        return now && StillWaiting(*now);
    };
    // The reserver as the entry named them; one removed meanwhile is written again.
    booking.saveReserver = [entry](const store::Database& db) {
        std::optional<records::Reserver> stored = records::findReserver(db, entry.reserverNo);
        records::Reserver reserver = stored.value_or(records::Reserver{});
        if (!stored) {
            reserver.number = entry.reserverNo;
            reserver.name = entry.reserverName;
            reserver.phone = entry.phone;
        }
        if (!reserver.lastBooked || *reserver.lastBooked < entry.date) {
            reserver.lastBooked = entry.date;
            reserver.target = entry.target;
        }
        records::saveReserver(db, reserver);
        return reserver.number;
    };
    booking.alsoWrite = [number](const store::Database& db, const records::Reservation&) {
        records::setWaitingState(db, number, records::WaitingState::Booked);
    };
    return booking;
}

bool Withdraw(const store::Database& db, const records::WaitingEntry& entry)
{
    store::Transaction withdrawing(db);
    const std::optional<records::WaitingEntry> now = records::findWaitingEntry(db, entry.number);
    if (!now || !StillWaiting(*now))
        return false;
    records::setWaitingState(db, entry.number, records::WaitingState::Withdrawn);
    withdrawing.commit();
    return true;
}

} // namespace waiting_list
