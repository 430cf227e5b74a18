#pragma once

#include "rules/holidays_in_force.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <QDate>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;

// 祝日登録: the national holidays of one year as the desk keeps them, the computed days with the
// operator's corrections, so that a change of the law or a local holiday needs no new program: a
// day is added (or a computed one renamed), a computed day taken away, and a correction undone. A
// year after next is a forecast and says so. 特定日に登録 gives the holidays of a fiscal year the
// hours of an ordinary weekday, as specific-day hours of every target.
class 祝日登録 : public Form {
public:
    祝日登録();

    void Form_Load() override;

    void 年_LostFocus();
    void 前年_Click();
    void 翌年_Click();
    void 祝日一覧_Click();
    void 追加_Click();
    void 取消_Click();
    void 戻す_Click();
    void 特定日に登録_Click();
    void 終了_Click();

private:
    void layOut();
    void showYear(int year);
    void FillHolidayList();
    void MarkListRow(int row);
    // The date typed, checked; the operator is told when it is none.
    std::optional<QDate> checkedDate();
    // The first day of the fiscal year typed into 年度, checked likewise.
    std::optional<QDate> checkedFiscalYear();
    // Lists the year of the date just changed, with that date chosen.
    void showChanged(const QDate& date);

    QLineEdit* 年;
    QPushButton* 前年;
    QPushButton* 翌年;
    QLabel* 予想;
    FlexGrid* 祝日一覧;
    QLineEdit* 日付;
    QLineEdit* 名称;
    QPushButton* 追加;
    QPushButton* 取消;
    QPushButton* 戻す;
    QLineEdit* 年度;
    QComboBox* 曜日;
    QPushButton* 特定日に登録;
    QPushButton* 終了;

    int year_ = 0; // the year listed
    std::vector<national_holidays::DayOfRecord> listed_;
    int listRow_ = 0; // the chosen row of 祝日一覧; 0: none
    ui::FieldCheck yearCheck_;
    ui::FieldCheck entryCheck_;
};
