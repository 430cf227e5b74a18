#include "records/series.h"

#include "records/stored.h"
#include "store/store_error.h"

#include <algorithm>

namespace records {

namespace {

const QString kMomentFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

store::Table seriesByNumber(const store::Database& db)
{
    return db.table("定期予約", "Key_定期予約");
}

store::Table datesByDay(const store::Database& db)
{
    return db.table("定期日程", "Key_定期日程");
}

Series readSeries(const store::Table& t)
{
    const QString moment = t.text("定期_登録日時");
    const QDateTime at = QDateTime::fromString(moment, kMomentFormat);
    if (!at.isValid())
        throw store::StoreError(
            QStringLiteral("%1 の項目「%2」の値「%3」を読めません。").arg(t.whichRecord(), QStringLiteral("定期_登録日時"), moment));
    return {t.text("定期_番号"),     t.text("定期_設定番号"),       t.text("定期_予約者NO"),
            t.time("定期_開始時間"), t.time("定期_終了時間", true), t.text("定期_規則"),
            t.date("定期_開始日"),   t.date("定期_終了日"),         at,
            t.text("定期_備考")};
}

SeriesDate readDate(const store::Table& t)
{
    const int state = t.integer("日程_状態");
    if (state < 1 || state > 4)
        throw store::StoreError(
            QStringLiteral("%1 の項目「%2」の値「%3」を読めません。").arg(t.whichRecord(), QStringLiteral("日程_状態")).arg(state));
    return {t.text("日程_定期番号"), t.date("日程_年月日"),  t.text("日程_設定番号"), t.time("日程_開始時間"),
            t.text("日程_予約者NO"), SeriesDateState(state), t.text("日程_理由")};
}

std::vector<store::Value> bookingKey(const ReservationKey& key)
{
    return {key.target, key.date, stored::timeText(key.start), key.reserverNo};
}

// The date of a series that stands for the booking of `key` and is in one of `states`.
std::optional<SeriesDate> dateOfBooking(const store::Database& db, const ReservationKey& key, std::initializer_list<SeriesDateState> states)
{
    store::Table dates = db.table("定期日程", "Idx_予約");
    const std::vector<store::Value> values = bookingKey(key);
    for (dates.seek("=", values); !dates.eof() && !dates.noMatch(); dates.moveNext()) {
        SeriesDate date = readDate(dates);
        if (date.booking() != key)
            break;
        if (std::find(states.begin(), states.end(), date.state) != states.end())
            return date;
    }
    return std::nullopt;
}

bool hasDates(const store::Database& db, const QString& series)
{
    store::Table dates = datesByDay(db);
    dates.seek(">=", {series});
    return !dates.eof() && dates.text("日程_定期番号") == series;
}

// Removes the series whose last date is on or before `through` and that have no date left.
void removeEmptySeriesThrough(const store::Database& db, const QDate& through)
{
    std::vector<QString> empty;
    store::Table series = db.table("定期予約", "Idx_終了日");
    const QString last = input::dateText(through);
    for (series.seek(">=", {QString()}); !series.eof() && series.text("定期_終了日") <= last; series.moveNext()) {
        if (!hasDates(db, series.text("定期_番号")))
            empty.push_back(series.text("定期_番号"));
    }
    series.close();
    store::Table byNumber = seriesByNumber(db);
    for (const QString& number : empty)
        byNumber.findAndRemove({number});
}

} // namespace

QString issueSeriesNumber(const store::Transaction& transaction, const store::Database& db)
{
    transaction.serialise(QStringLiteral("定期予約 番号"));
    qint64 highest = 0;
    store::Table series = seriesByNumber(db);
    for (series.seek(">=", {QString()}); !series.eof(); series.moveNext())
        highest = std::max(highest, series.text("定期_番号").toLongLong());
    return QString::number(highest + 1);
}

std::optional<Series> findSeries(const store::Database& db, const QString& number)
{
    store::Table series = seriesByNumber(db);
    if (!series.find({number}))
        return std::nullopt;
    return readSeries(series);
}

std::vector<Series> seriesOfReserver(const store::Database& db, const QString& reserverNo)
{
    std::vector<Series> found;
    store::Table series = db.table("定期予約", "Idx_予約者NO");
    for (series.seek(">=", {reserverNo}); !series.eof() && series.text("定期_予約者NO") == reserverNo; series.moveNext())
        found.push_back(readSeries(series));
    return found;
}

void saveSeries(const store::Database& db, const Series& s)
{
    store::Table series = seriesByNumber(db);
    series.seekForWrite({s.number});
    series.set("定期_番号", s.number);
    series.set("定期_設定番号", s.target);
    series.set("定期_予約者NO", s.reserverNo);
    series.set("定期_開始時間", stored::timeText(s.start));
    series.set("定期_終了時間", stored::timeText(s.end));
    series.set("定期_規則", s.rule);
    series.set("定期_開始日", input::dateText(s.first));
    series.set("定期_終了日", input::dateText(s.last));
    series.set("定期_登録日時", s.registeredAt.toString(kMomentFormat));
    series.set("定期_備考", s.remark);
    series.update();
}

std::vector<SeriesDate> datesOfSeries(const store::Database& db, const QString& series)
{
    std::vector<SeriesDate> found;
    store::Table dates = datesByDay(db);
    for (dates.seek(">=", {series}); !dates.eof() && dates.text("日程_定期番号") == series; dates.moveNext())
        found.push_back(readDate(dates));
    return found;
}

void saveSeriesDate(const store::Database& db, const SeriesDate& d)
{
    store::Table dates = datesByDay(db);
    dates.seekForWrite({d.series, d.date});
    dates.set("日程_定期番号", d.series);
    dates.set("日程_年月日", input::dateText(d.date));
    dates.set("日程_設定番号", d.target);
    dates.set("日程_開始時間", stored::timeText(d.start));
    dates.set("日程_予約者NO", d.reserverNo);
    dates.set("日程_状態", int(d.state));
    dates.set("日程_理由", d.reason);
    dates.update();
}

bool removeSeriesDate(const store::Database& db, const QString& series, const QDate& date)
{
    return datesByDay(db).findAndRemove({series, date});
}

std::optional<SeriesDate> seriesDateOfBooking(const store::Database& db, const ReservationKey& key)
{
    return dateOfBooking(db, key, {SeriesDateState::Booked, SeriesDateState::ChangedAlone});
}

store::Range seriesDatesOfDayRange(const QString& target, const QDate& date)
{
    return {"定期日程", "Idx_予約", {target, date, "", ""}, {target, date}};
}

void cancelSeriesDateOf(const store::Database& db, const ReservationKey& key, const QString& reason)
{
    if (std::optional<SeriesDate> date = seriesDateOfBooking(db, key)) {
        date->state = SeriesDateState::Cancelled;
        date->reason = reason;
        saveSeriesDate(db, *date);
    }
}

void moveSeriesDateOf(const store::Database& db, const ReservationKey& from, const ReservationKey& to)
{
    std::optional<SeriesDate> date = seriesDateOfBooking(db, from);
    if (!date)
        return;
    SeriesDate moved = *date;
    moved.target = to.target;
    moved.start = to.start;
    moved.reserverNo = to.reserverNo;
    moved.state = SeriesDateState::ChangedAlone;
    moved.date = to.date;
    const bool sameDay = to.date == date->date;
    if (!sameDay && datesByDay(db).find({date->series, to.date})) {
        date->state = SeriesDateState::LeftOut;
        date->reason = QStringLiteral("移動");
        saveSeriesDate(db, *date);
        return;
    }
    if (!sameDay)
        removeSeriesDate(db, date->series, date->date);
    saveSeriesDate(db, moved);
}

void restoreSeriesDateOf(const store::Database& db, const ReservationKey& key)
{
    if (std::optional<SeriesDate> date = dateOfBooking(db, key, {SeriesDateState::Cancelled})) {
        date->state = SeriesDateState::ChangedAlone;
        date->reason.clear();
        saveSeriesDate(db, *date);
    }
}

int removeSeriesDatesBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    const int removed = stored::removeDatedBetween(db, "定期日程", "Idx_日付", from, through, progress);
    removeEmptySeriesThrough(db, through);
    return removed;
}

int removeTargetSeriesDatesThrough(const store::Database& db, const QString& target, const QDate& through, const store::Progress& progress)
{
    const int removed = db.table("定期日程", "Idx_予約").removeRange({target, QString()}, {target, through}, progress);
    removeEmptySeriesThrough(db, through);
    return removed;
}

} // namespace records
