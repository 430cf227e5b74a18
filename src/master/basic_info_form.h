#pragma once

#include "records/targets.h"
#include "ui/field_check.h"
#include "ui/form.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

// Form 基本登: the basic information of one target, or of the common record "00000": how its
// time is divided (minute, hour or day units and the unit time) and whether a slot may be booked
// more than once. It edits the target that was current when it was loaded.
class 基本登 : public Form {
public:
    explicit 基本登(const records::Target& target);

    // Shows the form for a target: modal from the menu, modeless from the target form. A form
    // already open is loaded again for that target, so it never shows one target and saves another.
    static void openFor(const Desk& desk, const records::Target& target, bool modal);

    void Form_Load() override;

    void LoadBasicInfo();
    void CheckUnitTime();
    void CheckOverlapCount();
    void 分単位_Click();
    // 時間単位 and 日単位: the quick choices of minutes go away.
    void nonMinuteUnit_Click();
    void 不可能_Click();
    void 確定_Click();
    void 終了_Click();

private:
    // A quick choice of the unit time was checked or unchecked.
    void quickChoice_Click(QCheckBox* box, const QString& minutes);
    void setQuickChoices(const QString& unitTime);

    QLineEdit* 対象番号;
    QLineEdit* 対象名称;
    QRadioButton* 分単位;
    QRadioButton* 時間単位;
    QRadioButton* 日単位;
    QGroupBox* 分表示;
    QCheckBox* min10;
    QCheckBox* min15;
    QCheckBox* min20;
    QCheckBox* min30;
    QLineEdit* 単位時間;
    QRadioButton* 可能;
    QRadioButton* 不可能;
    QLineEdit* 重複数;
    QLineEdit* 備考;

    records::Target target_; // the target being edited
    ui::FieldCheck check_;
};
