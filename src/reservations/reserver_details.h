#pragma once

#include "records/reservers.h"
#include "ui/field_check.h"
#include "ui/form.h"

#include <functional>
#include <optional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace store {
class Database;
}

// The particulars of one reserver (table 予約者) as both reserver forms show them: the boxes, the
// kana search list, the look-up by name or number, the checks of name, kana and birth date, and
// the age. The reservation entry form and the reserver maintenance form are made from it.
class ReserverDetailsForm : public Form {
public:
    // Lists the reservers whose kana starts with the typed text, in kana order (everybody when
    // nothing is typed), as the reserver card finds them: hiragana, katakana and half-width alike.
    void 予約者カナ_Change();
    // Shows the particulars of the reserver picked in the list.
    void 予約者一覧_Click();
    // Lists the reservers again as the file now holds them (another desk added or changed some),
    // the picked name kept; the boxes keep what the operator typed.
    void FollowReserverList();
    void 予約者名_LostFocus();
    void 予約者カナ_LostFocus();
    void 生年月日_LostFocus();

protected:
    // `title` heads every message of the form.
    ReserverDetailsForm(const QString& formName, const QString& caption, const QString& title);

    void CheckReserverName();
    void CheckReserverKana();
    // A birth date may be empty; a date (not after today) shows the age.
    void CheckBirthDate();

    // Shows the particulars of the reserver with this name or number; false when there is none.
    bool ShowReserverByName(const QString& name);
    bool ShowReserverByNumber(const QString& number);
    // Shows a reserver's particulars; false for none.
    bool ShowReserver(const std::optional<records::Reserver>& reserver);
    // Empties every box and the age and chooses no sex; the list is left as it is.
    void ClearReserver();

    // The name as stored: without blanks around it.
    QString reserverName() const;
    // The reserver of the name in 予約者名 with the particulars of the boxes (name, kana, address,
    // telephone numbers, birth date, sex and remark): the stored record of that name keeps its
    // number and its other fields; a new name gets a new record under the number `newNumber`
    // takes, which is called only then.
    records::Reserver ReserverToSave(const store::Database& db, const std::function<QString()>& newNumber) const;

    // Which boxes a form lays out: every particular, or only those to reach the reserver by (number,
    // name, kana, telephone and remark; the others stay hidden).
    enum class Particulars { All, Contact };
    // The particulars in two columns of labels and boxes, with the search list beside them.
    QBoxLayout* reserverLayout(Particulars shown = Particulars::All);

    const QString title_;
    ui::FieldCheck check_;

    QLineEdit* 予約者NO;
    QLineEdit* 予約者名;
    QLineEdit* 予約者カナ;
    QListWidget* 予約者一覧;
    QGroupBox* Frame4;
    QRadioButton* 男;
    QRadioButton* 女;
    QLineEdit* 生年月日;
    QLabel* 年齢;
    QLineEdit* 電話番号;
    QLineEdit* 携帯番号;
    QLineEdit* 住所;
    QLineEdit* 備考;

private:
    QGridLayout* particularsLayout(Particulars shown);
    QLayout* listLayout();
    // Chooses 男 or 女, or neither.
    void ShowSex(records::Sex sex);
};
