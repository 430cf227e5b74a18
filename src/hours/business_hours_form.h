#pragma once

#include "hours/hours_entry_form.h"

#include <array>

// 営業時間登: the business hours of one reservation target, in the kind the menu opened it in:
// the bands that hold every day (kind 1), or those of one day of the daily cycle (kind 2), a
// weekday or a day of the month as the master settings choose. The target is clicked in a grid
// of targets; in the daily kind the day is an option or a typed day number.
class 営業時間登 : public HoursEntryForm {
public:
    // `kind`: regular or daily hours.
    explicit 営業時間登(records::HoursKind kind);

    // Opens the form in a kind; an open form laid out for another kind, or for another daily
    // cycle, is loaded again.
    static void openFor(const Desk& desk, records::HoursKind kind);

    void Form_Load() override;

    void 対象登録_Click();
    void 日付_LostFocus();
    void 日別表示_Click();
    // The weekday options choose their day, 1 日曜 (Sunday) to 7 土曜, and show its bands.
    void 日曜_Click() { 曜日_Click(1); }
    void 月曜_Click() { 曜日_Click(2); }
    void 火曜_Click() { 曜日_Click(3); }
    void 水曜_Click() { 曜日_Click(4); }
    void 木曜_Click() { 曜日_Click(5); }
    void 金曜_Click() { 曜日_Click(6); }
    void 土曜_Click() { 曜日_Click(7); }

protected:
    void checkDay() override;
    void afterRefresh(int filledRows) override;
    bool mayShowPreview() const override;

private:
    void 曜日_Click(int hoursDay);
    void layOut();
    void InitTargetGrid();
    bool laidOutFor(int kind, int dailyHoursKind) const;

    FlexGrid* 対象登録;
    QGroupBox* 曜日;
    std::array<QRadioButton*, 7> weekdayOptions_; // 日曜 .. 土曜
    QGroupBox* 特定日;
    QLineEdit* 日付;
    QPushButton* 日別表示;

    int requestedKind_;      // the kind the form is to be laid out in at its next loading
    int dailyHoursKind_ = 0; // the daily cycle the form was laid out for
    int lastTargetRow_ = 0;
    int highlightedTargetRow_ = 0;
};
