#pragma once

#include "records/targets.h"
#include "ui/form.h"
#include "ui/month_boxes.h"
#include "views/calendar_picker.h"

class FlexGrid;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

// What the calendar forms that can show any month share (個休業登録 and 予約状照会): a target
// combo, the year and month boxes with the step arrows, the month calendar and the list of the
// month's calendar rows kept in step, and the date box that receives a picked day.
class MonthCalendarForm : public Form {
public:
    void 対象略称_Click();
    void 表示年_LostFocus();
    void 表示月_LostFocus();
    void 前月_Click();
    void 次月_Click();
    void 日付_Click();
    void 休業日_Click();

protected:
    // `displayButton`: the form has a 表示 button that shows the month typed.
    MonthCalendarForm(const QString& formName, const QString& caption, const QString& title, int mode, bool displayButton);

    // Today's month, undrawn.
    void startAtThisMonth();
    // Fills the combo with the targets and chooses the one the opener handed (by its abbreviation;
    // the number is looked up when only the abbreviation is known); that target's calendar is the
    // one shown. Nothing is chosen for an empty abbreviation.
    void chooseTarget(const records::Target& handed);
    void showMonth(const QDate& month);
    // The year and month boxes, 表示 if the form has it, and the arrows; `caption` goes first.
    QHBoxLayout* monthRow(const QString& caption = QString());
    // A caption, the date box and its "(YYYY/MM/DD)" hint.
    QHBoxLayout* dateRow(const QString& caption);
    // Receives the date of a picked day.
    virtual void takeDate(const QDate& date);

    const QString title_;
    QComboBox* 対象略称;
    QLineEdit* 表示年;
    QLineEdit* 表示月;
    QPushButton* 表示 = nullptr;
    QPushButton* 前月;
    QPushButton* 次月;
    FlexGrid* 日付;
    FlexGrid* 休業日;
    QLineEdit* 設定日;

    MonthBoxes months_;
    CalendarPicker picker_;
    // The target chosen in the combo: its number, name and abbreviation.
    records::Target target_;

private:
    // The month typed becomes the month the next drawing shows.
    void followTypedMonth();
};
