#include "rules/holidays_in_force.h"

#include "records/holidays.h"
#include "rules/national_holidays.h"

#include <map>

namespace national_holidays {

std::vector<DayOfRecord> holidaysBetween(const store::Database& db, const QDate& first, const QDate& last)
{
    std::map<QDate, DayOfRecord> days;
    for (int year = first.year(); year <= last.year(); ++year) {
        for (const Holiday& holiday : holidaysOfYear(year)) {
            if (holiday.date >= first && holiday.date <= last)
                days[holiday.date] = {holiday.date, holiday.name, Origin::Computed};
        }
    }
    for (const records::HolidayCorrection& correction : records::listHolidayCorrections(db, first, last)) {
        const bool added = correction.kind == records::HolidayCorrectionKind::Added;
        const auto computed = days.find(correction.date);
        const QString name = added || computed == days.end() ? correction.name : computed->second.name;
        days[correction.date] = {correction.date, name, added ? Origin::Added : Origin::Removed};
    }
    std::vector<DayOfRecord> inOrder;
    inOrder.reserve(days.size());
    for (const auto& [date, day] : days)
        inOrder.push_back(day);
    return inOrder;
}

} // namespace national_holidays
