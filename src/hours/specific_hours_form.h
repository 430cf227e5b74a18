#pragma once

#include "hours/hours_entry_form.h"

class QComboBox;

// 特定時間登: the business hours of one reservation target on one calendar date, which outweigh
// its regular and daily hours on that date. The target is picked in a combo; the date is typed
// or picked from the list of the target's dates that have bands.
class 特定時間登 : public HoursEntryForm {
public:
    特定時間登();

    void Form_Load() override;

    void 対象略称_Click();
    void 登録日付_Click();
    void 日付_LostFocus();

protected:
    void checkDay() override;
    void afterSave() override;
    bool mayShowPreview() const override;

private:
    void layOut();
    void InitDateGrid();

    QComboBox* 対象略称;
    FlexGrid* 登録日付;
    QLineEdit* 日付;

    int dateCount_ = 0;       // dates listed
    int highlightedDate_ = 0; // 0: none
    bool newDate_ = false;    // a typed date became the date edited since the list was loaded
};
