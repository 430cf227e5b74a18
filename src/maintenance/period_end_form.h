#pragma once

#include "store/progress.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <QDate>

class QLineEdit;
class QPushButton;
namespace store {
class Database;
}

// 期末処理: removes every dated record up to and including a cut-off date from the closure
// days, the reservations, the reservers and the specific-day hours, in one transaction. The
// cut-off date proposed on opening is the start of the business year moved back by the retention
// months.
class 期末処理 : public Form {
public:
    期末処理();

    void Form_Load() override;
    void 取消日_LostFocus();
    void 確定_Click();
    void 終了_Click();

private:
    void ProposeCutoffDate();
    void CheckCutoffDate();
    void PurgeCalendar(const store::Database& db, const store::Progress& progress) const;
    void PurgeReservations(const store::Database& db, const store::Progress& progress) const;
    void PurgeReservers(const store::Database& db, const store::Progress& progress) const;
    // Each deletes the records of its table dated from the lower bound up to the cut-off date,
    // both included.
    void PurgeSpecificDays(const store::Database& db, const store::Progress& progress) const;

    QLineEdit* 取消日;
    QPushButton* 確定;
    QPushButton* 終了;

    QDate cutOffDate_;
    QDate lowerBound_;
    ui::FieldCheck check_;
};
