#include "rules/occupancy.h"

#include "base/input.h"
#include "base/weekdays.h"
#include "records/cancellations.h"
#include "records/reservations.h"
#include "records/targets.h"
#include "rules/overlap_settings.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <map>

namespace occupancy {

namespace {

using 時間TBL::MinuteSpan;

int monthIndex(const QDate& firstMonth, const QDate& date)
{
    return (date.year() - firstMonth.year()) * 12 + date.month() - firstMonth.month();
}

QDate firstOfMonth(const QDate& date)
{
    return QDate(date.year(), date.month(), 1);
}

// Calls take(hour, minutes) for the minutes of [start, end) that lie inside the spans, hour by hour.
template <typename Take> void forEachHourInside(const std::vector<MinuteSpan>& spans, int start, int end, Take take)
{
    for (const MinuteSpan& span : spans) {
        for (int from = std::max(span.start, start), to = std::min(span.end, end); from < to;) {
            const int hourEnd = std::min((from / 60 + 1) * 60, to);
            take(from / 60, hourEnd - from);
            from = hourEnd;
        }
    }
}

// What the period holds of one target: its open time day by day, and its figures month by month
// from the first month it counts in.
class Ledger {
public:
    Ledger(QString number, QString abbrev, int places, const QDate& periodFirst, int months)
        : number_(std::move(number)), abbrev_(std::move(abbrev)), places_(places), periodFirst_(periodFirst), months_(size_t(months))
    {}

    const QString& number() const { return number_; }
    void setAbbrev(const QString& abbrev) { abbrev_ = abbrev; }
    // The months it counts in: [from, through], indexes into the period.
    void setMonths(int from, int through)
    {
        from_ = from;
        through_ = through;
    }
    int fromMonth() const { return from_; }
    int throughMonth() const { return through_; }
    QDate firstDay() const { return periodFirst_.addMonths(from_); }
    QDate lastDay() const { return periodFirst_.addMonths(through_ + 1).addDays(-1); }

    // The open time of its days, in date order from firstDay(), each within the hours shown.
    void open(std::vector<std::vector<MinuteSpan>> days, Occupancy& result)
    {
        days_ = std::move(days);
        QDate date = firstDay();
        for (const std::vector<MinuteSpan>& spans : days_) {
            Figures& month = months_[size_t(monthIndex(periodFirst_, date))];
            auto& heat = result.byWeekdayHour[size_t(weekdays::numberOf(date) - 1)];
            forEachHourInside(spans, 0, 24 * 60, [&](int hour, int minutes) {
                month.openMinutes += minutes;
                month.capacityMinutes += qint64(minutes) * places_;
                heat[size_t(hour)].capacityMinutes += qint64(minutes) * places_;
            });
            date = date.addDays(1);
        }
    }

    void book(const records::ReservationSpan& span, Occupancy& result)
    {
        Figures& month = months_[size_t(monthIndex(periodFirst_, span.date))];
        ++month.bookings;
        const qint64 day = firstDay().daysTo(span.date);
        if (day < 0 || day >= qint64(days_.size()))
            return;
        auto& heat = result.byWeekdayHour[size_t(weekdays::numberOf(span.date) - 1)];
        forEachHourInside(days_[size_t(day)], span.start.minutes(), span.end.minutes(), [&](int hour, int minutes) {
            month.bookedMinutes += minutes;
            heat[size_t(hour)].bookedMinutes += minutes;
        });
    }

    void cancelled(const QDate& date) { ++months_[size_t(monthIndex(periodFirst_, date))].cancellations; }

