#pragma once

#include "reservations/reserver_details.h"

#include <optional>

class QLineEdit;

namespace store {
class Database;
}

// Form 予約者登 (予約の登録): books, changes or deletes one reservation of the slot that the time
// inquiry handed over (target, date, start and end in app().booking), and keeps the reserver
// master up to date in the same save. The target, date and start belong to the slot and are only
// shown; the end may be set for a new reservation but not changed for an existing one.
//
// EntryState is read when the form loads (2 new, 1 existing) and left behind for the inquiry:
// 1 saved without a change of time, 2 added, 3 deleted, 4 an existing row got another end.
class 予約者登 : public ReserverDetailsForm {
public:
    予約者登();

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
    // The end differs from the one the reservation was opened with.
    bool EndTimeChanged() const;
    // The reserver row of the name, added or updated, its latest reservation date only moved
    // forward; returns its number.
    QString SaveReserver(const store::Database& db);
    // The name on the reservation that stands on the key this save would write, when it is not
    // this reserver's: two reservers that share a number (from a file of an older numbering)
    // must not overwrite each other's bookings.
    std::optional<QString> OtherReserverOnKey(const store::Database& db, const QString& number) const;
    // The reservation row upserted on its key; returns the entry state it leads to.
    int SaveReservation(const store::Database& db, const QString& number, const QString& endText);
    // The remark of the reservation being changed, which may differ from the reserver's.
    void ShowReservationRemark();

    QLineEdit* 対象番号;
    QLineEdit* 対象略称;
    QLineEdit* 対象名称;
    QLineEdit* 予約日;
    QLineEdit* 開始時間;
    QLineEdit* 終了時間;

    bool existing_ = false; // opened on an existing reservation
};
