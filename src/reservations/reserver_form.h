#pragma once

#include "reservations/reserver_details.h"

// Form 予約者更新: the reserver master outside the booking flow. Reservers are found by the start
// of their kana, shown, changed and saved by name (a name not yet registered becomes a new
// reserver with a new number), and deleted by number after a warning when they have
// reservations from today on. Their reservations are never touched.
class 予約者更新 : public ReserverDetailsForm {
public:
    予約者更新();

    void Form_Load() override;
    void 確定_Click();
    void 削除_Click();
    void 終了_Click();

private:
    // Runs the checks of name, kana and birth date; shows the first failure. True when all pass.
    bool ValidateReserver();
};
