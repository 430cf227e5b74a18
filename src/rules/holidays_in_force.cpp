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

HolidayNames::HolidayNames(const std::vector<DayOfRecord>& days)
{
    for (const DayOfRecord& day : days) {
        if (day.inForce())
            names_.emplace(day.date, day.name);
    }
}

QString HolidayNames::on(const QDate& date) const
{
    const auto found = names_.find(date);
    return found == names_.end() ? QString() : found->second;
}

HolidayNames holidayNamesBetween(const store::Database& db, const QDate& first, const QDate& last)
{
    return HolidayNames(holidaysBetween(db, first, last));
}

} // namespace national_holidays
