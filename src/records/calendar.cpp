#include "records/calendar.h"

#include "base/input.h"

namespace closure_days {

store::Table openByKey(const store::Database& db)
{
    store::Table calendar = db.table(QStringLiteral("カレンダー"));
    calendar.setIndex(QStringLiteral("Key_カレンダー"));
    return calendar;
}

std::optional<ClosureDay> find(store::Table& calendar, const QString& target, const QDate& date)
{
    calendar.seek("=", {target, date});
    if (calendar.noMatch())
        return std::nullopt;
    return ClosureDay{calendar.integer(QStringLiteral("カレ_休日FLG")) == 1, calendar.text(QStringLiteral("カレ_備考"))};
}

void save(store::Table& calendar, const QString& target, const QDate& date, const ClosureDay& day)
{
    calendar.seek("=", {target, date});
    if (calendar.noMatch())
        calendar.addNew();
    else
        calendar.edit();
    calendar.set(QStringLiteral("カレ_番号"), target);
    calendar.set(QStringLiteral("カレ_年月日"), input::dateText(date));
    calendar.set(QStringLiteral("カレ_休日FLG"), day.closed ? 1 : 0);
    calendar.set(QStringLiteral("カレ_備考"), day.name);
    calendar.update();
}

bool remove(store::Table& calendar, const QString& target, const QDate& date)
{
    calendar.seek("=", {target, date});
    if (calendar.noMatch())
        return false;
    calendar.remove();
    return true;
}

} // namespace closure_days
