#pragma once

#include "ui/form.h"

class QLabel;
class QPushButton;

// What the operator chose in the first-start window; the opener owns it and reads it after exec().
enum class FirstStartChoice { Ended, NewDatabase, DemoDatabase, ExistingDatabase };

// Form 初回起動: shown when the current folder holds no Kelvora.mdb. Nothing is made until the
// operator chooses: an empty database or the demo database here, another folder (which becomes
// the current folder, as if the program had been started there), or the end. The window stays
// open until a database is there or the operator ends.
class 初回起動 : public Form {
public:
    explicit 初回起動(FirstStartChoice& choice);

    void 新規作成_Click();
    void デモ作成_Click();
    void フォルダ選択_Click();
    void 終了_Click();

private:
    // Says which folder it is and whether a database can be made there.
    void ShowFolder();
    // Runs `make`, which writes Kelvora.mdb; on success closes with `choice`.
    void Create(FirstStartChoice choice, void (*make)());

    FirstStartChoice& choice_;
    QLabel* 案内 = nullptr;
    QPushButton* 新規作成 = nullptr;
    QPushButton* デモ作成 = nullptr;
};
