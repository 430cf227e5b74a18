#pragma once

#include "base/kinds.h"
#include "records/reservations.h"
#include "records/targets.h"
#include "reservations/entry_form.h"
#include "rules/overlap_settings.h"
#include "rules/slot_types.h"
#include "ui/form.h"
#include "views/target_list.h"

#include <QDate>
#include <optional>
#include <vector>

#include <QColor>

class FlexGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Form 時間照会 (時間表示): the desk's working screen. A slot grid of seven days of one target
// (inquiry by target) or of every target on one day (inquiry by day), coloured by business
// status and by how many reservations each slot holds. Choosing a slot lists the reservations
// that cover it; from there a reservation is booked, opened or cancelled, and the counts and
// colours of the row follow.
//
// What the status inquiry asks it to show: seven days of one target from the first date, or every
// target of the list on one date.
struct InquiryRequest {
    InquiryKind kind = InquiryKind::ByTarget;
    QDate firstDate;
    QDate lastDate;
    records::Target target;      // by target
    CMB対象::TargetList targets; // by day
};

inline const QString kTimeInquiryTitle = QStringLiteral("時間表示");

// The time table, the counts and the overlap rules of its rows belong to the form; the entry form
// is handed the chosen slot and leaves what it did in an outcome.
class 時間照会 : public Form {
public:
    explicit 時間照会(const InquiryRequest& request);

    void Form_Load() override;
    void 時間帯_Click();
    void 予約一覧_Click();
    void 予約_Click();
    // A full slot: the customer goes on its waiting list.
    void 待ち登録_Click();
    void 選択_Click();
    void 削除_Click();
    void 終了_Click();
    // A week (by target) or a day (by day) back or forward, and the period from today, rebuilt in
    // place.
    void 前期間_Click();
    void 次期間_Click();
    void 今日_Click();
    // Move mode: the reservation chosen in the list goes to the next slot clicked, keeping its
    // length; a second press or Esc leaves it.
    void 移動_Click();

protected:
    // Esc leaves move mode; otherwise it asks before closing, as 終了 does.
    void escape() override;

private:
    // Whether a slot is chosen that lies within the time table and counts now held, saying so
    // when none is: an action never indexes them with a position it has not checked.
    bool RequireChosenSlot();
    void RestoreSlotCell();
    void MarkSlotCell();
    // Counts the chosen row again from the database and repaints it.
    void AdjustSlotCounts();
    void RestoreListRow();
    void MarkListRow();
    void SetUpReservationList();
    void FillReservationList();
    // The target and date of the chosen row, with its overlap rule.
    void TakeChosenTarget();
    // The grid of the request, coloured by business status and counts.
    void ShowSlotGrid();
    // Shows what another desk changed, keeping the chosen cell and reservation.
    void FollowDatabase();
    // Opens the entry form on a slot and follows what it did.
    void OpenEntryForm(const BookingSlot& slot);
    // The chosen slot as a new booking takes it.
    BookingSlot NewBookingSlot() const;
    // Asks whether the customer waits for the slot, and opens キャンセル待ち登録 on it.
    void OpenWaitingEntry(const BookingSlot& slot);
    // The reservation of the chosen row of 予約一覧; nullptr, after telling the operator, when no
    // slot or no row is chosen.
    const records::Reservation* RequireChosenReservation();
    // Makes the slot of a grid cell the chosen one and lists its reservations.
    void ChooseSlot(int row, int col, int column, int slot);
    // Counts a row again from the database and repaints it.
    void RecountRow(int column);
    void ShowPeriodFrom(const QDate& first);
    void LeaveMoveMode();
    // Moves the reservation of move mode to a slot, after the questions a new booking there asks.
    void MoveTo(int column, int slot);
    // Who holds a slot cell, for the mouse resting on it.
    QString SlotToolTip(int row, int col) const;

    FlexGrid* 時間帯;
    QLabel* 表示Label;
    QLineEdit* 表示開始日;
    QLabel* 範囲;
    QLineEdit* 表示終了日;
    QGroupBox* 予約対象別照会;
    QLineEdit* 対象略称;
    QGroupBox* 時間内予約者;
    FlexGrid* 予約一覧;
    QLineEdit* 予約時間;
    QLineEdit* 設定人数;
    QPushButton* 予約;
    QPushButton* 待ち登録;
    QPushButton* 選択;
    QPushButton* 削除;
    QPushButton* 移動;
    QPushButton* 前期間;
    QPushButton* 次期間;
    QPushButton* 今日;
    QLabel* 移動案内;

    InquiryRequest request_; // its dates follow 前期間, 次期間 and 今日
    TimeTable table_;
    SlotCounts counts_;
    std::vector<基本設定::Overlap> rowOverlap_; // entry 0 for the first data row

    // The chosen slot: its grid cell with the colour it had before it was marked, its time-table
    // column and slot, and the target, date and overlap rule of its row.
    int slotRow_ = 0;
    int slotCol_ = 0;
    QColor slotColour_;
    int column_ = -1;
    int slot_ = -1;
    records::Target chosenTarget_;
    QDate chosenDate_;
    基本設定::Overlap chosenOverlap_;
    // The chosen row of 予約一覧 (0: none), how many rows hold reservations, and theirs.
    int listRow_ = 0;
    int listRows_ = 0;
    std::vector<records::Reservation> listed_;
    // The series of each listed reservation, as its hover text names it (empty: none).
    std::vector<QString> listedSeries_;
    // In move mode, the reservation being moved and the time-table column it was chosen in.
    std::optional<records::Reservation> moving_;
    int movingColumn_ = -1;
};
