#include "app/menu.h"

#include "app/startup.h"
#include "records/hours.h"
#include "records/targets.h"
#include "store/database.h"
#include "closures/individual_closures_form.h"
#include "closures/national_holidays_form.h"
#include "closures/regular_holidays_form.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "maintenance/period_end_form.h"
#include "maintenance/warning_form.h"
#include "master/basic_info_form.h"
#include "master/master_settings_form.h"
#include "master/targets_form.h"
#include "reservations/bulk_delete_form.h"
#include "reservations/cancellation_history_form.h"
#include "reservations/reserver_form.h"
#include "reservations/reserver_inquiry_form.h"
#include "reservations/status_inquiry_form.h"
#include "reservations/waiting_list_form.h"
#include "sheets/occupancy_form.h"
#include "sheets/sheet_form.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

メニュー::メニュー(const store::Database& database, const store::DeskDatabase& where) : desk_{database, where, Settings{}}
{
    setObjectName(QStringLiteral("メニュー"));
    setWindowTitle(QStringLiteral("Kelvoraメニュー"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* frames = new QHBoxLayout;
    const auto makeFrame = [&](const QString& name, const QString& caption) {
        auto* frame = new QGroupBox(caption, this);
        frame->setObjectName(name);
        auto* column = new QVBoxLayout(frame);
        column->setSpacing(8);
        frames->addWidget(frame, 0, Qt::AlignTop);
        return frame;
    };

    QGroupBox* basics = makeFrame("Frame3", "基本情報");
    addButton(basics, "マスター登録", "マスター情報登録", &メニュー::マスター登録_Click);
    addButton(basics, "基本情報", "基本情報登録", &メニュー::基本情報_Click);
    addButton(basics, "予約設定登録", "予約設定登録", &メニュー::予約設定登録_Click);
    addButton(basics, "営業時間登録", "営業時間登録", &メニュー::営業時間登録_Click);
    addButton(basics, "日別営業時間登録", "日別営業時間登録", &メニュー::日別営業時間登録_Click);
    addButton(basics, "特定日営業時間登録", "特定日営業時間登録", &メニュー::特定日営業時間登録_Click);

    QGroupBox* reservations = makeFrame("Frame4", "予約情報");
    addButton(reservations, "対象照会", "予約対象照会", &メニュー::対象照会_Click);
    addButton(reservations, "日別照会", "予約日照会", &メニュー::日別照会_Click);
    addButton(reservations, "予約者登録", "予約者登録", &メニュー::予約者登録_Click);
    // The bulk deletion of reservers has no form in this system.
    addButton(reservations, "予約者削除", "予約者一括削除", nullptr)->setEnabled(false);
    addButton(reservations, "予約一括削除", "予約一括削除", &メニュー::予約一括削除_Click);
    addButton(reservations, "キャンセル待ち一覧", "キャンセル待ち一覧", &メニュー::キャンセル待ち一覧_Click);

    QGroupBox* yearEnd = makeFrame("Frame5", "年度処理");
    addButton(yearEnd, "期末削除", "期末削除", &メニュー::期末削除_Click);
    addButton(yearEnd, "再編成", "再編成", &メニュー::再編成_Click);
    addButton(yearEnd, "定休日登", "定休日登録", &メニュー::定休日登_Click);
    addButton(yearEnd, "個別休業日登録", "個別休業日登録", &メニュー::個別休業日登録_Click);
    addButton(yearEnd, "祝日登録", "祝日登録", &メニュー::祝日登録_Click);
    // The list of preferred working hours has no form in this system.
    addButton(yearEnd, "Command8", "希望勤務一覧", nullptr)->setEnabled(false);

    QGroupBox* sheets = makeFrame("Frame6", "帳票");
    addButton(sheets, "予約一覧表", "予約一覧表", &メニュー::予約一覧表_Click);
    addButton(sheets, "取消履歴", "取消履歴", &メニュー::取消履歴_Click);
    addButton(sheets, "予約者照会", "予約者照会", &メニュー::予約者照会_Click);
    addButton(sheets, "稼働状況", "稼働状況", &メニュー::稼働状況_Click);

    auto* close = new QPushButton(QStringLiteral("終了"), this);
    close->setObjectName(QStringLiteral("終了"));
    close->setMinimumSize(120, 36);
    ui::onClick(close, [this] { 終了_Click(); });

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(12);
    page->addLayout(frames);
    page->addLayout(bottom);
}

QPushButton* メニュー::addButton(QWidget* frame, const QString& name, const QString& caption, void (メニュー::*handler)())
{
    auto* button = new QPushButton(caption, frame);
    button->setObjectName(name);
    button->setMinimumSize(180, 40);
    frame->layout()->addWidget(button);
    if (handler)
        ui::onClick(button, [this, handler] { (this->*handler)(); });
    return button;
}

void メニュー::Form_Load()
{
    desk_.settings = 初期処理::LoadStartupSettings(desk_.database);
}

void メニュー::leadFirstSteps()
{
    msg::plain(QStringLiteral("空のデータベースを作成しました。\n"
                              "マスター情報登録、基本情報登録、予約設定登録、営業時間登録の順に設定してから、予約を入力してください。"),
               QStringLiteral("初回起動"));
    マスター登録_Click();
}

void メニュー::ReloadSettings()
{
    desk_.settings = 初期処理::LoadStartupSettings(desk_.database);
    forms::handSettings(desk_.settings);
}

void メニュー::マスター登録_Click()
{
    forms::showModal<マスター登>(desk_);
    ReloadSettings();
}

void メニュー::基本情報_Click()
{
    const QString common = QStringLiteral("共通基本情報");
    基本登::openFor(desk_, {records::kCommonTarget, common, common, QString()}, true);
    ReloadSettings();
}

void メニュー::予約設定登録_Click()
{
    forms::showModeless<対象登>(desk_);
}

void メニュー::営業時間登録_Click()
{
    営業時間登::openFor(desk_, records::HoursKind::Regular);
}

void メニュー::日別営業時間登録_Click()
{
    営業時間登::openFor(desk_, records::HoursKind::Daily);
}

void メニュー::特定日営業時間登録_Click()
{
    forms::showModeless<特定時間登>(desk_);
}

void メニュー::対象照会_Click()
{
    予約状照会::openFor(desk_, InquiryKind::ByTarget);
}

void メニュー::日別照会_Click()
{
    予約状照会::openFor(desk_, InquiryKind::ByDay);
}

void メニュー::予約者登録_Click()
{
    forms::showModeless<予約者更新>(desk_);
}

void メニュー::予約一括削除_Click()
{
    forms::showModeless<予約削除>(desk_);
}

void メニュー::期末削除_Click()
{
    forms::showModeless<期末処理>(desk_);
}

void メニュー::予約者照会_Click()
{
    forms::showModeless<予約者照会>(desk_);
}

void メニュー::取消履歴_Click()
{
    forms::showModeless<取消履歴>(desk_);
}

void メニュー::キャンセル待ち一覧_Click()
{
    if (キャンセル待ち一覧* open = forms::find<キャンセル待ち一覧>())
        open->Offer({}); // everybody still waiting, not the time it was last opened on
    forms::showModeless<キャンセル待ち一覧>(desk_);
}

void メニュー::再編成_Click()
{
    forms::showModeless<警告>(desk_);
}

void メニュー::定休日登_Click()
{
    forms::showModeless<定休日登録>(desk_);
}

void メニュー::個別休業日登録_Click()
{
    forms::showModeless<個休業登録>(desk_);
}

void メニュー::祝日登録_Click()
{
    forms::showModeless<祝日登録>(desk_);
}

void メニュー::予約一覧表_Click()
{
    forms::showModeless<予約一覧表>(desk_);
}

void メニュー::稼働状況_Click()
{
    forms::showModeless<稼働状況>(desk_);
}

void メニュー::終了_Click()
{
    close();
}
