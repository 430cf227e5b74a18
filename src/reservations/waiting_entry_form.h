#pragma once

#include "reservations/entry_form.h"
#include "reservations/reserver_details.h"

class QLineEdit;

namespace store {
class Database;
}

// Form キャンセル待ち登録: puts a customer on the waiting list of a full slot that the time
// inquiry hands over. The target, day and start belong to the slot and are only shown; the end
// may be set. The reserver is chosen as in the entry form (a new name gets the next reserver
// number when the entry is stored); the telephone number is the one the desk will call.
class キャンセル待ち登録 : public ReserverDetailsForm {
public:
    explicit キャンセル待ち登録(const BookingSlot& slot);

    void Form_Load() override;
    void 確定_Click();
    void 終了_Click();
    void 終了時間_LostFocus();

private:
    void CheckEndTime();
    void CheckPhone();
    // The reserver of the name: the stored one as it is, or a new one with the next number.
    QString SaveReserver(const store::Database& db) const;

    QLineEdit* 対象略称;
    QLineEdit* 予約日;
    QLineEdit* 開始時間;
    QLineEdit* 終了時間;

    const BookingSlot slot_;
};
