#pragma once

#include "store/database.h"
#include "store/read_ahead.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

// Table 祝日: the operator's corrections of the computed national holidays, one record per date,
// so that a change of the law or a local holiday needs no new program.
namespace records {

// 祝日_区分.
enum class HolidayCorrectionKind { Added = 1, Removed = 2 };

struct HolidayCorrection {
    QDate date;
    QString name;
    HolidayCorrectionKind kind = HolidayCorrectionKind::Added;
    QString remark;
    bool operator==(const HolidayCorrection&) const = default;
};

// The corrections dated from `first` through `last`, by date; none in a database of an earlier
// version read as it is, which has no table of them.
std::vector<HolidayCorrection> listHolidayCorrections(const store::Database& db, const QDate& first, const QDate& last);
// What listHolidayCorrections reads, to be read ahead with the rest of a screen.
store::Range holidayCorrectionsRange(const QDate& first, const QDate& last);
std::optional<HolidayCorrection> findHolidayCorrection(const store::Database& db, const QDate& date);
// Adds the correction, or changes the one of its date.
void saveHolidayCorrection(const store::Database& db, const HolidayCorrection& correction);
bool removeHolidayCorrection(const store::Database& db, const QDate& date);

} // namespace records