    void addRows(Occupancy& result) const
    {
        for (int m = from_; m <= through_; ++m) {
            result.rows.push_back({number_, abbrev_, periodFirst_.addMonths(m), places_, months_[size_t(m)]});
            result.total += months_[size_t(m)];
        }
    }

private:
    QString number_;
    QString abbrev_;
    int places_ = 1;
    QDate periodFirst_;
    int from_ = 0;
    int through_ = -1;
    std::vector<Figures> months_;
    std::vector<std::vector<MinuteSpan>> days_;
};

int placesOf(const 基本設定::Overlap& overlap)
{
    return overlap.allowed ? std::max(overlap.limit, 1) : 1;
}

// The open time of every day each ledger counts in, by the time table of the slot grids, within
// the hours the grids show. The hours and closures of the whole period are read once.
void openDays(const store::Database& db, const Settings& settings, const std::vector<Ledger*>& ledgers, Occupancy& result)
{
    if (ledgers.empty())
        return;
    QStringList targets{records::kCommonTarget};
    for (const Ledger* ledger : ledgers)
        targets << ledger->number();
    const 時間TBL::HoursTables tables(db, result.first, result.last, settings.DailyHoursKind, targets);
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
    const int shownFrom = daySlots.count() > 0 ? daySlots.start(0) : 0;
    const int shownTo = daySlots.WindowEnd;
    for (Ledger* ledger : ledgers) {
        TimeTable table;
        for (QDate date = ledger->firstDay(); date <= ledger->lastDay(); date = date.addDays(1)) {
            TimeTableColumn column;
            column.ColumnDate = date;
            column.Target = ledger->number();
            table.Columns.push_back(std::move(column));
        }
        時間TBL::BuildDateColumns(tables, table, settings.DailyHoursKind);
        std::vector<std::vector<MinuteSpan>> days;
        for (const TimeTableColumn& column : table.Columns) {
            std::vector<MinuteSpan> shown;
            for (const MinuteSpan& span : 時間TBL::DayHoursOf(table, column, daySlots).openTime()) {
                const MinuteSpan inside{std::max(span.start, shownFrom), std::min(span.end, shownTo)};
                if (inside.start < inside.end)
                    shown.push_back(inside);
            }
            days.push_back(std::move(shown));
        }
        ledger->open(std::move(days), result);
    }
}

bool counts(const records::Cancellation& c)
{
    // A desk's correction of its own mistake is no cancellation by a customer.
    return c.kind != records::CancelKind::Correction;
}

// The registered targets the request names, the common one left out.
std::vector<records::Target> registeredTargets(const store::Database& db, const QString& only)
{
    if (!only.isEmpty()) {
        const std::optional<records::Target> target = records::findTarget(db, only);
        return target ? std::vector<records::Target>{*target} : std::vector<records::Target>{};
    }
    std::vector<records::Target> targets = records::listTargets(db);
    std::erase_if(targets, [](const records::Target& t) { return t.number == records::kCommonTarget; });
    return targets;
}

// Bookings and cancellations of targets no longer registered, kept to be counted once their months
// are known.
struct Unregistered {
    std::vector<records::ReservationSpan> spans;
    std::vector<QDate> cancelled;
    QString abbrev;
    int firstMonth = std::numeric_limits<int>::max();
    int lastMonth = -1;

    void saw(int month)
    {
        firstMonth = std::min(firstMonth, month);
        lastMonth = std::max(lastMonth, month);
    }
};

void shownHours(Occupancy& result, const Settings& settings)
{
    int first = 24;
    int last = -1;
    for (const auto& weekday : result.byWeekdayHour) {
        for (int hour = 0; hour < 24; ++hour) {
            if (weekday[size_t(hour)].capacityMinutes > 0 || weekday[size_t(hour)].bookedMinutes > 0) {
                first = std::min(first, hour);
                last = std::max(last, hour);
            }
        }
    }
    if (last < 0) {
        const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);
        first = daySlots.count() > 0 ? daySlots.start(0) / 60 : 0;
        last = (daySlots.WindowEnd - 1) / 60;
    }
    result.firstHour = first;
    result.lastHour = last;
}

} // namespace

std::optional<double> Figures::rate() const
{
    if (capacityMinutes <= 0)
        return std::nullopt;
    return double(bookedMinutes) * 100.0 / double(capacityMinutes);
}

Figures& Figures::operator+=(const Figures& other)
{
    openMinutes += other.openMinutes;
    capacityMinutes += other.capacityMinutes;
    bookedMinutes += other.bookedMinutes;
    bookings += other.bookings;
    cancellations += other.cancellations;
    return *this;
}

std::optional<double> HourCell::rate() const
{
    return Figures{0, capacityMinutes, bookedMinutes, 0, 0}.rate();
}

std::vector<QDate> Occupancy::months() const
{
    std::vector<QDate> all;
    for (QDate month = first; month <= last; month = month.addMonths(1))
        all.push_back(month);
    return all;
}

