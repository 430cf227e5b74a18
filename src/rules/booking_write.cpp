#include "rules/booking_write.h"

#include "records/basic.h"
#include "records/reservers.h"
#include "records/series.h"
#include "rules/booking_limit.h"
#include "rules/overlap_settings.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"

#include <algorithm>
#include <map>
#include <set>

namespace booking_write {

namespace {

using Kind = Change::Kind;

bool places(const Change& change)
{
    return change.kind != Kind::Cancel;
}

// A booking that lands where the one read already was takes no slot it did not hold: nothing to
// count and no closed time to find (a changed phone number or remark).
bool takesNewSlots(const Change& change)
{
    if (!places(change))
        return false;
    if (!change.read)
        return true;
    const records::Reservation& a = *change.read;
    const records::Reservation& b = change.result;
    return a.target != b.target || a.date != b.date || a.start != b.start || a.end != b.end;
}

Outcome concerning(Outcome::Kind kind, size_t index)
{
    Outcome outcome;
    outcome.kind = kind;
    outcome.concerned = {index};
    return outcome;
}

// 1. Every booking and cancellation read is still stored as it was read.
std::optional<Outcome> readsChanged(const store::Database& db, const std::vector<Change>& changes)
{
    for (size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        if (change.read) {
            const std::optional<records::Reservation> now = records::findReservation(db, change.read->key());
            if (!now)
                return concerning(Outcome::Kind::Gone, i);
            if (*now != *change.read) {
                Outcome outcome = concerning(Outcome::Kind::ChangedElsewhere, i);
                outcome.now = now;
                return outcome;
            }
        }
        if (change.restoring && !records::findCancellation(db, change.restoring->key()))
            return concerning(Outcome::Kind::Gone, i);
        if (change.stillAsRead && !change.stillAsRead(db))
            return concerning(Outcome::Kind::Gone, i);
    }
    return std::nullopt;
}

// 2. and 3. The limit of every slot a booking takes anew, then closed time inside it; one question
// for all the changes it concerns.
std::optional<Outcome> questionFor(const store::Database& db, const Settings& settings, const std::vector<Change>& changes,
                                   const std::vector<Consent>& consents)
{
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
    Outcome limit;
    limit.kind = Outcome::Kind::Ask;
    std::map<QString, 基本設定::Overlap> rules;
    std::map<QString, std::vector<size_t>> byTarget;
    for (size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        if (!takesNewSlots(change))
            continue;
        const records::Reservation& r = change.result;
        byTarget[r.target].push_back(i);
        if (!rules.contains(r.target))
            rules[r.target] = 基本設定::LoadOverlapSettings(db, r.target);
        const std::optional<records::ReservationKey> replaced = change.read ? std::optional(change.read->key()) : std::nullopt;
        const int most = 予約上限::MostBookedSlot(db, daySlots, {r.target, r.date, r.start, QString()}, r.end, replaced);
        if (予約上限::IsFull(most, rules[r.target]) && most > consents[i].booked) {
            if (limit.concerned.empty())
                limit.question = rules[r.target].allowed ? Question::OverLimit : Question::Overlap;
            limit.concerned.push_back(i);
            limit.booked.push_back(most);
        }
    }
    if (!limit.concerned.empty())
        return limit;

    Outcome closed;
    closed.kind = Outcome::Kind::Ask;
    closed.question = Question::ClosedTime;
    for (const auto& [target, indexes] : byTarget) {
        std::vector<QDate> dates;
        for (size_t i : indexes)
            dates.push_back(changes[i].result.date);
        const std::vector<時間TBL::DayHours> days = 時間TBL::DayHoursOn(db, target, dates, settings.DailyHoursKind, daySlots);
        for (size_t n = 0; n < indexes.size(); ++n) {
            const records::Reservation& r = changes[indexes[n]].result;
            if (!consents[indexes[n]].closedTime && days[n].coversClosedTime(r.start.minutes(), r.end.minutes()))
                closed.concerned.push_back(indexes[n]);
        }
    }
    if (!closed.concerned.empty()) {
        std::sort(closed.concerned.begin(), closed.concerned.end());
        return closed;
    }
    return std::nullopt;
}

Outcome evaluate(const store::Database& db, const Settings& settings, const std::vector<Change>& changes,
                 const std::vector<Consent>& consents)
{
    if (std::optional<Outcome> changed = readsChanged(db, changes))
        return *changed;
    if (std::optional<Outcome> question = questionFor(db, settings, changes, consents))
        return *question;
    return {};
}

// Another reserver's booking on the key a change would write, if any. A Book may store over a
// booking of the same reserver name on its key (the entry form saves in place); a move or a
// restore never stores over one.
std::optional<records::Reservation> keyHolder(const store::Database& db, const Change& change, const records::Reservation& result)
{
    std::optional<records::Reservation> there = records::findReservation(db, result.key());
    if (!there || (change.read && there->key() == change.read->key()))
        return std::nullopt;
    if (change.kind == Kind::Book && there->reserverName == result.reserverName)
        return std::nullopt;
    return there;
}

// The reserver's latest booking date moves forward to a booking placed later.
void moveLatestBooking(const store::Database& db, const records::Reservation& placed)
{
    std::optional<records::Reserver> reserver = records::findReserver(db, placed.reserverNo);
    if (reserver && (!reserver->lastBooked || *reserver->lastBooked < placed.date)) {
        reserver->lastBooked = placed.date;
        reserver->target = placed.target;
        records::saveReserver(db, *reserver);
    }
}

// A moved or restored booking of a series takes its date along (a cancelled one is followed where
// every cancellation is written).
void followSeries(const store::Database& db, const Change& change, const records::Reservation& result)
{
    if (change.kind == Kind::Move)
        records::moveSeriesDateOf(db, change.read->key(), result.key());
    else if (change.kind == Kind::Restore)
        records::restoreSeriesDateOf(db, result.key());
}

// The days (target and date) the changes touch: the one each read, and the one each places.
std::set<std::pair<QString, QDate>> daysOf(const std::vector<Change>& changes)
{
    std::set<std::pair<QString, QDate>> days;
    for (const Change& change : changes) {
        if (change.read)
            days.insert({change.read->target, change.read->date});
        if (places(change))
            days.insert({change.result.target, change.result.date});
    }
    return days;
}

// What evaluate() and the reservers' step read, read ahead at once (a server: in one round trip):
// the bookings of each day touched, the basic records, the hours and calendar of those dates.
std::vector<store::Range> readsOf(const std::vector<Change>& changes, const std::set<std::pair<QString, QDate>>& days)
{
    std::vector<store::Range> ranges{records::basicsRange()};
    QDate first;
    QDate last;
    for (const auto& [target, date] : days) {
        ranges.push_back(records::reservationsOfDaysRange(target, date, date));
        first = first.isValid() ? std::min(first, date) : date;
        last = std::max(last, date);
    }
    if (first.isValid()) {
        for (store::Range& range : 時間TBL::TimeTableRanges(first, last))
            ranges.push_back(std::move(range));
    }
    for (const Change& change : changes) {
        ranges.insert(ranges.end(), change.reserverReads.begin(), change.reserverReads.end());
        ranges.insert(ranges.end(), change.foundReads.begin(), change.foundReads.end());
    }
    return ranges;
}

// The time `before` held on its target's day that `after` (none: nothing) does not hold.
void addFreed(std::vector<records::ReservationSpan>& freed, const records::Reservation& before, const records::Reservation* after)
{
    const auto add = [&](int from, int to) {
        if (from < to)
            freed.push_back({before.target, before.date, {from / 60, from % 60}, {to / 60, to % 60}});
    };
    const int start = before.start.minutes();
    const int end = before.end.minutes();
    if (!after || after->target != before.target || after->date != before.date) {
        add(start, end);
        return;
    }
    add(start, std::min(end, after->start.minutes()));
    add(std::max(start, after->end.minutes()), end);
}

} // namespace

void Agree(const Outcome& asked, std::vector<Consent>& consents)
{
    for (size_t n = 0; n < asked.concerned.size(); ++n) {
        Consent& consent = consents[asked.concerned[n]];
        if (asked.question == Question::ClosedTime)
            consent.closedTime = true;
        else
            consent.booked = asked.booked[n];
    }
}

Outcome Check(const store::Database& db, const Settings& settings, std::vector<Change>& changes, const std::vector<Consent>& consents)
{
    store::Transaction oneReading(db, store::Transaction::ForReading);
    for (Change& change : changes)
        change.foundReads.clear();
    const store::ReadAhead together(db, readsOf(changes, daysOf(changes)));
    Outcome outcome = evaluate(db, settings, changes, consents);
    for (Change& change : changes) {
        if (change.findReads)
            change.foundReads = change.findReads(db);
    }
    oneReading.commit();
    return outcome;
}

Outcome Write(const store::Database& db, const Settings& settings, const std::vector<Change>& changes, const std::vector<Consent>& consents)
{
    store::Transaction writing(db);
    // The days a change touches are this desk's alone until the end, in one order for every desk.
    const std::set<std::pair<QString, QDate>> days = daysOf(changes);
    for (const auto& [target, date] : days)
        records::lockBookings(writing, target, date);
    const store::ReadAhead together(db, readsOf(changes, days));

    Outcome outcome = evaluate(db, settings, changes, consents);
    if (outcome.kind != Outcome::Kind::Fits)
        return outcome;
    outcome.kind = Outcome::Kind::Written;
    // Each reserver's latest booking placed here, written to the reserver once at the end.
    std::map<QString, records::Reservation> latestPlaced;
    for (size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        if (change.kind == Kind::Cancel) {
            records::cancelReservation(db, change.read->key(), change.cancelKind, change.cancelReason);
            addFreed(outcome.freed, *change.read, nullptr);
            outcome.stored.emplace_back();
            outcome.replaced.push_back(false);
            continue;
        }
        records::Reservation result = change.result;
        if (change.saveReserver)
            result.reserverNo = change.saveReserver(db);
        if (const std::optional<records::Reservation> holder = keyHolder(db, change, result)) {
            Outcome taken = concerning(Outcome::Kind::KeyTaken, i);
            taken.now = holder;
            taken.holder = holder->reserverName;
            return taken;
        }
        // A Book under another reserver (a new name typed over the one read) is a booking of its
        // own beside the one read; a move takes the booking away from where it was.
        const std::optional<records::Reservation> before =
            change.kind == Kind::Move ? change.read : records::findReservation(db, result.key());
        if (before)
            addFreed(outcome.freed, *before, &result);
        if (change.kind == Kind::Move)
            records::removeReservation(db, change.read->key());
        if (change.restoring)
            records::removeCancellation(db, change.restoring->key());
        outcome.replaced.push_back(records::saveReservation(db, result));
        // A booking written without the entry form's reserver step (a move, a date of a series)
        // still keeps the reserver from the purge of those with no booking left.
        if (change.kind == Kind::Move || (change.kind == Kind::Book && !change.saveReserver)) {
            auto [latest, first] = latestPlaced.try_emplace(result.reserverNo, result);
            if (!first && latest->second.date < result.date)
                latest->second = result;
        }
        followSeries(db, change, result);
        if (change.alsoWrite)
            change.alsoWrite(db, result);
        outcome.stored.push_back(std::move(result));
    }
    for (const auto& [reserverNo, placed] : latestPlaced)
        moveLatestBooking(db, placed);
    writing.commit();
    return outcome;
}

} // namespace booking_write
