#include "form_scenes.h"

#include "closures/individual_closures_form.h"
#include "closures/regular_holidays_form.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "maintenance/period_end_form.h"
#include "master/basic_info_form.h"
#include "master/master_settings_form.h"
#include "master/targets_form.h"
#include "records/reservers.h"
#include "reservations/bulk_delete_form.h"
#include "reservations/cancellation_history_form.h"
#include "reservations/entry_form.h"
#include "reservations/reserver_inquiry_form.h"
#include "reservations/reserver_form.h"
#include "reservations/status_inquiry_form.h"
#include "reservations/waiting_entry_form.h"
#include "sheets/occupancy_form.h"
#include "sheets/sheet_form.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

namespace {

template <typename F, typename... Args> F* shown(const Desk& desk, Args&&... args)
{
    F* form = forms::showModeless<F>(desk, std::forward<Args>(args)...);
    form->activateWindow();
    QApplication::setActiveWindow(form);
    return form;
}

void type(QWidget* form, const QString& box, const QString& text)
{
    form->findChild<QLineEdit*>(box)->setText(text);
}

void choose(QComboBox* combo, const QString& item)
{
    const int index = combo->findText(item);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// 09:00 to 17:00, open, without a remark.
void typeBand(QWidget* form)
{
    for (auto [box, text] : {std::pair{"開始時", "09"}, {"開始分", "00"}, {"終了時", "17"}, {"終了分", "00"}})
        type(form, box, text);
    type(form, "備考", "");
}

const records::Target kRoomA{"00001", "第一会議室", "会議室A", ""};

Form* masterItem(const Desk& desk, const char* label, const QString& value)
{
    auto* form = shown<マスター登>(desk);
    QTest::mouseClick(form->findChild<QLabel*>(label), Qt::LeftButton);
    type(form, "登録内容", value);
    type(form, "備考", "");
    return form;
}

Form* basicInfo(const Desk& desk)
{
    auto* form = shown<基本登>(desk, kRoomA);
    form->findChild<QRadioButton*>("分単位")->click();
    form->findChild<QRadioButton*>("可能")->click();
    type(form, "単位時間", "30");
    type(form, "重複数", "2");
    type(form, "備考", "");
    return form;
}

Form* targets(const Desk& desk)
{
    auto* form = shown<対象登>(desk);
    type(form, "対象番号", "3");
    type(form, "対象略称", "会議室C");
    type(form, "対象名称", "第三会議室");
    type(form, "備考", "");
    return form;
}

// The hours of the target in `row` of the target grid (1 is 00001, 2 is 00002): its regular hours,
// or with daily hours keyed by the day of the month (2) the hours of its 15th.
Form* businessHours(Desk desk, int dailyHoursKind, int row = 1)
{
    desk.settings.DailyHoursKind = dailyHoursKind;
    auto* form = shown<営業時間登>(desk, dailyHoursKind == 2 ? records::HoursKind::Daily : records::HoursKind::Regular);
    form->findChild<FlexGrid*>("対象登録")->clickCell(row, 0);
    if (dailyHoursKind == 2)
        type(form, "日付", "15");
    typeBand(form);
    return form;
}

Form* specificHours(const Desk& desk)
{
    auto* form = shown<特定時間登>(desk);
    choose(form->findChild<QComboBox*>("対象略称"), "会議室A");
    type(form, "日付", "2026/12/20");
    typeBand(form);
    return form;
}

Form* regularHolidays(Desk desk, int dailyHoursKind)
{
    desk.settings.DailyHoursKind = dailyHoursKind;
    auto* form = shown<定休日登録>(desk);
    if (dailyHoursKind == 1)
        form->findChild<QCheckBox*>("日")->setChecked(true);
    else
        type(form, "定休日付", "15");
    form->findChild<QRadioButton*>("休日")->setChecked(true);
    type(form, "休日名", "定休日");
    return form;
}

Form* individualClosures(const Desk& desk)
{
    auto* form = shown<個休業登録>(desk, kRoomA);
    type(form, "設定日", "2026/12/24");
    type(form, "休日名", "臨時休業");
    return form;
}

Form* statusInquiry(const Desk& desk)
{
    auto* form = shown<予約状照会>(desk, InquiryKind::ByTarget);
    choose(form->findChild<QComboBox*>("対象略称"), "会議室A");
    type(form, "設定日", "2026/12/08");
    return form;
}

void typeReserver(QWidget* form)
{
    type(form, "予約者名", "山田太郎");
    type(form, "予約者カナ", "ヤマダタロウ");
    for (const char* box : {"予約者NO", "生年月日", "電話番号", "携帯番号", "住所", "備考"})
        type(form, box, "");
    form->findChild<QRadioButton*>("男")->setChecked(true);
}

Form* booking(const Desk& desk)
{
    // What the form did is read by no one here; it only has to outlive the form.
    static EntryOutcome outcome;
    auto* form = shown<予約者登>(desk, BookingSlot{kRoomA, QDate(2026, 12, 10), {10, 0}, {10, 30}}, outcome);
    typeReserver(form);
    return form;
}

// A customer waiting for 会議室A on 2026/12/11 at 10:00, which 古川 holds.
Form* waitingEntry(const Desk& desk)
{
    auto* form = shown<キャンセル待ち登録>(desk, BookingSlot{kRoomA, QDate(2026, 12, 11), {10, 0}, {10, 30}});
    type(form, "予約者名", "山田太郎");
    type(form, "予約者カナ", "ヤマダタロウ");
    type(form, "電話番号", "03-0000-0000");
    type(form, "備考", "");
    return form;
}

Form* reservers(const Desk& desk)
{
    auto* form = shown<予約者更新>(desk);
    typeReserver(form);
    return form;
}

Form* bulkDeletion(const Desk& desk)
{
    auto* form = shown<予約削除>(desk);
    type(form, "削除月数", "12");
    return form;
}

Form* periodEnd(const Desk& desk)
{
    auto* form = shown<期末処理>(desk);
    type(form, "取消日", "2020/01/01");
    return form;
}

Form* daySheet(const Desk& desk)
{
    auto* form = shown<予約一覧表>(desk);
    type(form, "照会日", "2026/12/01");
    return form;
}

Form* occupancyTally(const Desk& desk)
{
    auto* form = shown<稼働状況>(desk);
    type(form, "開始年月", "2026/12");
    type(form, "終了年月", "2026/12");
    return form;
}

// The history of every cancellation, its one record chosen, a finished reservation named for 無断不来.
Form* cancellations(const Desk& desk)
{
    auto* form = shown<取消履歴>(desk);
    type(form, "開始日", "");
    type(form, "終了日", "");
    type(form, "対象番号", "00001");
    type(form, "予約者NO", "-000900");
    form->findChild<QPushButton*>("表示")->click();
    form->findChild<FlexGrid*>("取消一覧")->clickCell(1, 0);
    type(form, "理由", "");
    type(form, "予約日", "2000/01/01");
    type(form, "開始時間", "10:00");
    return form;
}

Form* reserverCard(const Desk& desk)
{
    auto* form = shown<予約者照会>(desk);
    type(form, "検索", "フルカワ");
    return form;
}

} // namespace

ModalWatch::ModalWatch()
{
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        std::map<QString, QString>& boxes = shown_[modal->objectName()];
        for (const QLineEdit* box : modal->findChildren<QLineEdit*>())
            boxes[box->objectName()] = box->text();
        modal->close();
    });
    timer_.start();
}

