#include "records/reservations.h"

#include "records/stored.h"

namespace records {

namespace {

store::Table byKey(const store::Database& db)
{
    return db.table("予約", "Key_予約");
}

Reservation read(const store::Table& r)
{
    return {r.text("予約_設定番号"),
            r.date("予約_年月日"),
            r.time("予約_開始時間"),
            r.text("予約_予約者NO"),
            stored::flag(r, "予約_重複"),
            r.time("予約_終了時間", true),
            stored::legacyDate(r, "予約_受付日"),
            r.text("予約_略称"),
            r.text("予約_予約者名"),
            r.text("予約_予約者名カナ"),
            r.text("予約_備考")};
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

std::vector<ReservationSpan> spansOfDays(const store::Database& db, const QString& target, const QDate& first,
                                         const QDate& last)
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

bool saveReservation(const store::Database& db, const Reservation& r)
{
    store::Table reservations = byKey(db);
    const QString start = stored::timeText(r.start);
    const bool existed = reservations.seekForWrite(keyValues(r.key()));
    reservations.set("予約_設定番号", r.target);
    reservations.set("予約_年月日", input::dateText(r.date));
    reservations.set("予約_開始時間", start);
    reservations.set("予約_予約者NO", r.reserverNo);
    reservations.set("予約_重複", r.overlapAllowed ? "1" : "0");
    reservations.set("予約_終了時間", stored::timeText(r.end));
    reservations.set("予約_受付日", stored::dateText(r.takenOn));
    reservations.set("予約_略称", r.abbrev);
    reservations.set("予約_予約者名", r.reserverName);
    reservations.set("予約_予約者名カナ", r.reserverKana);
    reservations.set("予約_備考", r.remark);
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
                          QStringLiteral("AND 予約.予約_年月日 >=  ") + store::sqlLiteral(input::dateText(from)) +
                          QStringLiteral(" ") + QStringLiteral("ORDER BY 予約.予約_年月日 DESC ; ");
    return db.queryHasRows(query);
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

int removeTargetReservationsThrough(const store::Database& db, const QString& target, const QDate& through)
{
    const QString lastDate = input::dateText(through);
    store::Table reservations = db.table("予約", "Idx_期限");
    reservations.seek(">=", {target, ""});
    return reservations.removeWhile([&](const store::Table& r) {
        return r.text("予約_設定番号") == target && r.text("予約_年月日") <= lastDate;
    });
}

int removeReservationsBetween(const store::Database& db, const QDate& from, const QDate& through)
{
    const QString lastDate = input::dateText(through);
    store::Table reservations = db.table("予約", "Idx_日付");
    reservations.seek(">=", {from});
    return reservations.removeWhile([&](const store::Table& r) { return r.text("予約_年月日") <= lastDate; });
}

void lockBookings(const store::Transaction& transaction, const QString& target, const QDate& date)
{
    transaction.serialise(QStringLiteral("予約 %1 %2").arg(target, input::dateText(date)));
}

} // namespace records
