#pragma once

#include "ui/field_check.h"
#include "ui/form.h"

#include <QList>

class QLabel;
class QLineEdit;

// Form マスター登: edits the seven system master items of the table マスタ. The operator picks
// an item by clicking its label, sees the stored value with a line saying what to type, and saves
// that one item with 確定. The menu shows it modal and reloads every setting when it closes.
class マスター登 : public Form {
public:
    マスター登();

    void Form_Load() override;

    // Picks an item (1 to 7), as a click on its label does.
    void pickItem(int item);
    void ShowMasterItem();
    void ValidateMasterInput();
    // The end hour (item 5) may not come before a stored start hour (item 4).
    void CheckDisplayHours(int endHour);
    void 確定_Click();
    void 終了_Click();

private:
    // The item labels, in item order.
    QList<QLabel*> items_;
    QLineEdit* 登録NO;
    QLineEdit* 登録内容;
    QLineEdit* 備考;
    QLabel* 登録説明;

    int currentItem_ = 0; // 0 until an item is picked
    ui::FieldCheck check_;
};
