#include "rules/span_occupancy.h"

#include <algorithm>

namespace 予約TBL {

int BusiestOverlap(const store::Database& db, const QString& target, const QDate& date, const input::TimeOfDay& start,
                   const input::TimeOfDay& end)
{
    std::vector<records::ReservationSpan> within;
    for (const records::ReservationSpan& span : records::spansOfDays(db, target, date, date)) {
        if (span.start < end && start < span.end)
            within.push_back(span);
    }
    // The count only rises where a span starts, so the busiest moment is one of those starts
    // (or the start of the stretch itself).
    int busiest = 0;
    for (const records::ReservationSpan& at : within) {
        const input::TimeOfDay moment = std::max(at.start, start);
        const auto holding = std::count_if(within.begin(), within.end(), [&](const records::ReservationSpan& s) {
            return s.start <= moment && moment < s.end;
        });
        busiest = std::max(busiest, int(holding));
    }
    return busiest;
}

} // namespace 予約TBL