std::optional<QString> ModalWatch::boxText(const QString& window, const QString& box) const
{
    const auto found = shown_.find(window);
    if (found == shown_.end() || !found->second.contains(box))
        return std::nullopt;
    return found->second.at(box);
}

const std::vector<Scene>& scenes()
{
    const QString master = QStringLiteral("登録･更新しました。");
    const QString target = QStringLiteral("予約対象は更新(登録)されました。");
    const QString booked = QStringLiteral("予約は更新(登録)されました。");
    static const std::vector<Scene> all = {
        {"マスター登 保持期限", [](const Desk& s) { return masterItem(s, "保持年数", "12"); }, "確定", master, ""},
        {"マスター登 特定日設定", [](const Desk& s) { return masterItem(s, "特定日設定", "1"); }, "確定", master, ""},
        {"マスター登 年度開始日", [](const Desk& s) { return masterItem(s, "年度開始日", "04/01"); }, "確定", master, ""},
        {"マスター登 表示開始時間", [](const Desk& s) { return masterItem(s, "表示開始", "8"); }, "確定", master, ""},
        {"マスター登 表示終了時間", [](const Desk& s) { return masterItem(s, "表示終了", "20"); }, "確定", master, ""},
        {"マスター登 予約NOﾌﾟﾘﾌｨｯｸｽ", [](const Desk& s) { return masterItem(s, "プリフィックス", "A"); }, "確定", master, ""},
        {"マスター登 予約NO設定区分", [](const Desk& s) { return masterItem(s, "予約NO区分", "1"); }, "確定", master, ""},
        {"基本登", basicInfo, "確定", "更新(登録)しました。", ""},
        {"対象登", targets, "確定", target, ""},
        {"対象登 削除", targets, "削除", "予約対象は削除されました。", ""},
        {"営業時間登", [](const Desk& s) { return businessHours(s, 1); }, "確定", target, ""},
        {"営業時間登 削除", [](const Desk& s) { return businessHours(s, 1, 2); }, "削除", "", ""},
        {"営業時間登 日付で", [](const Desk& s) { return businessHours(s, 2); }, "確定", target, ""},
        {"特定時間登", specificHours, "確定", "特定日時間は更新(登録)されました。", ""},
        {"定休日登録 曜日で", [](const Desk& s) { return regularHolidays(s, 1); }, "確定", "曜日での定休日を登録･更新をしました。", ""},
        {"定休日登録 日付で", [](const Desk& s) { return regularHolidays(s, 2); }, "確定", "日付での定休日を登録･更新をしました。", ""},
        {"個休業登録", individualClosures, "確定", "ｶﾚﾝﾀﾞｰの登録･更新を終了しました。", ""},
        {"個休業登録 削除", individualClosures, "削除", "ｶﾚﾝﾀﾞｰを削除しました。", ""},
        {"個休業登録 表示", individualClosures, "表示", "", ""},
        {"予約状照会 次月", statusInquiry, "次月", "", ""},
        {"予約状照会 照会", statusInquiry, "照会", "", ""},
        {"予約者登", booking, "確定", booked, ""},
        {"キャンセル待ち登録", waitingEntry, "確定", "キャンセル待ちは登録されました。", ""},
        {"予約者更新", reservers, "確定", booked, ""},
        {"予約者更新 削除", reservers, "削除", "予約者は削除されました。", ""},
        {"予約削除", bulkDeletion, "削除", "削除F=1 の予約は削除されました", "入力にｴﾗｰがあります処理を続行しますか？"},
        {"期末処理", periodEnd, "確定", "期末削除処理は終了しました", ""},
        {"予約一覧表", daySheet, "プレビュー", "", ""},
        {"取消履歴 表示", cancellations, "表示", "", ""},
        {"取消履歴 変更", cancellations, "変更", "取消記録は更新されました。", ""},
        {"予約者照会", reserverCard, "検索開始", "", ""},
        {"取消履歴 無断不来", cancellations, "無断", "予約は無断不来として取消しされました。", ""},
        {"稼働状況", occupancyTally, "集計", "", ""},
    };
    return all;
}

