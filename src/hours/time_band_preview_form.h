#pragma once

#include "ui/form.h"

class FlexGrid;
class QLineEdit;
class QPushButton;

// 時間帯表示: the business status of the current target at a glance, as the hours forms leave
// it: the slot grid of the days of the hours being edited, closed time painted. Opened from the
// hours forms; loading it again shows the target current then.
class 時間帯表示 : public Form {
public:
    時間帯表示();

    void Form_Load() override;
    void 終了_Click();

protected:
    // Esc asks as 終了 does.
    void escape() override;

private:
    QLineEdit* 対象略称名;
    FlexGrid* 時間帯;
    QPushButton* 終了;
};
