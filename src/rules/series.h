#pragma once

#include "base/settings.h"
#include "records/series.h"
#include "rules/booking_write.h"
#include "rules/recurrence.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <map>
#include <optional>
#include <vector>

// Recurring bookings: a series is planned from one booking and a repeat rule, previewed date by
// date, and registered in one transaction, each date booked through the guarded write. A change
// of one of its bookings reaches that booking alone, the ones from it on, or all of them.
namespace series {

// How the desk says a rule: "毎週火曜", "2週ごと月・木曜", "毎月15日", "毎月31日（月末に合わせる）",
// "毎月第2火曜", "毎月最終金曜".
QString RuleText(const recurrence::Rule& rule);
// A stored series as its bookings' hover text names it: "毎週火曜 19:00～21:00" (its RRULE text
// when the desk cannot say it).
QString Describe(const records::Series& series);

// What a series repeats: the booking (target, start, end, reserver, names, remark; its date is the
// rule's first date) and which dates it leaves out by itself.
struct Plan {
    records::Reservation booking;
    recurrence::Rule rule;
    bool skipHolidays = false;
    bool skipClosedDays = true;
};

enum class DateState {
    Free,    // 予約可
    Full,    // 満員: a slot it covers holds what the target allows
    Closed,  // 休業日: it covers closed time
    Holiday, // 祝日：<name>
    Own,     // 予約済: the reserver's own booking is there already
};

struct PlannedDate {
    QDate date;
    DateState state = DateState::Free;
    QString holiday; // the name, on a national holiday
    // The reserver's own booking there (Own), which 登録 takes into the series as it is.
    std::optional<records::Reservation> own;
    // The 登録 tick: set for a free date, a holiday or closed day the plan does not leave out
    // when its slots are not full, and the booking the series is made from; the operator may
    // change it for any date.
    bool book = false;
};

// "予約可", "満員", "休業日", "祝日：元日", "予約済".
QString StateText(const PlannedDate& date);

// The rule's dates as the desk would book them now, read under one read lock; none for a rule
// recurrence::check() refuses.
std::vector<PlannedDate> Preview(const store::Database& db, const Settings& settings, const Plan& plan);

// What 登録 writes: the plan and its dates as previewed, with the operator's ticks.
struct Registration {
    Plan plan;
    std::vector<PlannedDate> dates;
};

// One change a ticked date, in date order: a new booking, or the reserver's own booking there
// taken into the series as it is stored.
std::vector<booking_write::Change> BookingChanges(const Registration& registration);

// Why a question's No leaves a date out: "満員", or "休業時間" for closed time.
QString LeftOutReason(booking_write::Question question);

struct Registered {
    booking_write::Outcome outcome;
    QString number; // of the series, when written
    int booked = 0;
    int leftOut = 0;
};
// Registers the series in one transaction: the bookings of `changes` (BookingChanges less those a
// question left out) through the guarded write, the series, and a record a date: booked for each
// booking written, left out for the rest with its reason (`leftOut`'s, else the state the preview
// showed). Nothing is written unless the guarded write writes, nor when a booking to be taken in
// belongs to a series already (KeyTaken).
Registered Register(const store::Database& db, const Settings& settings, const Registration& registration,
                    const std::map<QDate, QString>& leftOut, const std::vector<booking_write::Change>& changes,
                    const std::vector<booking_write::Consent>& consents);

// Which dates of its series a change of one booking reaches.
enum class Reach {
    ThisOnly, // この予約のみ
    FromHere, // 以降すべて: that date and every later one
    All,      // すべて
};

// The series of a booking and the bookings of it a change reaches.
struct Reached {
    records::Series series;
    records::SeriesDate date;                   // the booking's own date
    std::vector<records::Reservation> bookings; // the bookings reached as stored, the booking's own first
    int leftAlone = 0;                          // dates changed alone that the change leaves as they are
};
// The booking's series, when it belongs to one.
std::optional<records::Series> SeriesOf(const store::Database& db, const records::ReservationKey& booking);
// The bookings `reach` takes for a change of `booking`, read under one read lock; nothing when
// the booking is no longer one of a series.
std::optional<Reached> ReachFrom(const store::Database& db, const records::ReservationKey& booking, Reach reach);

// The changes that carry the change of the booking's own (`own`, the first of `reached`) to every
// booking reached: a change of the booking gives each the kana and the remark; a cancellation
// cancels each alike.
std::vector<booking_write::Change> ReachedChanges(const Reached& reached, const booking_write::Change& own);

// Writes changes made by ReachedChanges in one transaction, then what the series keeps of them:
// a booking changed alone is marked so; a change from a date on splits the series there (that
// date and the later ones become a series of their own); a change of the series gives it the
// remark. A cancellation is recorded on the dates where it is written.
booking_write::Outcome WriteReached(const store::Database& db, const Settings& settings, const Reached& reached, Reach reach,
                                    const std::vector<booking_write::Change>& changes, const std::vector<booking_write::Consent>& consents);

} // namespace series
