#pragma once

#include "records/targets.h"
#include "ui/field_check.h"
#include "ui/form.h"

class FlexGrid;
class QLineEdit;

// Form 対象登: the reservation targets (table 設定) in a grid, with boxes to add, change and
// delete one, and buttons that open the basic information or the closure days of the target in
// the boxes. A row click copies the row into the boxes; the operations work on the boxes.
class 対象登 : public Form {
public:
    対象登();

    void Form_Load() override;

    void SetUpTargetGrid();
    // The first 100 targets in number order.
    void FillTargetGrid();
    void 対象登録_Click();
    void CheckTargetNumber();
    void CheckTargetName();
    void CheckTargetAbbrev();
    void 確定_Click();
    void 削除_Click();
    void 基本情報登録_Click();
    void 個別休業登録_Click();
    void 終了_Click();

private:
    // The target in the boxes, once its number passes the check.
    std::optional<records::Target> targetInBoxes();
    void requireText(QLineEdit* box, const QString& message);

    FlexGrid* 対象登録;
    QLineEdit* 対象番号;
    QLineEdit* 対象名称;
    QLineEdit* 対象略称;
    QLineEdit* 備考;

    int lastRow_ = 0;     // last grid row filled, 0 when none
    int selectedRow_ = 0; // highlighted row, 0 when none
    ui::FieldCheck check_;
};
