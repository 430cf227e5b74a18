#pragma once

#include "base/input.h"
#include "records/reservations.h"
#include "records/targets.h"
#include "reservations/reserver_details.h"
#include "rules/time_table.h"

#include <QDate>
#include <optional>

class QLineEdit;

namespace store {
class Database;
}

// The slot the time inquiry hands the entry form: the target, the date, the start and end, the
// target's overlap rule, and for an existing reservation its reserver.
struct BookingSlot {
    records::Target target;
    QDate date;
    input::TimeOfDay start;
    input::TimeOfDay end;
    bool overlapAllowed = false;
    bool existing = false; // opened on an existing reservation (選択) rather than a new one (予約)
    QString reserverNo;
    QString reserverName;
    時間TBL::DayHours hours; // the day of the target, for the question about closed time
    // How many reservations a slot held when the operator agreed at 予約 to book it beyond its
    // limit (-1: not asked): saving asks again only when a slot holds more.
    int acceptedBooked = -1;
};

// What the entry form did last: 1 saved without a change of time, 2 added, 3 deleted, 4 an
// existing row got another end (0: nothing), and the end it saved.
struct EntryOutcome {
    int EntryState = 0;
    input::TimeOfDay SlotEnd;
};

// Form 予約者登 (予約の登録): books, changes or deletes one reservation of the slot that the time
// inquiry handed over, and keeps the reserver master up to date in the same save. The target,
// date and start belong to the slot and are only shown; the end may be set for a new reservation
// but not changed for an existing one. What it did is left in the outcome the opener handed.
class 予約者登 : public ReserverDetailsForm {
public:
    予約者登(const BookingSlot& slot, EntryOutcome& outcome);

    void Form_Load() override;
    void 確定_Click();
    void 削除_Click();
    void 終了_Click();
    void 終了時間_LostFocus();
    void 予約者NO_LostFocus();

private:
    // Runs the checks of name, kana, end and birth date; shows the first failure. True when all pass.
    bool ValidateEntry();
    void CheckEndTime();
    // A new booking over closed time of its day is saved only when the operator says so.
    bool AcceptClosedTime() const;
    // The end differs from the one the reservation was opened with.
    bool EndTimeChanged() const;
    // The reserver row of the name, added or updated, its latest reservation date only moved
    // forward; returns its number.
    QString SaveReserver(const store::Database& db);
    // The name of another reserver whose reservation already holds the key the save would write
    // (two reservers sharing a number), if any: that reservation must not be overwritten.
    std::optional<QString> OtherReserverOnKey(const store::Database& db, const QString& number) const;
    // The reservation row upserted on its key; returns the entry state it leads to.
    int SaveReservation(const store::Database& db, const QString& number, const input::TimeOfDay& end);
    // The remark of the reservation being changed, which may differ from the reserver's.
    void ShowReservationRemark();
    records::ReservationKey keyOf(const QString& reserverNo) const;
    // Whether the reservation the form edits is still stored as the form knows it: not removed,
    // its end and reserver unchanged by another desk. True for a new reservation.
    bool EditedReservationUnchanged(const store::Database& db) const;
    // The most reservations a slot of the booking holds, when that is at the target's limit and
    // more than the operator already agreed to (`accepted`).
    std::optional<int> BookedBeyondAccepted(const store::Database& db, const input::TimeOfDay& end, int accepted) const;
    // Whether the booking fits, or the operator agrees to book beyond the limit (then `accepted`
    // becomes what he agreed to).
    bool FitsOrAccepted(const store::Database& db, const input::TimeOfDay& end, int& accepted) const;
    struct Written {
        bool stale = false;            // what was checked before the questions changed: nothing written
        std::optional<QString> holder; // OtherReserverOnKey: nothing written
        QString number;
        int state = 0;
    };
    // The reserver and the reservation, in one transaction that first checks again what was
    // checked before the questions.
    Written WriteBooking(const store::Database& db, const input::TimeOfDay& end, int accepted);

    QLineEdit* 対象番号;
    QLineEdit* 対象略称;
    QLineEdit* 対象名称;
    QLineEdit* 予約日;
    QLineEdit* 開始時間;
    QLineEdit* 終了時間;

    const BookingSlot slot_;
    EntryOutcome& outcome_;
    // The stored reservation the form edits, as it was opened or last saved here.
    struct Edited {
        QString reserverNo;
        QString reserverName;
        input::TimeOfDay end;
    };
    std::optional<Edited> edited_;
};
