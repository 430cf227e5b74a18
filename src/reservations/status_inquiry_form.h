#pragma once

#include "closures/calendar_picker.h"
#include "closures/month_boxes.h"
#include "ui/form.h"

class FlexGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// 予約状照会: where both reservation inquiries start. The operator picks a date on a month
// calendar that shows the closure days and, for the inquiry by target, a target; 照会 then opens
// the time inquiry for that date (seven days of the target, or the day of every target).
class 予約状照会 : public Form {
public:
    予約状照会();

    void Form_Load() override;

    void 対象略称_Click();
    void 表示年_LostFocus();
    void 表示月_LostFocus();
    void 前月_Click();
    void 次月_Click();
    void 日付_Click();
    void 休業日_Click();
    void 照会_Click();
    void 終了_Click();

private:
    void layOut();
    bool byTarget() const;
    void showMonth(const QDate& month);
    void followTypedMonth();

    QLabel* Label11;
    QComboBox* 対象略称;
    QLabel* Label対象略称;
    QLineEdit* 表示年;
    QLineEdit* 表示月;
    QPushButton* 前月;
    QPushButton* 次月;
    FlexGrid* 日付;
    FlexGrid* 休業日;
    QLineEdit* 設定日;
    QPushButton* 照会;
    QPushButton* 終了;

    MonthBoxes months_;
    CalendarPicker picker_;
};