const Scene& scene(const QString& name)
{
    const auto& all = scenes();
    return *std::find_if(all.begin(), all.end(), [&](const Scene& s) { return s.name == name; });
}

void SceneTest::SetUp()
{
    DatabaseTest::SetUp();
    insert("設定", {{"設定_番号", "00001"}, {"設定_名称", "第一会議室"}, {"設定_略称", "会議室A"}});
    insert("設定", {{"設定_番号", "00002"}, {"設定_名称", "第二会議室"}, {"設定_略称", "会議室B"}});
    for (const char* number : {"00000", "00001"})
        insert("基本", {{"基本_番号", number}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", 0}});
    insert("マスタ", {{"マス_番号", 4}, {"マス_内容", "8"}});
    insert("営業", {{"営業_番号", "00000"}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "18:00"}, {"営業_営業フラグ", "0"}});
    insert("営業", {{"営業_番号", "00002"}, {"営業_開始時間", "09:00"}, {"営業_終了時間", "17:00"}, {"営業_営業フラグ", "0"}});
    insert("カレンダー", {{"カレ_番号", "00001"}, {"カレ_年月日", "2026/12/24"}, {"カレ_休日FLG", 0}, {"カレ_備考", "営業日"}});
    insert("予約者",
           {{"予約者_予約者NO", "-000900"}, {"予約者_予約者名", "古川"}, {"予約者_予約者名カナ", "フルカワ"}, {"予約者_性別", 1}});
    for (const char* date : {"2000/01/01", "2026/12/01", "2026/12/11"}) {
        insert("予約", {{"予約_設定番号", "00001"},
                        {"予約_年月日", date},
                        {"予約_開始時間", "10:00"},
                        {"予約_終了時間", "11:00"},
                        {"予約_予約者NO", "-000900"},
                        {"予約_予約者名", "古川"}});
    }
    insert("予約取消", {{"取消_設定番号", "00001"},
                        {"取消_年月日", "2026/11/30"},
                        {"取消_開始時間", "10:00"},
                        {"取消_終了時間", "11:00"},
                        {"取消_予約者NO", "-000900"},
                        {"取消_予約者名", "古川"},
                        {"取消_日時", "2026/11/29 09:00:00"},
                        {"取消_区分", "1"},
                        {"取消_理由", "電話で"}});
    records::rebuildReserverKeys(db()); // the reserver above was put in as another program would
}
