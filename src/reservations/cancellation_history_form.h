#pragma once

#include "records/cancellations.h"
#include "ui/form.h"

#include <vector>

class FlexGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

// Form 取消履歴: the cancelled reservations of a span of days, a target or a reserver, newest
// first. The chosen one's kind and reason can be changed, it can be restored (booked again, with
// the questions of a booking into a full slot), and a past reservation nobody came to can be
// cancelled as a no-show.
class 取消履歴 : public Form {
public:
    取消履歴();

    void Form_Load() override;
    void 表示_Click();
    void 取消一覧_Click();
    void 変更_Click();
    void 復元_Click();
    void 無断_Click();
    void 終了_Click();

private:
    void FillList();
    const records::Cancellation* RequireChosen();

    QLineEdit* 開始日;
    QLineEdit* 終了日;
    QLineEdit* 対象番号;
    QLineEdit* 予約者NO;
    FlexGrid* 取消一覧;
    QComboBox* 区分;
    QLineEdit* 理由;
    QLineEdit* 予約日;
    QLineEdit* 開始時間;

    std::vector<records::Cancellation> listed_;
    int chosenRow_ = 0; // 0: none
};
