#pragma once

#include "ui/field_check.h"
#include "views/month_calendar_form.h"

#include <QDate>
#include <optional>

// 個休業登録: the closure days of one reservation target, one date at a time. A day is marked
// closed (休業日) or kept open over a common closure (営業日), with a name; the month calendar shows
// the closure in force for the target, the list the month's rows of the target and the common
// calendar. Any month can be shown, typed into the year and month boxes or stepped.
class 個休業登録 : public MonthCalendarForm {
public:
    // `target`: whose closure days are shown first (the menu hands none).
    explicit 個休業登録(const records::Target& target = {});

    // Opens the form on a target, or turns the open one to it.
    static void openFor(const Desk& desk, const records::Target& target);

    void Form_Load() override;

    void 表示_Click();
    void 確定_Click();
    void 削除_Click();
    void 終了_Click();

protected:
    void takeDate(const QDate& date) override;

private:
    void layOut();
    // The target and date a write is for; nothing, after telling the operator, when one is missing.
    bool hasTarget();
    std::optional<QDate> checkedDate();

    QGroupBox* Frame2;
    QRadioButton* 休日;
    QRadioButton* 勤務;
    QLineEdit* 休日名;
    QPushButton* 確定;
    QPushButton* 削除;
    QPushButton* 終了;

    ui::FieldCheck dateCheck_;
    records::Target handed_;
};
