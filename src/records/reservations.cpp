#include "records/reservations.h"

#include "records/reservation_fields.h"
#include "records/stored.h"

#include <algorithm>
#include <tuple>

namespace records {

namespace {

store::Table byKey(const store::Database& db)
{
    return db.table("予約", "Key_予約");
}

Reservation read(const store::Table& r)
{
    return detail::readReservation(r, detail::kReservationFields);
}

ReservationSpan spanOf(const store::Table& r, const QDate& date)
{
    return {r.text("予約_設定番号"), date, r.time("予約_開始時間"), r.time("予約_終了時間", true)};
}

std::vector<store::Value> keyValues(const ReservationKey& key)
{
    return {key.target, key.date, stored::timeText(key.start), key.reserverNo};
}

} // namespace

namespace detail {

Reservation readReservation(const store::Table& r, const ReservationFields& f)
{
    return {r.text(f.target),
            r.date(f.date),
            r.time(f.start),
            r.text(f.reserverNo),
            stored::flag(r, f.overlap),
            r.time(f.end, true),
            stored::legacyDate(r, f.takenOn),
            r.text(f.abbrev),
            r.text(f.reserverName),
            r.text(f.reserverKana),
            r.text(f.remark)};
}

void writeReservation(store::Table& table, const Reservation& r, const ReservationFields& f)
{
    table.set(f.target, r.target);
    table.set(f.date, input::dateText(r.date));
    table.set(f.start, stored::timeText(r.start));
    table.set(f.reserverNo, r.reserverNo);
    table.set(f.overlap, r.overlapAllowed ? "1" : "0");
    table.set(f.end, stored::timeText(r.end));
    table.set(f.takenOn, stored::dateText(r.takenOn));
    table.set(f.abbrev, r.abbrev);
    table.set(f.reserverName, r.reserverName);
    table.set(f.reserverKana, r.reserverKana);
    table.set(f.remark, r.remark);
}

} // namespace detail

std::optional<Reservation> findReservation(const store::Database& db, const ReservationKey& key)
{
    store::Table reservations = byKey(db);
    if (!reservations.find(keyValues(key)))
        return std::nullopt;
    return read(reservations);
}

std::vector<Reservation> reservationsOfDay(const store::Database& db, const QString& target, const QDate& date)
{
    std::vector<Reservation> day;
    store::Table reservations = byKey(db);
    const QString dateText = input::dateText(date);
    for (reservations.seek(">=", {target, dateText, "00:00", ""}); !reservations.eof(); reservations.moveNext()) {
        if (reservations.text("予約_設定番号") != target || reservations.text("予約_年月日") != dateText)
            break;
        day.push_back(read(reservations));
    }
    return day;
}

void forEachReservationBetween(const store::Database& db, const QDate& first, const QDate& last,
                               const std::function<void(const Reservation&)>& visit)
{
    store::Table reservations = db.table("予約", "Idx_日付");
    const QString lastText = input::dateText(last);
    std::vector<Reservation> day;
    const auto flush = [&] {
        std::sort(day.begin(), day.end(), [](const Reservation& a, const Reservation& b) {
            return std::tie(a.target, a.start, a.reserverNo) < std::tie(b.target, b.start, b.reserverNo);
        });
        for (const Reservation& reservation : day)
            visit(reservation);
        day.clear();
    };
    QString dayText;
    for (reservations.seek(">=", {input::dateText(first)}); !reservations.eof(); reservations.moveNext()) {
        const QString text = reservations.text("予約_年月日");
        if (text > lastText)
            break;
        if (!input::storedDate(text))
            continue;
        if (text != dayText) {
            flush();
            dayText = text;
        }
        day.push_back(read(reservations));
    }
    flush();
}

store::Range reservationsOfDaysRange(const QString& target, const QDate& first, const QDate& last)
{
    return {"予約", "Key_予約", {target, input::dateText(first), "00:00", ""}, {target, input::dateText(last)}};
}

store::Range reservationsOnDateRange(const QDate& date)
{
    const QString day = input::dateText(date);
    return {"予約", "Idx_日付", {day}, {day}};
}

std::vector<ReservationSpan> spansOfDays(const store::Database& db, const QString& target, const QDate& first, const QDate& last)
{
    std::vector<ReservationSpan> spans;
    store::Table reservations = byKey(db);
    const QString lastText = input::dateText(last);
    for (reservations.seek(">=", {target, first, "00:00", ""}); !reservations.eof(); reservations.moveNext()) {
        const QString day = reservations.text("予約_年月日");
        if (reservations.text("予約_設定番号") != target || day > lastText)
            break;
        // A date in another form ("2024/05/2") sorts among these but is none of them.
        const std::optional<QDate> date = input::storedDate(day);
        if (date && *date >= first)
            spans.push_back(spanOf(reservations, *date));
    }
    return spans;
}

std::vector<ReservationSpan> spansOnDate(const store::Database& db, const QDate& date)
{
    std::vector<ReservationSpan> spans;
    store::Table reservations = db.table("予約", "Idx_日付");
    const QString day = input::dateText(date);
    for (reservations.seek(">=", {day}); !reservations.eof(); reservations.moveNext()) {
        if (reservations.text("予約_年月日") != day)
            break;
        spans.push_back(spanOf(reservations, date));
    }
    return spans;
}

void forEachSpanBetween(const store::Database& db, const QDate& first, const QDate& last,
                        const std::function<void(const ReservationSpan&)>& visit)
{
    store::Table reservations = db.table("予約", "Idx_日付");
    const QString lastText = input::dateText(last);
    QString dayText;
    std::optional<QDate> day;
    for (reservations.seek(">=", {first}); !reservations.eof(); reservations.moveNext()) {
        const QString text = reservations.text("予約_年月日");
        if (text > lastText)
            break;
        if (text != dayText) {
            dayText = text;
            day = input::storedDate(text);
        }
        if (day)
            visit(spanOf(reservations, *day));
    }
}

std::optional<QDate> firstReservationDate(const store::Database& db, const QString& target)
{
    store::Table reservations = db.table("予約", "Idx_期限");
    for (reservations.seek(">=", {target}); !reservations.eof() && reservations.text("予約_設定番号") == target; reservations.moveNext()) {
        if (const std::optional<QDate> date = input::storedDate(reservations.text("予約_年月日")))
            return date;
    }
    return std::nullopt;
}

bool saveReservation(const store::Database& db, const Reservation& r)
{
    store::Table reservations = byKey(db);
    const bool existed = reservations.seekForWrite(keyValues(r.key()));
    detail::writeReservation(reservations, r, detail::kReservationFields);
    reservations.update();
    return existed;
}

bool removeReservation(const store::Database& db, const ReservationKey& key)
{
    return byKey(db).findAndRemove(keyValues(key));
}

bool targetHasReservationsFrom(const store::Database& db, const QString& target, const QDate& from)
{
    const QString query = QStringLiteral("SELECT 予約.* ") + QStringLiteral("From 予約  ") +
                          QStringLiteral("WHERE 予約.予約_設定番号 =  ") + store::sqlLiteral(target) + QStringLiteral(" ") +
                          QStringLiteral("AND 予約.予約_年月日 >=  ") + store::sqlLiteral(input::dateText(from)) + QStringLiteral(" ") +
                          QStringLiteral("ORDER BY 予約.予約_年月日 DESC ; ");
    return db.queryHasRows(query);
}

std::vector<Reservation> reservationsOfReserver(const store::Database& db, const QString& reserverNo)
{
    std::vector<Reservation> found;
    store::Table reservations = db.table("予約", "Idx_予約者NO");
    for (reservations.seek(">=", {reserverNo}); !reservations.eof() && reservations.text("予約_予約者NO") == reserverNo;
         reservations.moveNext())
        found.push_back(read(reservations));
    return found;
}

bool reserverHasReservationsFrom(const store::Database& db, const QString& reserverNo, const QDate& from)
{
    // By date, then reserver: each date that has reservations costs two seeks, however many it has.
    store::Table reservations = db.table("予約", "Idx_削除判定");
    reservations.seek(">=", {input::dateText(from)});
    while (!reservations.eof()) {
        const QString day = reservations.text("予約_年月日");
        if (reservations.find({day, reserverNo}))
            return true;
        reservations.seek(">", {day});
    }
    return false;
}

int removeTargetReservationsThrough(const store::Database& db, const QString& target, const QDate& through, const store::Progress& progress)
{
    return db.table("予約", "Idx_期限").removeRange({target, ""}, {target, through}, progress);
}

int removeReservationsBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    return stored::removeDatedBetween(db, "予約", "Idx_日付", from, through, progress);
}

void lockBookings(const store::Transaction& transaction, const QString& target, const QDate& date)
{
    transaction.serialise(QStringLiteral("予約 %1 %2").arg(target, input::dateText(date)));
}

} // namespace records
