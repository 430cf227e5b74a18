#include "records/cancellations.h"

#include "records/stored.h"

#include "base/clock.h"
#include "records/reservation_fields.h"
#include "records/series.h"
#include "store/store_error.h"

#include <algorithm>

namespace records {

namespace {

store::Table byKey(const store::Database& db)
{
    return db.table("予約取消", "Key_予約取消");
}

std::vector<store::Value> keyValues(const CancellationKey& key)
{
    const ReservationKey& r = key.reservation;
    return {r.target, r.date, input::timeText(r.start), r.reserverNo, stored::momentText(key.at)};
}

Cancellation read(const store::Table& t)
{
    const QString moment = t.text("取消_日時");
    const QDateTime at = stored::moment(moment).value_or(QDateTime());
    const QString kind = t.text("取消_区分");
    const bool knownKind = kind == QLatin1String("1") || kind == QLatin1String("2") || kind == QLatin1String("3");
    if (!at.isValid() || !knownKind) {
        throw store::StoreError(QStringLiteral("%1 の項目「%2」の値「%3」を読めません。")
                                    .arg(t.whichRecord(), at.isValid() ? QStringLiteral("取消_区分") : QStringLiteral("取消_日時"),
                                         at.isValid() ? kind : moment));
    }
    return {detail::readReservation(t, detail::kCancelledFields), at, CancelKind(kind.toInt()), t.text("取消_理由")};
}

void write(store::Table& t, const Cancellation& c)
{
    detail::writeReservation(t, c.reservation, detail::kCancelledFields);
    t.set("取消_日時", stored::momentText(c.at));
    t.set("取消_区分", QString::number(int(c.kind)));
    t.set("取消_理由", c.reason);
}

bool passes(const Cancellation& c, const CancellationFilter& filter)
{
    return (filter.target.isEmpty() || c.reservation.target == filter.target) &&
           (filter.reserverNo.isEmpty() || c.reservation.reserverNo == filter.reserverNo) &&
           (!filter.from || c.at.date() >= *filter.from) && (!filter.through || c.at.date() <= *filter.through);
}

} // namespace

bool cancelReservation(const store::Database& db, const ReservationKey& key, CancelKind kind, const QString& reason)
{
    store::Transaction transaction(db);
    const std::optional<Reservation> reservation = findReservation(db, key);
    if (!reservation)
        return false;
    // The stored moment is to the second, as the key compares it.
    const QDateTime now = *stored::moment(stored::momentText(appclock::now()));
    const Cancellation cancellation{*reservation, now, kind, reason};
    store::Table cancellations = byKey(db);
    cancellations.seekForWrite(keyValues(cancellation.key()));
    write(cancellations, cancellation);
    cancellations.update();
    cancellations.close();
    removeReservation(db, key);
    // A date of a series never comes back once its booking is cancelled.
    cancelSeriesDateOf(db, key, reason);
    transaction.commit();
    return true;
}

std::optional<Cancellation> findCancellation(const store::Database& db, const CancellationKey& key)
{
    store::Table cancellations = byKey(db);
    if (!cancellations.find(keyValues(key)))
        return std::nullopt;
    return read(cancellations);
}

std::vector<Cancellation> listCancellations(const store::Database& db, const CancellationFilter& filter)
{
    // The narrowest index the filter allows; the filter then decides each record.
    std::vector<Cancellation> found;
    const auto collect = [&](store::Table& t, const std::function<bool(const store::Table&)>& inRange) {
        for (; !t.eof() && inRange(t); t.moveNext()) {
            Cancellation c = read(t);
            if (passes(c, filter))
                found.push_back(std::move(c));
        }
    };
    const QString last = filter.through ? input::dateText(*filter.through) + QStringLiteral(" 99") : QString();
    if (!filter.reserverNo.isEmpty()) {
        store::Table t = db.table("予約取消", "Idx_予約者NO");
        t.seek(">=", {filter.reserverNo});
        collect(t, [&](const store::Table& r) { return r.text("取消_予約者NO") == filter.reserverNo; });
    } else if (!filter.target.isEmpty()) {
        store::Table t = byKey(db);
        t.seek(">=", {filter.target});
        collect(t, [&](const store::Table& r) { return r.text("取消_設定番号") == filter.target; });
    } else {
        store::Table t = db.table("予約取消", "Idx_日時");
        t.seek(">=", {filter.from ? input::dateText(*filter.from) : QString()});
        collect(t, [&](const store::Table& r) { return last.isEmpty() || r.text("取消_日時") < last; });
    }
    std::stable_sort(found.begin(), found.end(), [](const Cancellation& a, const Cancellation& b) { return a.at > b.at; });
    return found;
}

void forEachCancellationBetween(const store::Database& db, const QDate& first, const QDate& last,
                                const std::function<void(const Cancellation&)>& visit)
{
    store::Table cancellations = db.table("予約取消", "Idx_日付");
    const QString lastText = input::dateText(last);
    for (cancellations.seek(">=", {first}); !cancellations.eof(); cancellations.moveNext()) {
        const QString text = cancellations.text("取消_年月日");
        if (text > lastText)
            break;
        if (input::storedDate(text))
            visit(read(cancellations));
    }
}

std::optional<QDate> firstCancellationDate(const store::Database& db, const QString& target)
{
    store::Table cancellations = byKey(db);
    for (cancellations.seek(">=", {target}); !cancellations.eof() && cancellations.text("取消_設定番号") == target;
         cancellations.moveNext()) {
        if (const std::optional<QDate> date = input::storedDate(cancellations.text("取消_年月日")))
            return date;
    }
    return std::nullopt;
}

bool updateCancellation(const store::Database& db, const Cancellation& cancellation)
{
    store::Table cancellations = byKey(db);
    if (!cancellations.find(keyValues(cancellation.key())))
        return false;
    cancellations.edit();
    cancellations.set("取消_区分", QString::number(int(cancellation.kind)));
    cancellations.set("取消_理由", cancellation.reason);
    cancellations.update();
    return true;
}

bool removeCancellation(const store::Database& db, const CancellationKey& key)
{
    return byKey(db).findAndRemove(keyValues(key));
}

RestoreResult restoreCancellation(const store::Database& db, const CancellationKey& key)
{
    store::Transaction transaction(db);
    const std::optional<Cancellation> cancellation = findCancellation(db, key);
    if (!cancellation)
        return RestoreResult::NoRecord;
    if (findReservation(db, key.reservation))
        return RestoreResult::SlotTaken;
    saveReservation(db, cancellation->reservation);
    removeCancellation(db, key);
    transaction.commit();
    return RestoreResult::Restored;
}

int removeCancellationsBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    return stored::removeDatedBetween(db, "予約取消", "Idx_日付", from, through, progress);
}

} // namespace records
