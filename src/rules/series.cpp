#include "rules/series.h"

#include "base/clock.h"
#include "base/weekdays.h"
#include "rules/booking_limit.h"
#include "rules/holidays_in_force.h"
#include "rules/overlap_settings.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"

#include <QStringList>
#include <algorithm>

namespace series {

namespace {

using records::SeriesDateState;

// The desk's weekday name of a QDate::dayOfWeek() (1 Monday to 7 Sunday).
QString weekdayName(int dayOfWeek)
{
    return weekdays::name(dayOfWeek % 7 + 1);
}

QString reasonLeftOut(const PlannedDate& date)
{
    return date.state == DateState::Free ? QStringLiteral("対象外") : StateText(date);
}

// The part of the series from `at` on becomes the series `number`; the part before it ends the
// day before.
void split(const store::Database& db, const records::Series& whole, const QDate& at, const QString& number, const QString& remark)
{
    records::Series earlier = whole;
    records::Series later = whole;
    later.number = number;
    later.first = at;
    later.rule = recurrence::withUntil(whole.rule, whole.last);
    later.registeredAt = appclock::now();
    later.remark = remark;
    earlier.rule = recurrence::withUntil(whole.rule, at.addDays(-1));
    for (records::SeriesDate date : records::datesOfSeries(db, whole.number)) {
        if (date.date < at) {
            earlier.last = date.date;
            continue;
        }
        records::removeSeriesDate(db, whole.number, date.date);
        date.series = number;
        records::saveSeriesDate(db, date);
    }
    records::saveSeries(db, earlier);
    records::saveSeries(db, later);
}

bool hasDateBefore(const store::Database& db, const QString& series, const QDate& day)
{
    const std::vector<records::SeriesDate> dates = records::datesOfSeries(db, series);
    return !dates.empty() && dates.front().date < day;
}

} // namespace

QString RuleText(const recurrence::Rule& rule)
{
    using recurrence::Repeat;
    switch (rule.repeat) {
    case Repeat::Weekly: {
        QStringList days;
        for (int dayOfWeek = 1; dayOfWeek <= 7; ++dayOfWeek) {
            if (rule.weekdays[dayOfWeek % 7 + 1])
                days << weekdayName(dayOfWeek);
        }
        const QString every = rule.intervalWeeks == 1 ? QStringLiteral("毎週") : QStringLiteral("%1週ごと").arg(rule.intervalWeeks);
        return every + days.join(QStringLiteral("・")) + QStringLiteral("曜");
    }
    case Repeat::MonthlyByDay:
        return QStringLiteral("毎月%1日").arg(rule.first.day()) +
               (rule.monthEnd && recurrence::monthEndOffered(rule.first) ? QStringLiteral("（月末に合わせる）") : QString());
    case Repeat::MonthlyByWeekday:
        return QStringLiteral("毎月%1%2曜")
            .arg(rule.lastWeekday ? QStringLiteral("最終") : QStringLiteral("第%1").arg((rule.first.day() - 1) / 7 + 1),
                 weekdayName(rule.first.dayOfWeek()));
    }
    return {};
}

QString Describe(const records::Series& s)
{
    QString error;
    const std::optional<recurrence::Rule> rule = recurrence::fromRRule(s.rule, s.first, &error);
    return (rule ? RuleText(*rule) : s.rule) + QLatin1Char(' ') + input::timeText(s.start) + QStringLiteral("～") + input::timeText(s.end);
}

QString StateText(const PlannedDate& date)
{
    switch (date.state) {
    case DateState::Free: return QStringLiteral("予約可");
    case DateState::Full: return QStringLiteral("満員");
    case DateState::Closed: return QStringLiteral("休業日");
    case DateState::Holiday: return QStringLiteral("祝日：") + date.holiday;
    case DateState::Own: return QStringLiteral("予約済");
    }
    return {};
}

std::vector<PlannedDate> Preview(const store::Database& db, const Settings& settings, const Plan& plan)
{
    const std::vector<QDate> dates = recurrence::expand(plan.rule).dates;
    if (dates.empty())
        return {};
    const records::Reservation& b = plan.booking;
    store::Transaction reading(db, store::Transaction::ForReading);
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
    const 基本設定::Overlap overlap = 基本設定::LoadOverlapSettings(db, b.target);
    const std::vector<時間TBL::DayHours> days = 時間TBL::DayHoursOn(db, b.target, dates, settings.DailyHoursKind, daySlots);
    std::map<QDate, QString> holidays;
    for (const national_holidays::DayOfRecord& day : national_holidays::holidaysBetween(db, dates.front(), dates.back())) {
        if (day.inForce())
            holidays[day.date] = day.name;
    }
    // The reserver's own bookings at this time, read at once rather than date by date.
    std::map<QDate, records::Reservation> ownBookings;
    for (records::Reservation& r : records::reservationsOfReserver(db, b.reserverNo)) {
        if (r.target == b.target && r.start == b.start)
            ownBookings.emplace(r.date, std::move(r));
    }
    std::vector<PlannedDate> planned;
    planned.reserve(dates.size());
    for (size_t i = 0; i < dates.size(); ++i) {
        PlannedDate d;
        d.date = dates[i];
        if (const auto own = ownBookings.find(d.date); own != ownBookings.end())
            d.own = own->second;
        if (d.own) {
            d.state = DateState::Own;
            d.book = d.date == b.date; // the booking the series is made from
            planned.push_back(std::move(d));
            continue;
        }
        const bool closed = days[i].coversClosedTime(b.start.minutes(), b.end.minutes());
        const auto holiday = holidays.find(d.date);
        const bool full =
            予約上限::IsFull(予約上限::MostBookedSlot(db, daySlots, {b.target, d.date, b.start, QString()}, b.end, std::nullopt), overlap);
        if (holiday != holidays.end()) {
            d.state = DateState::Holiday;
            d.holiday = holiday->second;
        } else if (closed) {
            d.state = DateState::Closed;
        } else if (full) {
            d.state = DateState::Full;
        }
        d.book = !full && !(closed && plan.skipClosedDays) && !(holiday != holidays.end() && plan.skipHolidays);
        planned.push_back(std::move(d));
    }
    reading.commit();
    return planned;
}

std::vector<booking_write::Change> BookingChanges(const Registration& registration)
{
    std::vector<booking_write::Change> changes;
    for (const PlannedDate& date : registration.dates) {
        if (!date.book)
            continue;
        booking_write::Change change;
        change.read = date.own;
        if (date.own) {
            change.result = *date.own;
        } else {
            change.result = registration.plan.booking;
            change.result.date = date.date;
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

QString LeftOutReason(booking_write::Question question)
{
    return question == booking_write::Question::ClosedTime ? QStringLiteral("休業時間") : QStringLiteral("満員");
}

Registered Register(const store::Database& db, const Settings& settings, const Registration& registration,
                    const std::map<QDate, QString>& leftOut, const std::vector<booking_write::Change>& changes,
                    const std::vector<booking_write::Consent>& consents)
{
    Registered registered;
    store::Transaction writing(db);
    // Every write of a series takes the numbering first, so that no two series take one booking.
    registered.number = records::issueSeriesNumber(writing, db);
    for (size_t i = 0; i < changes.size(); ++i) {
        if (changes[i].read && records::seriesDateOfBooking(db, changes[i].read->key())) {
            registered.outcome.kind = booking_write::Outcome::Kind::KeyTaken;
            registered.outcome.concerned = {i};
            registered.outcome.now = changes[i].read;
            registered.outcome.holder = changes[i].read->reserverName;
            return registered;
        }
    }
    registered.outcome = booking_write::Write(db, settings, changes, consents);
    if (registered.outcome.kind != booking_write::Outcome::Kind::Written)
        return registered;

    const Plan& plan = registration.plan;
    std::map<QDate, records::ReservationKey> booked;
    for (const records::Reservation& stored : registered.outcome.stored)
        booked[stored.date] = stored.key();
    records::saveSeries(db, {registered.number, plan.booking.target, plan.booking.reserverNo, plan.booking.start, plan.booking.end,
                             recurrence::toRRule(plan.rule), registration.dates.front().date, registration.dates.back().date,
                             appclock::now(), plan.booking.remark});
    for (const PlannedDate& planned : registration.dates) {
        records::SeriesDate date{registered.number,       planned.date, plan.booking.target, plan.booking.start, plan.booking.reserverNo,
                                 SeriesDateState::Booked, QString()};
        if (const auto stored = booked.find(planned.date); stored != booked.end()) {
            date.target = stored->second.target;
            date.start = stored->second.start;
            date.reserverNo = stored->second.reserverNo;
            ++registered.booked;
        } else {
            const auto reason = leftOut.find(planned.date);
            date.state = SeriesDateState::LeftOut;
            date.reason = reason != leftOut.end() ? reason->second : reasonLeftOut(planned);
            ++registered.leftOut;
        }
        records::saveSeriesDate(db, date);
    }
    writing.commit();
    return registered;
}

std::optional<records::Series> SeriesOf(const store::Database& db, const records::ReservationKey& booking)
{
    const std::optional<records::SeriesDate> date = records::seriesDateOfBooking(db, booking);
    return date ? records::findSeries(db, date->series) : std::nullopt;
}

std::optional<Reached> ReachFrom(const store::Database& db, const records::ReservationKey& booking, Reach reach)
{
    store::Transaction reading(db, store::Transaction::ForReading);
    const std::optional<records::SeriesDate> own = records::seriesDateOfBooking(db, booking);
    const std::optional<records::Series> series = own ? records::findSeries(db, own->series) : std::nullopt;
    const std::optional<records::Reservation> stored = records::findReservation(db, booking);
    if (!series || !stored)
        return std::nullopt;
    Reached reached{*series, *own, {*stored}};
    if (reach != Reach::ThisOnly) {
        for (const records::SeriesDate& date : records::datesOfSeries(db, series->number)) {
            if (date.date == own->date || (reach == Reach::FromHere && date.date < own->date))
                continue;
            if (date.state == SeriesDateState::ChangedAlone)
                ++reached.leftAlone;
            else if (date.state == SeriesDateState::Booked) {
                if (std::optional<records::Reservation> b = records::findReservation(db, date.booking()))
                    reached.bookings.push_back(std::move(*b));
            }
        }
    }
    reading.commit();
    return reached;
}

std::vector<booking_write::Change> ReachedChanges(const Reached& reached, const booking_write::Change& own)
{
    std::vector<booking_write::Change> changes{own};
    for (size_t i = 1; i < reached.bookings.size(); ++i) {
        booking_write::Change change;
        change.kind = own.kind;
        change.read = reached.bookings[i];
        change.result = reached.bookings[i];
        change.result.reserverKana = own.result.reserverKana;
        change.result.remark = own.result.remark;
        change.cancelKind = own.cancelKind;
        change.cancelReason = own.cancelReason;
        changes.push_back(std::move(change));
    }
    return changes;
}

booking_write::Outcome WriteReached(const store::Database& db, const Settings& settings, const Reached& reached, Reach reach,
                                    const std::vector<booking_write::Change>& changes, const std::vector<booking_write::Consent>& consents)
{
    using Kind = booking_write::Change::Kind;
    const bool changing = changes.front().kind == Kind::Book;
    store::Transaction writing(db);
    QString splitNumber;
    if (changing && reach == Reach::FromHere && hasDateBefore(db, reached.series.number, reached.date.date))
        splitNumber = records::issueSeriesNumber(writing, db);
    booking_write::Outcome outcome = booking_write::Write(db, settings, changes, consents);
    if (outcome.kind != booking_write::Outcome::Kind::Written)
        return outcome;
    // What the series keeps, as it is stored now.
    const std::optional<records::SeriesDate> date = records::seriesDateOfBooking(db, changes.front().read->key());
    const std::optional<records::Series> series = date ? records::findSeries(db, date->series) : std::nullopt;
    if (changing && series) {
        const records::Reservation& stored = outcome.stored.front();
        if (reach == Reach::ThisOnly) {
            if (stored != *changes.front().read) {
                records::SeriesDate alone = *date;
                alone.state = SeriesDateState::ChangedAlone;
                records::saveSeriesDate(db, alone);
            }
        } else if (!splitNumber.isEmpty()) {
            split(db, *series, date->date, splitNumber, stored.remark);
        } else {
            records::Series changed = *series;
            changed.remark = stored.remark;
            records::saveSeries(db, changed);
        }
    }
    writing.commit();
    return outcome;
}

} // namespace series
