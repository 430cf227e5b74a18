#pragma once

#include "rules/occupancy.h"
#include "sheets/occupancy_sheet.h"
#include "store/database.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <optional>

class FlexGrid;
class PictureView;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// 稼働状況: how full the targets were in a span of months. The operator chooses the months and all
// targets or one, and 集計 fills 稼働一覧 (a row a target and month, and the total) with the chart
// of the rates beside it, or with 曜日時間帯別 the heat map of the weekdays and hours. What is
// shown is what the preview, the printer and the PDF and CSV files get: each of them tallies the
// boxes' choices again first.
class 稼働状況 : public Form {
public:
    稼働状況();

    void Form_Load() override;
    void 集計_Click();
    void 対象別_Click();
    void 曜日時間帯別_Click();
    void プレビュー_Click();
    void 印刷_Click();
    void PDF出力_Click();
    void CSV出力_Click();
    void 終了_Click();

private:
    // Checks the boxes, tallies and shows the figures; false, having said why, when a box is wrong.
    bool Tally();
    // The sheet of a fresh tally, for the preview, the printer and the files.
    std::optional<sheets::Sheet> TalliedSheet();
    void ShowFigures();
    void ShowPicture();
    sheets::OccupancyPicture ChosenPicture() const;

    QLineEdit* 開始年月;
    QLineEdit* 終了年月;
    QComboBox* 対象略称;
    QRadioButton* 対象別;
    QRadioButton* 曜日時間帯別;
    FlexGrid* 稼働一覧;
    PictureView* 稼働図;

    std::optional<occupancy::Occupancy> figures_;
    ui::FieldCheck check_;
};
