#pragma once

#include "views/hours_grid.h"

#include <QString>

// The stored bands of business hours of the three kinds (regular, daily, one date), one record
// per key and start time.
namespace hours_records {

struct HoursBand {
    QString start; // "hh:mm"
    QString end;   // "hh:mm", "24:00" at the end of the day
    bool closed = false;
    QString remark;
};

// Adds the band, or changes the key's band that starts at the same time.
void SaveBand(const Grid時間帯::HoursKey& key, const HoursBand& band);
// Deletes the key's band that starts at `start`; false when there is none.
bool DeleteBand(const Grid時間帯::HoursKey& key, const QString& start);

} // namespace hours_records
