// The national holidays: computing a year by the law, and a year with the operator's corrections
// read from a database file, as a calendar asks for them.

#include "bench.h"

#include "records/holidays.h"
#include "rules/holidays_in_force.h"
#include "rules/national_holidays.h"
#include "store/database.h"
#include "store/file_tools.h"

#include <QTemporaryDir>

namespace bench {

int holidaysBench()
{
    constexpr int kYears = national_holidays::kLastYear - national_holidays::kFirstYear + 1;
    size_t days = 0;
    const double everyYear = medianMicros(51, [&] {
        for (int year = national_holidays::kFirstYear; year <= national_holidays::kLastYear; ++year)
            days += national_holidays::holidaysOfYear(year).size();
    });
    printMicros("national_holidays_year", everyYear / kYears);

    QTemporaryDir folder;
    const QString file = folder.filePath("Kelvora.mdb");
    store::createDatabaseFile(file);
    const store::Database db = store::Database::open(file);
    for (int month = 1; month <= 12; ++month)
        records::saveHolidayCorrection(db, {QDate(2026, month, 10), "市民の日", records::HolidayCorrectionKind::Added, ""});
    printMicros("holidays_in_force_year",
                medianMicros(51, [&] { days += national_holidays::holidaysBetween(db, QDate(2026, 1, 1), QDate(2026, 12, 31)).size(); }));
    return days > 0 ? 0 : 1;
}

} // namespace bench
