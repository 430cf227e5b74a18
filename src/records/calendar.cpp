#include "records/calendar.h"

#include "records/stored.h"

namespace records {

namespace {

store::Table byKey(const store::Database& db)
{
    return db.table("カレンダー", "Key_カレンダー");
}

ClosureDay read(const store::Table& calendar)
{
    return {calendar.integer("カレ_休日FLG") == 1, calendar.text("カレ_備考")};
}

} // namespace

std::optional<ClosureDay> findClosureDay(const store::Database& db, const QString& target, const QDate& date)
{
    store::Table calendar = byKey(db);
    if (!calendar.find({target, date}))
        return std::nullopt;
    return read(calendar);
}

void saveClosureDays(const store::Database& db, const QString& target, const std::vector<QDate>& dates, const ClosureDay& day,
                     const store::Progress& progress)
{
    store::Table calendar = byKey(db);
    qint64 done = 0;
    for (const QDate& date : dates) {
        store::report(progress, done++, qint64(dates.size()));
        calendar.seekForWrite({target, date});
        calendar.set("カレ_番号", target);
        calendar.set("カレ_年月日", date);
        calendar.set("カレ_休日FLG", day.closed ? 1 : 0);
        calendar.set("カレ_備考", day.name);
        calendar.update();
    }
}

int removeClosureDays(const store::Database& db, const QString& target, const std::vector<QDate>& dates, const store::Progress& progress)
{
    store::Table calendar = byKey(db);
    int removed = 0;
    qint64 done = 0;
    for (const QDate& date : dates) {
        store::report(progress, done++, qint64(dates.size()));
        removed += calendar.findAndRemove({target, date}) ? 1 : 0;
    }
    return removed;
}

store::Range calendarDaysRange(const QDate& first, const QDate& last)
{
    return {"カレンダー", "Idx_照会", {first, ""}, {last}};
}

std::vector<CalendarDay> listCalendarDays(const store::Database& db, const QDate& first, const QDate& last)
{
    std::vector<CalendarDay> days;
    store::Table calendar = db.table("カレンダー", "Idx_照会");
    const QString lastText = input::dateText(last);
    for (calendar.seek(">=", {first, ""}); !calendar.eof(); calendar.moveNext()) {
        const QString text = calendar.text("カレ_年月日");
        if (text > lastText)
            break;
        if (const std::optional<QDate> date = input::storedDate(text))
            days.push_back({calendar.text("カレ_番号"), *date, read(calendar)});
    }
    return days;
}

int removeCalendarDaysBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    return stored::removeDatedBetween(db, "カレンダー", "Idx_カレンダー", from, through, progress);
}

} // namespace records