Occupancy BuildOccupancy(const store::Database& db, const Settings& settings, const Request& request)
{
    Occupancy result;
    result.first = firstOfMonth(request.firstMonth);
    result.last = firstOfMonth(request.lastMonth).addMonths(1).addDays(-1);
    const int months = monthIndex(result.first, result.last) + 1;
    result.targetLine = QStringLiteral("全対象");
    if (months <= 0)
        return result;

    store::Transaction oneReading(db, store::Transaction::ForReading);
    const 基本設定::Overlap common = 基本設定::LoadCommonOverlap(db);

    // Registered targets count from the month of their earliest record; one whose records all come
    // after the period has no month in it.
    std::vector<Ledger> ledgers;
    QHash<QString, size_t> ledgerOf;
    for (const records::Target& target : registeredTargets(db, request.target)) {
        if (!request.target.isEmpty())
            result.targetLine = target.abbrev;
        std::optional<QDate> since = records::firstReservationDate(db, target.number);
        if (const std::optional<QDate> cancelled = records::firstCancellationDate(db, target.number))
            since = since ? std::min(*since, *cancelled) : cancelled;
        const int from = since ? std::max(monthIndex(result.first, *since), 0) : 0;
        if (from >= months)
            continue;
        Ledger ledger(target.number, target.abbrev, placesOf(基本設定::LoadTargetOverlap(db, target.number, common)), result.first, months);
        ledger.setMonths(from, months - 1);
        ledgerOf.insert(target.number, ledgers.size());
        ledgers.push_back(std::move(ledger));
    }
    std::vector<Ledger*> registered;
    registered.reserve(ledgers.size());
    for (Ledger& ledger : ledgers)
        registered.push_back(&ledger);
    openDays(db, settings, registered, result);

    std::map<QString, Unregistered> unregistered;
    const auto book = [&](const records::ReservationSpan& span) {
        if (const auto found = ledgerOf.constFind(span.target); found != ledgerOf.constEnd()) {
            ledgers[*found].book(span, result);
        } else if (request.target.isEmpty()) {
            Unregistered& other = unregistered[span.target];
            other.saw(monthIndex(result.first, span.date));
            other.spans.push_back(span);
        }
    };
    if (request.target.isEmpty()) {
        records::forEachSpanBetween(db, result.first, result.last, book);
    } else {
        for (const records::ReservationSpan& span : records::spansOfDays(db, request.target, result.first, result.last))
            book(span);
    }
    records::forEachCancellationBetween(db, result.first, result.last, [&](const records::Cancellation& c) {
        const records::Reservation& r = c.reservation;
        if (!counts(c))
            return;
        if (const auto found = ledgerOf.constFind(r.target); found != ledgerOf.constEnd()) {
            ledgers[*found].cancelled(r.date);
        } else if (request.target.isEmpty()) {
            Unregistered& other = unregistered[r.target];
            other.saw(monthIndex(result.first, r.date));
            other.cancelled.push_back(r.date);
            other.abbrev = r.abbrev;
        }
    });

    // Targets no longer registered count in the months between their first and last records.
    const size_t registeredCount = ledgers.size();
    for (auto& [number, other] : unregistered) {
        if (!other.spans.empty()) {
            const std::vector<records::Reservation> day = records::reservationsOfDay(db, number, other.spans.front().date);
            if (!day.empty())
                other.abbrev = day.front().abbrev;
        }
        Ledger ledger(number, other.abbrev, placesOf(基本設定::LoadTargetOverlap(db, number, common)), result.first, months);
        ledger.setMonths(other.firstMonth, other.lastMonth);
        ledgers.push_back(std::move(ledger));
    }
    std::vector<Ledger*> others;
    for (size_t i = registeredCount; i < ledgers.size(); ++i)
        others.push_back(&ledgers[i]);
    openDays(db, settings, others, result);
    for (Ledger* ledger : others) {
        const Unregistered& other = unregistered.at(ledger->number());
        for (const records::ReservationSpan& span : other.spans)
            ledger->book(span, result);
        for (const QDate& date : other.cancelled)
            ledger->cancelled(date);
    }
    oneReading.commit();

    std::sort(ledgers.begin(), ledgers.end(), [](const Ledger& a, const Ledger& b) { return a.number() < b.number(); });
    for (const Ledger& ledger : ledgers)
        ledger.addRows(result);
    shownHours(result, settings);
    return result;
}

QStringList TableCaptions()
{
    return {"対象番号", "対象略称", "年月", "営業時間", "予約時間", "稼働率", "予約件数", "取消件数"};
}

namespace {

QString hoursText(qint64 minutes)
{
    return QString::number(double(minutes) / 60.0, 'f', 1);
}

QStringList figureCells(const Figures& f)
{
    return {hoursText(f.openMinutes), hoursText(f.bookedMinutes), RateText(f.rate()), QString::number(f.bookings),
            QString::number(f.cancellations)};
}

} // namespace

std::vector<QStringList> TableRows(const Occupancy& occupancy)
{
    std::vector<QStringList> rows;
    for (const TargetMonth& row : occupancy.rows)
        rows.push_back(QStringList{row.target, row.abbrev, input::monthText(row.month)} + figureCells(row.figures));
    rows.push_back(QStringList{QString(), QStringLiteral("合計"), PeriodText(occupancy)} + figureCells(occupancy.total));
    return rows;
}

QString RateText(const std::optional<double>& rate)
{
    return rate ? QString::number(*rate, 'f', 1) + QLatin1Char('%') : QStringLiteral("－");
}

QString PeriodText(const Occupancy& occupancy)
{
    const QString first = input::monthText(occupancy.first);
    const QString last = input::monthText(occupancy.last);
    return first == last ? first : first + QStringLiteral("～") + last;
}

} // namespace occupancy
