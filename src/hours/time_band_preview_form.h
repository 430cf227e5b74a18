#pragma once

#include "rules/time_table.h"
#include "ui/form.h"

class FlexGrid;
class QLineEdit;
class QPushButton;

// 時間帯表示: the business status of a target at a glance, as the hours forms leave it: the slot
// grid of the days of the hours being edited, closed time painted. Opened from the hours forms;
// each form that saves or asks again hands it its own target and kind.
class 時間帯表示 : public Form {
public:
    explicit 時間帯表示(const 時間TBL::TimeTableRequest& request);

    // What the next loading shows: the target, kind and days of the hours form that asks.
    void showRequest(const 時間TBL::TimeTableRequest& request) { request_ = request; }

    void Form_Load() override;
    void 終了_Click();

protected:
    // Esc asks as 終了 does.
    void escape() override;

private:
    QLineEdit* 対象略称名;
    FlexGrid* 時間帯;
    QPushButton* 終了;

    時間TBL::TimeTableRequest request_;
};
