#pragma once

#include "ui/form.h"

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
// The status inquiry sets what it shows before opening it: SelectedDate and SelectedLastDate,
// the current target (by target) or the target list (by day), InquiryKind and TimeTableMode.
class 時間照会 : public Form {
public:
    時間照会();

    void Form_Load() override;
    void 時間帯_Click();
    void 予約一覧_Click();
    void 予約_Click();
    void 選択_Click();
    void 削除_Click();
    void 終了_Click();

protected:
    // Esc asks before closing, as 終了 does.
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
    // The target of the chosen row becomes the current target, with its overlap rule.
    void TakeChosenTarget();
    // Opens the entry form in a state (2 new, 1 existing) and follows what it did.
    void OpenEntryForm(int entryState);

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
    QPushButton* 選択;
    QPushButton* 削除;

    // The chosen slot: its grid cell with the colour it had before it was marked, its time-table
    // column and slot, and the slot's times.
    int slotRow_ = 0;
    int slotCol_ = 0;
    QColor slotColour_;
    int column_ = -1;
    int slot_ = -1;
    QString slotStart_;
    QString slotEnd_;
    // The chosen row of 予約一覧 (0: none) and how many rows hold reservations.
    int listRow_ = 0;
    int listRows_ = 0;
};
