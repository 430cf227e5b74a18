#include "app/menu.h"

#include "app/startup.h"
#include "base/app_state.h"
#include "closures/individual_closures_form.h"
#include "closures/regular_holidays_form.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "maintenance/period_end_form.h"
#include "maintenance/warning_form.h"
#include "master/basic_info_form.h"
#include "master/master_settings_form.h"
#include "master/targets_form.h"
#include "reservations/bulk_delete_form.h"
#include "reservations/reserver_form.h"
#include "reservations/status_inquiry_form.h"
#include "ui/forms.h"
#include "ui/handlers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

メニュー::メニュー()
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

    QGroupBox* yearEnd = makeFrame("Frame5", "年度処理");
    addButton(yearEnd, "期末削除", "期末削除", &メニュー::期末削除_Click);
    addButton(yearEnd, "再編成", "再編成", &メニュー::再編成_Click);
    addButton(yearEnd, "定休日登", "定休日登録", &メニュー::定休日登_Click);
    addButton(yearEnd, "個別休業日登録", "個別休業日登録", &メニュー::個別休業日登録_Click);
    // The list of preferred working hours has no form in this system.
    addButton(yearEnd, "Command8", "希望勤務一覧", nullptr)->setEnabled(false);

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

QPushButton* メニュー::addButton(QWidget* frame, const QString& name, const QString& caption,
                                void (メニュー::*handler)())
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
    初期処理::LoadStartupSettings();
}

void メニュー::マスター登録_Click()
{
    forms::showModal<マスター登>();
    初期処理::LoadStartupSettings();
}

void メニュー::基本情報_Click()
{
    TargetSelection& t = app().targets;
    t.CurrentTarget = QStringLiteral("00000");
    t.CurrentTargetName = t.CurrentTargetAbbrev = QStringLiteral("共通基本情報");
    基本登::openForCurrentTarget(true);
    初期処理::LoadStartupSettings();
}

void メニュー::予約設定登録_Click()
{
    forms::showModeless<対象登>();
}

void メニュー::営業時間登録_Click()
{
    app().modes.HoursFormKind = 1;
    app().modes.TimeTableMode = 1;
    営業時間登::openForCurrentKind();
}

void メニュー::日別営業時間登録_Click()
{
    app().modes.HoursFormKind = 2;
    app().modes.TimeTableMode = 1;
    営業時間登::openForCurrentKind();
}

void メニュー::特定日営業時間登録_Click()
{
    app().modes.HoursFormKind = 3;
    app().modes.TimeTableMode = 1;
    forms::showModeless<特定時間登>();
}

void メニュー::対象照会_Click()
{
    app().modes.InquiryKind = 1;
    app().modes.TimeTableMode = 3;
    // One status inquiry form serves both inquiries: an open one turns to this kind.
    if (forms::reloadIfOpen<予約状照会>())
        forms::showModeless<予約状照会>();
}

void メニュー::日別照会_Click()
{
    app().modes.InquiryKind = 2;
    app().modes.TimeTableMode = 2;
    if (forms::reloadIfOpen<予約状照会>())
        forms::showModeless<予約状照会>();
}

void メニュー::予約者登録_Click()
{
    forms::showModeless<予約者更新>();
}

void メニュー::予約一括削除_Click()
{
    forms::showModeless<予約削除>();
}

void メニュー::期末削除_Click()
{
    forms::showModeless<期末処理>();
}

void メニュー::再編成_Click()
{
    forms::showModeless<警告>();
}

void メニュー::定休日登_Click()
{
    forms::showModeless<定休日登録>();
}

void メニュー::個別休業日登録_Click()
{
    app().targets.CurrentTarget.clear();
    forms::showModeless<個休業登録>();
}

void メニュー::終了_Click()
{
    close();
}
