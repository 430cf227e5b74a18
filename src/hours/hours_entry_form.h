#pragma once

#include "records/hours.h"
#include "rules/time_table.h"
#include "ui/field_check.h"
#include "ui/form.h"

class FlexGrid;
class QGridLayout;
class QBoxLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the business-hours forms share: the grid of the bands stored for the target and day
// being edited, the entry of one band (start and end hour and minute, open or closed time, a
// remark) with its checks, saving and deleting a band, and the preview of the target's business
// status. Each form adds how its target and its day are chosen.
//
// A form works in the kind it was loaded in (1 regular, 2 daily, 3 one date) and on the target
// chosen in it, whatever another hours form made current in the meantime.
class HoursEntryForm : public Form {
public:
    void 時間帯_Click();
    void 開始時_LostFocus();
    void 開始分_LostFocus();
    void 終了時_LostFocus();
    void 終了分_LostFocus();
    void 確定_Click();
    void 削除_Click();
    void 表示_Click();
    void 終了_Click();

    // Fills the grid with the stored bands. When one starts before the band above it ends, that
    // band is loaded into the boxes in red and the operator is told; the result is then true.
    bool RefreshSlotGrid();
    // The day check, the four box checks and, when they pass, CheckTimeRange; shows the first
    // failure's message. True when everything passed.
    bool ValidateInput();
    void CheckTimeRange();

    int kind() const { return kind_; }

protected:
    HoursEntryForm(const QString& formName, const QString& caption, const QString& title, const QString& savedMessage);

    // Makes the grid, the entry controls and the command buttons, in this tab order.
    void makeTimeEntry();
    // The state at load: the kind, no failed check, no chosen target, an empty grid and boxes.
    void loadTimeEntry(int kind);
    void InitSlotGrid();
    // Empties the time boxes and the remark, and takes back their failure marks.
    void clearTimeEntry();
    // The target chosen in this form.
    void chooseTarget(const QString& number, const QString& abbrev);
    // The bands the form edits: its kind, target, daily cycle, day and date.
    records::HoursKey hoursKey() const;
    bool hasChosenTarget() const { return !chosenTarget_.isEmpty(); }
    const QString& chosenTarget() const { return chosenTarget_; }
    // True when a target was chosen; tells the operator to choose one otherwise.
    bool requireChosenTarget();

    // The labelled time boxes, the open or closed frame and the remark.
    QGridLayout* timeEntryLayout();
    QBoxLayout* commandButtons();

    // The check of the day or date, run by ValidateInput before the time boxes.
    virtual void checkDay() {}
    // What follows every refresh of the grid, given the number of bands shown.
    virtual void afterRefresh(int /*filledRows*/) {}
    // What follows a save, after the grid was refreshed and before the success message.
    virtual void afterSave() {}
    // Whether 表示 has a target to show.
    virtual bool mayShowPreview() const = 0;

    const QString& title() const { return title_; }

    int hoursDay_ = 0;   // kind 2: the weekday number or day of the month being edited
    QDate specificDate_; // kind 3: the date being edited

    ui::FieldCheck check_;

    FlexGrid* 時間帯 = nullptr;
    QLineEdit* 開始時 = nullptr;
    QLineEdit* 開始分 = nullptr;
    QLineEdit* 終了時 = nullptr;
    QLineEdit* 終了分 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* 営業 = nullptr;
    QRadioButton* 休日 = nullptr;
    QLineEdit* 備考 = nullptr;
    QPushButton* 確定 = nullptr;
    QPushButton* 削除 = nullptr;
    QPushButton* 表示 = nullptr;
    QPushButton* 終了 = nullptr;

private:
    // A box that must hold a number.
    bool checkNumeric(QLineEdit* box, const QString& message);
    // An hour box and a minute box that must make a time of day.
    void checkTime(QLineEdit* hour, QLineEdit* minute, bool endOfDay, const QString& message);
    void loadSlotRow(int row);
    // Loads the preview with the form's target and kind; `open` shows it, otherwise only an open
    // one follows.
    void showPreview(bool open);
    時間TBL::TimeTableRequest previewRequest() const;

    QString title_;
    QString savedMessage_;
    int kind_ = 0;
    int slotRows_ = 0; // rows filled by the last refresh
    int highlightedSlotRow_ = 0;
    QString chosenTarget_;
    QString chosenAbbrev_;
};
