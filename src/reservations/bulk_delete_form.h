#pragma once

#include "ui/field_check.h"
#include "ui/form.h"

#include <QString>
#include <optional>

class FlexGrid;
class QLineEdit;
class QPushButton;

namespace store {
class Database;
}

// 予約削除 (予約一括削除): deletes the reservations of every target left marked in the candidate
// grid that are dated on or before a cut-off date, a number of months before today. Only table
// 予約 is touched; the whole deletion is one transaction.
class 予約削除 : public Form {
public:
    予約削除();

    void Form_Load() override;
    void 削除月数_LostFocus();
    void 削除候補_Click();
    void 削除_Click();
    void 終了_Click();

private:
    void InitCandidateGrid();
    void FillCandidates();
    // Reads 削除月数: a usable month count sets CutOffMonths, anything else sets the error flag
    // and keeps the last valid count.
    void CheckMonths();

    QLineEdit* 削除月数;
    FlexGrid* 削除候補;
    QPushButton* 削除;
    QPushButton* 終了;

    // Empty until 削除月数 has held a usable count; the cut-off date is that many months before
    // the day of the deletion.
    std::optional<int> CutOffMonths;
    int CandidateCount = 0;
    ui::FieldCheck check_;
};
