#pragma once

#include "rules/sheet_data.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// 予約一覧表: the day's sheets on paper, as PDF and as CSV. The operator chooses the sheet (the
// day's list, the week of one target, the list of calls), the date and the target, then previews,
// prints or writes the file.
class 予約一覧表 : public Form {
public:
    予約一覧表();

    void Form_Load() override;
    void プレビュー_Click();
    void 印刷_Click();
    void PDF出力_Click();
    void CSV出力_Click();
    void 終了_Click();

private:
    // The sheet the form's choices ask for; nothing, having said why, when a choice is wrong.
    std::optional<sheets::Sheet> BuildSheet();

    QRadioButton* 日別;
    QRadioButton* 週間;
    QRadioButton* 確認;
    QLineEdit* 照会日;
    QComboBox* 対象略称;
    QPushButton* プレビュー;
    QPushButton* 印刷;
    QPushButton* PDF出力;
    QPushButton* CSV出力;
    QPushButton* 終了;

    ui::FieldCheck check_;
};
