#pragma once

#include "base/kinds.h"
#include "views/month_calendar_form.h"

class QLabel;

// 予約状照会: where both reservation inquiries start. The operator picks a date on a month
// calendar that shows the closure days and, for the inquiry by target, a target; 照会 then opens
// the time inquiry for that date (seven days of the target, or the day of every target).
class 予約状照会 : public MonthCalendarForm {
public:
    explicit 予約状照会(InquiryKind kind);

    // Opens the form for an inquiry, or turns the open one to it.
    static void openFor(const Desk& desk, InquiryKind kind);

    void Form_Load() override;

    void 照会_Click();
    void 終了_Click();

private:
    void layOut();
    bool byTarget() const;

    QLabel* Label11;
    QLabel* Label対象略称;
    QPushButton* 照会;
    QPushButton* 終了;

    InquiryKind kind_;
};
