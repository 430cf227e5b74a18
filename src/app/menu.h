#pragma once

#include "base/settings.h"
#include "ui/desk.h"

#include <QWidget>

class QPushButton;

// The main menu: a board of buttons, one per function. It keeps the desk (the open database and
// the settings) and hands it, with the mode the button stands for, to the form it opens; the
// master-settings and basic-information forms are modal, and the settings are read again after
// they close and handed to every open form.
class メニュー : public QWidget {
public:
    // The desk's database, open; the settings are loaded by Form_Load.
    メニュー(const store::Database& database, const store::DeskDatabase& where);

    // Loads the start-up settings; runs once before the menu is shown.
    void Form_Load();
    const Settings& settings() const { return desk_.settings; }
    const Desk& desk() const { return desk_; }
    // On a database just made empty: says which settings come first, in their order, and opens
    // the first of them.
    void leadFirstSteps();

    void マスター登録_Click();
    void 基本情報_Click();
    void 予約設定登録_Click();
    void 営業時間登録_Click();
    void 日別営業時間登録_Click();
    void 特定日営業時間登録_Click();
    void 対象照会_Click();
    void 日別照会_Click();
    void 予約者登録_Click();
    void 予約者照会_Click();
    void 予約一括削除_Click();
    void キャンセル待ち一覧_Click();
    void 期末削除_Click();
    void 再編成_Click();
    void 取消履歴_Click();
    void 定休日登_Click();
    void 個別休業日登録_Click();
    void 祝日登録_Click();
    void 予約一覧表_Click();
    void 稼働状況_Click();
    void 終了_Click();

private:
    void ReloadSettings();
    QPushButton* addButton(QWidget* frame, const QString& name, const QString& caption, void (メニュー::*handler)());

    Desk desk_;
};
