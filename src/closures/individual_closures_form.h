#pragma once

#include "closures/calendar_picker.h"
#include "closures/month_boxes.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <QDate>
#include <optional>

// 個休業登録: the closure days of one reservation target, one date at a time. A day is marked
// closed (休業日) or kept open over a common closure (営業日), with a name; the month calendar shows
// the closure in force for the target, the list the month's rows of the target and the common
// calendar. Any month can be shown, typed into the year and month boxes or stepped.
class 個休業登録 : public Form {
public:
    個休業登録();

    void Form_Load() override;

    void 対象略称_Click();
    void 表示年_LostFocus();
    void 表示月_LostFocus();
    void 表示_Click();
    void 前月_Click();
    void 次月_Click();
    void 日付_Click();
    void 休業日_Click();
    void 確定_Click();
    void 削除_Click();
    void 終了_Click();

private:
    void layOut();
    void showMonth(const QDate& month);
    // The month typed becomes the month the next drawing shows.
    void followTypedMonth();
    // The target and date a write is for; nothing, after telling the operator, when one is missing.
    bool hasTarget();
    std::optional<QDate> checkedDate();

    QComboBox* 対象略称;
    QLineEdit* 表示年;
    QLineEdit* 表示月;
    QPushButton* 表示;
    QPushButton* 前月;
    QPushButton* 次月;
    FlexGrid* 日付;
    FlexGrid* 休業日;
    QLineEdit* 設定日;
    QGroupBox* Frame2;
    QRadioButton* 休日;
    QRadioButton* 勤務;
    QLineEdit* 休日名;
    QPushButton* 確定;
    QPushButton* 削除;
    QPushButton* 終了;

    MonthBoxes months_;
    CalendarPicker picker_;
    ui::FieldCheck dateCheck_;
};
