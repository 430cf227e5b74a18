#pragma once

#include "records/reservations.h"
#include "records/targets.h"
#include "rules/series.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <QString>
#include <optional>
#include <vector>

class FlexGrid;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the series form did: whether it registered a series.
struct SeriesOutcome {
    bool registered = false;
};

// Form 定期予約登録: makes a series of the booking the entry form shows (its target, start, end and
// reserver, its date the first date). The operator chooses the repeat and the end, 日程作成 lists
// the dates with what the desk would do with each, and 登録 books the ticked ones in one
// transaction through the guarded write and keeps the series.
class 定期予約登録 : public Form {
public:
    定期予約登録(const records::Reservation& booking, const records::Target& target, SeriesOutcome& outcome);

    void Form_Load() override;
    void 日程作成_Click();
    void 日程一覧_Click();
    void 登録_Click();
    void 終了_Click();

private:
    // The rule the controls describe; the first failing box is marked and its message kept.
    std::optional<recurrence::Rule> ReadRule();
    // Enables what the repeat chosen uses.
    void ShowRepeatChoices();
    // The dates listed no longer follow the controls: the list is emptied until 日程作成.
    void ClearSchedule();
    void FillSchedule();
    void ShowCounts();
    // The dates an outcome concerns, one line each, for the question about them.
    QString DatesOf(const booking_write::Outcome& outcome, const std::vector<booking_write::Change>& changes) const;

    QLineEdit* 予約対象;
    QLineEdit* 予約者;
    QLineEdit* 開始日;
    QLineEdit* 時間;
    QRadioButton* 毎週;
    QLineEdit* 間隔;
    std::vector<QCheckBox*> weekdayBoxes_; // 月 to 日
    QRadioButton* 毎月日付;
    QLabel* 日付説明;
    QCheckBox* 月末に合わせる;
    QRadioButton* 毎月曜日;
    QLabel* 曜日説明;
    QCheckBox* 最終;
    QRadioButton* 終了日指定;
    QLineEdit* 終了日;
    QRadioButton* 回数指定;
    QLineEdit* 回数;
    QCheckBox* 祝日を除く;
    QCheckBox* 休業日を除く;
    QPushButton* 日程作成;
    FlexGrid* 日程一覧;
    QLabel* 件数;
    QPushButton* 登録;

    const records::Reservation booking_;
    const records::Target target_;
    SeriesOutcome& outcome_;
    ui::FieldCheck check_;
    // The plan and its dates as 日程作成 listed them, with the ticks; empty until then.
    std::optional<series::Registration> listed_;
};
