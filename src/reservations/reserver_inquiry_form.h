#pragma once

#include "records/cancellations.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "ui/form.h"

#include <optional>
#include <vector>

class FlexGrid;
class QLabel;
class QLineEdit;

// Form 予約者照会: the reserver card. One box finds a reserver by phone or mobile number (whole or
// its last digits), by the first letters of the kana or the name, or by number; the one chosen
// among the matches shows with their bookings from today on, their past bookings (newest first)
// their cancellations and no-shows with counts and their series, and follows what other desks save. 照会 opens
// the time inquiry on the target and date of the booking chosen.
class 予約者照会 : public Form {
public:
    予約者照会();

    void 検索開始_Click();
    void 候補一覧_Click();
    void 予約一覧_Click();
    void 過去予約一覧_Click();
    void 照会_Click();
    void 終了_Click();
    // Shows the reserver again as the file now holds them (another desk booked or cancelled),
    // the booking chosen kept chosen while it is there.
    void FollowDatabase();

private:
    void FillCandidates();
    // Taken by value: it may be the one shown now, which Clear() lets go.
    void ShowReserver(records::Reserver reserver);
    void Clear();
    void ChooseBooking(FlexGrid* grid, const std::vector<records::Reservation>& listed, int row);
    // The reserver's series: target, repeat and time, first and last date, dates booked.
    void ShowSeries(const store::Database& db, const QString& reserverNo);

    QLineEdit* 検索;
    QLabel* 候補件数;
    FlexGrid* 候補一覧;
    QLineEdit* 予約者NO;
    QLineEdit* 予約者名;
    QLineEdit* 予約者カナ;
    QLineEdit* 電話番号;
    QLineEdit* 携帯番号;
    QLineEdit* 住所;
    QLineEdit* 最新予約日;
    QLineEdit* 備考;
    FlexGrid* 予約一覧;
    FlexGrid* 過去予約一覧;
    QLabel* 取消件数;
    FlexGrid* 取消一覧;
    FlexGrid* 定期一覧;

    std::vector<records::Reserver> candidates_;
    std::optional<records::Reserver> shown_;
    std::vector<records::Reservation> coming_;
    std::vector<records::Reservation> past_;
    std::optional<records::Reservation> chosenBooking_;
    FlexGrid* chosenGrid_ = nullptr;
    int chosenRow_ = 0; // of chosenGrid_; 0: none
};
