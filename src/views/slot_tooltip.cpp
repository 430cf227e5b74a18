#include "views/slot_tooltip.h"

#include "base/input.h"
#include "records/calendar.h"
#include "records/reservers.h"
#include "records/targets.h"
#include "rules/slot_counts.h"
#include "rules/waiting_list.h"

#include <QStringList>

namespace slot_tooltip {

namespace {

// The name of the closure in force: the target's own closed day, else the common one.
QString closureName(const store::Database& db, const TimeTableColumn& column)
{
    for (const QString& target : {column.Target, records::kCommonTarget}) {
        const std::optional<records::ClosureDay> day = records::findClosureDay(db, target, column.ColumnDate);
        if (day && day->closed && !day->name.isEmpty())
            return day->name;
    }
    return QStringLiteral("休業日");
}

QString reservationLine(const store::Database& db, const records::Reservation& r)
{
    QStringList parts{input::timeText(r.start) + QStringLiteral("～") + input::timeText(r.end),
                      r.reserverName + QStringLiteral("（") + r.reserverNo + QStringLiteral("）")};
    if (const std::optional<records::Reserver> reserver = records::findReserver(db, r.reserverNo)) {
        const QString phone = reserver->phone.isEmpty() ? reserver->mobile : reserver->phone;
        if (!phone.isEmpty())
            parts << QStringLiteral("TEL ") + phone;
    }
    if (!r.remark.isEmpty())
        parts << r.remark;
    return parts.join(QStringLiteral("　"));
}

QString waitingLine(const records::WaitingEntry& e)
{
    QStringList parts{QStringLiteral("キャンセル待ち"), input::timeText(e.start) + QStringLiteral("～") + input::timeText(e.end),
                      e.reserverName};
    if (!e.phone.isEmpty())
        parts << QStringLiteral("TEL ") + e.phone;
    return parts.join(QStringLiteral("　"));
}

} // namespace

QString text(const store::Database& db, const TimeTableColumn& column, const SlotTimes& daySlots, int slot)
{
    QStringList lines;
    if (column.CalendarFlag == 1)
        lines << closureName(db, column);
    for (const records::Reservation& r : 予約TBL::ReservationsInSlot(db, daySlots, column.Target, column.ColumnDate, slot))
        lines << reservationLine(db, r);
    for (const records::WaitingEntry& e : waiting_list::InSlot(db, daySlots, column.Target, column.ColumnDate, slot))
        lines << waitingLine(e);
    return lines.join(QLatin1Char('\n'));
}

} // namespace slot_tooltip
