#pragma once

#include "base/input.h"
#include "records/reservations.h"
#include "records/targets.h"
#include "reservations/reserver_details.h"
#include "rules/booking_write.h"

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
    // Opens 定期予約登録 for the booking on screen and its reserver.
    void 定期予約_Click();
    void 終了時間_LostFocus();
    void 予約者NO_LostFocus();

private:
    // Runs the checks of name, kana, end and birth date; shows the first failure. True when all pass.
    bool ValidateEntry();
    void CheckEndTime();
    // The end differs from the one the reservation was opened with.
    bool EndTimeChanged() const;
    // The reserver row of the name, added or updated, its latest reservation date only moved
    // forward; returns its number. Runs inside the booking's write.
    QString SaveReserver(const store::Database& db);
    // The booking as 確定 stores it (its reserver number is the one SaveReserver gives).
    records::Reservation BookingToSave(const input::TimeOfDay& end) const;
    // The booking as it is stored now, shown in the boxes it fills, with its reserver as stored
    // (`reserver`: as this form has just saved it).
    void ShowBooking(const records::Reservation& booking, const std::optional<records::Reserver>& reserver = std::nullopt);
    records::ReservationKey keyOf(const QString& reserverNo) const;
    // Says what a write that did not happen met; false when it was written.
    bool Refused(const booking_write::Outcome& outcome);
    // For a booking of a series: asks which of its bookings `own` (a change or a cancellation of
    // it) reaches, writes it there and says what happened. False, having done nothing, for a
    // booking of no series.
    bool WroteToSeries(const booking_write::Change& own);

    QLineEdit* 対象番号;
    QLineEdit* 対象略称;
    QLineEdit* 対象名称;
    QLineEdit* 予約日;
    QLineEdit* 開始時間;
    QLineEdit* 終了時間;

    const BookingSlot slot_;
    EntryOutcome& outcome_;
    // The stored booking the form edits, every field as it read it when it opened or last saved;
    // none for a new one. A write compares it with what is stored then.
    std::optional<records::Reservation> read_;
    // The reserver as SaveReserver wrote it last.
    std::optional<records::Reserver> saved_;
};
