#pragma once

#include "store/desk_database.h"
#include "ui/form.h"

class QLabel;
class QPushButton;

// What the operator chose in the first-start window; the opener owns it and reads it after exec().
enum class FirstStartChoice { Ended, NewDatabase, DemoDatabase, ExistingDatabase };

// Form 初回起動: shown when the data folder holds no Kelvora.mdb. Nothing is made until the
// operator chooses: an empty database or the demo database here, another folder (the program goes
// on with the database there, a file or the server its Kelvora.ini names, as if it had been
// started there), or the end. The window stays open until a database is there or the operator
// ends; `where` is then the database the program opens.
class 初回起動 : public Form {
public:
    初回起動(FirstStartChoice& choice, store::DeskDatabase& where);

    void 新規作成_Click();
    void デモ作成_Click();
    void フォルダ選択_Click();
    void 終了_Click();

private:
    // Says which folder it is and whether a database can be made there.
    void ShowFolder();
    // Runs `make`, which writes Kelvora.mdb; on success closes with `choice`.
    void Create(FirstStartChoice choice, void (*make)(const QString& file));

    FirstStartChoice& choice_;
    store::DeskDatabase& where_;
    QLabel* 案内 = nullptr;
    QPushButton* 新規作成 = nullptr;
    QPushButton* デモ作成 = nullptr;
};
