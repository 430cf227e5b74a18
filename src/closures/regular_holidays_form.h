#pragma once

#include "rules/holiday_dates.h"
#include "ui/field_check.h"
#include "ui/form.h"
#include "views/calendar_picker.h"

#include <QDate>
#include <vector>

class QLabel;

// 定休日登録: the regular holidays of the whole business for one fiscal year, in the common
// calendar: every day of the ticked weekdays, or one day of every month, registered as closed
// (休業日) or open (営業日) with a name, or deleted; with 祝日 ticked, the national holidays of the
// year too, each closed under its own name. The months of the year are shown one at a time.
class 定休日登録 : public Form {
public:
    定休日登録();

    void Form_Load() override;

    void 年度_LostFocus();
    void 定休日付_LostFocus();
    void 前月_Click();
    void 次月_Click();
    void 日付_Click();
    void 休業日_Click();
    void 確定_Click();
    void 削除_Click();
    void 終了_Click();

private:
    enum HolidayAction { Register = 1, Delete = 2 };

    void layOut();
    // Registers or deletes the holidays of the year, then shows its first month again.
    void applyHolidays(HolidayAction action);
    // The ticked weekdays; none ticked leaves every flag false.
    holiday_dates::Weekdays CollectWeekdays() const;
    // Writes or deletes the common row of every date, and of every national holiday of the year
    // when `withHolidays`, all or nothing.
    void WriteHolidayDays(const std::vector<QDate>& dates, HolidayAction action, bool withHolidays);
    void showFirstMonth();
    void showMonth(const QDate& month);
    void stepMonth(int months);

    QLineEdit* 年度;
    QLineEdit* 開始日;
    QLineEdit* 終了日;
    QPushButton* 前月;
    QLabel* 表示月;
    QPushButton* 次月;
    FlexGrid* 日付;
    FlexGrid* 休業日;
    QGroupBox* 曜日;
    std::vector<QCheckBox*> weekdayBoxes_; // 日 to 土
    QCheckBox* 祝日;
    QGroupBox* 特定日;
    QLineEdit* 定休日付;
    QGroupBox* Frame2;
    QRadioButton* 休日;
    QRadioButton* 勤務;
    QLineEdit* 休日名;
    QLineEdit* 設定日;
    QPushButton* 確定;
    QPushButton* 削除;
    QPushButton* 終了;

    CalendarPicker picker_;
    ui::FieldCheck yearCheck_;
    ui::FieldCheck dayCheck_;
};
