#include "entry_boxes.h"

namespace entry_boxes {

namespace {

using Passes = std::vector<std::pair<QString, QString>>;

// The four time boxes of the hours forms take two characters, so "１２３" arrives as "１２",
// "24:00" as "24", "23:60" as "23" and the dates as "20". The other boxes hold 09:00 to 17:00.
const Passes kStartHour = {{"１２３", "12:00"}, {"８", "08:00"}};
const Passes kStartMinute = {{"１２３", "09:12"},     {"24:00", "09:24"},      {"23:60", "09:23"},
                             {"2024/02/30", "09:20"}, {"2023/02/29", "09:20"}, {" 5", "09:05"}};
const Passes kEndHour = {{"１２３", "12:00"}, {"24:00", "24:00"}, {"23:60", "23:00"}, {"2024/02/30", "20:00"}, {"2023/02/29", "20:00"}};
const Passes kEndMinute = {{"１２３", "17:12"},     {"24:00", "17:24"},      {"23:60", "17:23"},
                           {"2024/02/30", "17:20"}, {"2023/02/29", "17:20"}, {"０", "17:00"}};

const Passes kDateLimit = {{"", ""}, {"  　 ", "  　 "}, {"２０２６／１２／２４", "2026/12/24"}, {" 2027-1-5 ", "2027/01/05"}};

std::vector<EntryBox> hoursBoxes(const QString& scene, const QString& table, const QString& prefix)
{
    return {
        {scene, "開始時", Rule::Listed, {{table, prefix + "開始時間"}}, kStartHour},
        {scene, "開始分", Rule::Listed, {{table, prefix + "開始時間"}}, kStartMinute},
        {scene, "終了時", Rule::Listed, {{table, prefix + "終了時間"}}, kEndHour},
        {scene, "終了分", Rule::Listed, {{table, prefix + "終了時間"}}, kEndMinute},
        {scene, "備考", Rule::AnyText, {{table, prefix + "備考"}}, {}},
    };
}

// The reserver boxes of the reservation entry form and of reserver maintenance. A new reserver
// gets the first number of the common counter, whatever was typed as a number.
std::vector<EntryBox> reserverBoxes(const QString& scene, bool booking)
{
    const auto both = [booking](const QString& reserverField, const QString& reservationField) {
        std::vector<Place> places{{"予約者", reserverField}};
        if (booking)
            places.push_back({"予約", reservationField});
        return places;
    };
    return {
        {scene, "予約者NO", Rule::NeverWritten, both("予約者_予約者NO", "予約_予約者NO"), {{"", "-000001"}}},
        {scene, "予約者名", Rule::Name, both("予約者_予約者名", "予約_予約者名"), {}},
        {scene, "予約者カナ", Rule::Name, both("予約者_予約者名カナ", "予約_予約者名カナ"), {}},
        {scene,
         "生年月日",
         Rule::Listed,
         {{"予約者", "予約者_年月日"}},
         {{"", ""}, {"  　 ", ""}, {"１９８０／４／１", "1980/04/01"}, {" 1999-12-31 ", "1999/12/31"}}},
        {scene, "電話番号", Rule::AnyText, {{"予約者", "予約者_電話番号"}}, {}},
        {scene, "携帯番号", Rule::AnyText, {{"予約者", "予約者_携帯番号"}}, {}},
        {scene, "住所", Rule::AnyText, {{"予約者", "予約者_住所"}}, {}},
        {scene, "備考", Rule::AnyText, both("予約者_備考", "予約_備考"), {}},
    };
}

std::vector<EntryBox> table()
{
    const std::vector<Place> masterValue{{"マスタ", "マス_内容"}};
    std::vector<EntryBox> boxes = {
        // The master items keep the value as typed; the start-up settings read it.
        {"マスター登 保持期限", "登録内容", Rule::Listed, masterValue, {{"１２３", "123"}, {" 6 ", "6"}}},
        {"マスター登 特定日設定", "登録内容", Rule::Listed, masterValue, {{"２", "2"}}},
        {"マスター登 年度開始日", "登録内容", Rule::Listed, masterValue, {{"４／１", "4/1"}, {" 10/01 ", "10/01"}}},
        {"マスター登 表示開始時間", "登録内容", Rule::Listed, masterValue, {{"１２３", "123"}, {"-1", "-1"}}},
        {"マスター登 表示終了時間", "登録内容", Rule::Listed, masterValue, {{"１２３", "123"}, {" ２２ ", "22"}}},
        {"マスター登 予約NOﾌﾟﾘﾌｨｯｸｽ",
         "登録内容",
         Rule::Listed,
         masterValue,
         {{"", ""}, {"  　 ", "  　 "}, {"１２３", "１２３"}, {"-1", "-1"}, {"1e3", "1e3"}, {"0x10", "0x10"}}},
        {"マスター登 予約NO設定区分", "登録内容", Rule::Listed, masterValue, {{"2", "2"}}},
        {"マスター登 保持期限", "備考", Rule::AnyText, {{"マスタ", "マス_備考"}}, {}},

        {"基本登", "単位時間", Rule::Listed, {{"基本", "基本_設定"}}, {{"３０", "30"}, {" 15 ", "15"}}},
        {"基本登", "重複数", Rule::Listed, {{"基本", "基本_重複数"}}, {{"１２３", "123"}, {" ２ ", "2"}}},
        {"基本登", "備考", Rule::AnyText, {{"基本", "基本_備考"}}, {}},

        {"対象登", "対象番号", Rule::Listed, {{"設定", "設定_番号"}}, {{"１２３", "00123"}, {"99999", "99999"}, {" ０３ ", "00003"}}},
        {"対象登", "対象略称", Rule::RequiredText, {{"設定", "設定_略称"}}, {}},
        {"対象登", "対象名称", Rule::RequiredText, {{"設定", "設定_名称"}}, {}},
        {"対象登", "備考", Rule::AnyText, {{"設定", "設定_備考"}}, {}},
        // A deletion removes the record the typed key names; any other key deletes nothing.
        {"対象登 削除", "対象番号", Rule::Listed, {{"設定", "設定_番号", true}}, {{" １ ", "00001"}, {"00001", "00001"}}},
        {"営業時間登 削除", "開始時", Rule::Listed, {{"営業", "営業_開始時間", true}}, {{"９", "09:00"}, {" 9", "09:00"}}},

        {"営業時間登 日付で", "日付", Rule::Listed, {{"日別", "日別_日付"}}, {{"３１", "31"}, {" 1 ", "1"}}},
        {"特定時間登",
         "日付",
         Rule::Listed,
         {{"特定日", "特定_日付"}},
         {{"２０２６／１２／２４", "2026/12/24"}, {" 2027-1-5 ", "2027/01/05"}}},

        // The first Sunday of the business year typed (from 1 April), or the day typed in its first month.
        {"定休日登録 曜日で",
         "年度",
         Rule::Listed,
         {{"カレンダー", "カレ_年月日"}},
         {{"２０２７", "2027/04/04"}, {" 2028 ", "2028/04/02"}}},
        {"定休日登録 曜日で", "休日名", Rule::AnyText, {{"カレンダー", "カレ_備考"}}, {}},
        {"定休日登録 日付で", "定休日付", Rule::Listed, {{"カレンダー", "カレ_年月日"}}, {{"３１", "2026/04/30"}, {" 1 ", "2026/04/01"}}},

        {"個休業登録",
         "設定日",
         Rule::Listed,
         {{"カレンダー", "カレ_年月日"}},
         {{"２０２６／１２／２４", "2026/12/24"}, {" 2027-1-5 ", "2027/01/05"}}},
        {"個休業登録", "休日名", Rule::AnyText, {{"カレンダー", "カレ_備考"}}, {}},
        {"個休業登録 削除",
         "設定日",
         Rule::Listed,
         {{"カレンダー", "カレ_年月日", true}},
         {{"２０２６／１２／２４", "2026/12/24"}, {" 2026-12-24 ", "2026/12/24"}}},
        {"個休業登録 表示", "表示年", Rule::Listed, {{"個休業登録", "表示年"}}, {{"２０２７", "2027"}, {" 1999 ", "1999"}}},
        {"個休業登録 表示", "表示月", Rule::Listed, {{"個休業登録", "表示月"}}, {{"３", "3"}, {" 11 ", "11"}}},

        // 次月 steps on from the month typed.
        {"予約状照会 次月", "表示年", Rule::Listed, {{"予約状照会", "表示年"}}, {{"２０２７", "2028"}, {" 1999 ", "2000"}}},
        {"予約状照会 次月", "表示月", Rule::Listed, {{"予約状照会", "表示月"}}, {{"３", "4"}, {" 11 ", "12"}}},
        {"予約状照会 照会",
         "設定日",
         Rule::Listed,
         {{"時間照会", "表示開始日"}},
         {{"２０２６／１２／２４", "2026/12/24"}, {" 2027-1-5 ", "2027/01/05"}}},

        {"予約者登",
         "終了時間",
         Rule::Listed,
         {{"予約", "予約_終了時間"}},
         {{"24:00", "24:00"}, {"１１：００", "11:00"}, {" 11:30 ", "11:30"}}},

        // The customer waits from the slot's start; a new name becomes a reserver with the telephone.
        {"キャンセル待ち登録",
         "終了時間",
         Rule::Listed,
         {{"キャンセル待ち", "待ち_終了時間"}},
         {{"24:00", "24:00"}, {"１１：００", "11:00"}, {" 11:30 ", "11:30"}}},
        {"キャンセル待ち登録", "予約者名", Rule::Name, {{"予約者", "予約者_予約者名"}, {"キャンセル待ち", "待ち_予約者名"}}, {}},
        {"キャンセル待ち登録", "予約者カナ", Rule::Name, {{"予約者", "予約者_予約者名カナ"}}, {}},
        {"キャンセル待ち登録", "電話番号", Rule::RequiredText, {{"予約者", "予約者_電話番号"}, {"キャンセル待ち", "待ち_電話番号"}}, {}},
        {"キャンセル待ち登録", "備考", Rule::AnyText, {{"キャンセル待ち", "待ち_備考"}}, {}},

        // The reservation dated 2000/01/01 is older than the months typed.
        {"予約削除", "削除月数", Rule::Listed, {{"予約", "予約_年月日", true}}, {{"１２３", "2000/01/01"}, {" 24 ", "2000/01/01"}}},
        {"期末処理",
         "取消日",
         Rule::Listed,
         {{"予約", "予約_年月日", true}},
         {{"２０２０／０１／０１", "2000/01/01"}, {" 2010-1-1 ", "2000/01/01"}}},

        // The sheet is built for the date typed; the box shows it in its stored form.
        {"予約一覧表",
         "照会日",
         Rule::Listed,
         {{"予約一覧表", "照会日"}},
         {{"２０２６／１２／２４", "2026/12/24"}, {" 2027-1-5 ", "2027/01/05"}}},
        // The months are tallied as typed; the boxes show them in their stored form.
        {"稼働状況", "開始年月", Rule::Listed, {{"稼働状況", "開始年月"}}, {{"２０２６／１２", "2026/12"}, {" 2026-1 ", "2026/01"}}},
        {"稼働状況", "終了年月", Rule::Listed, {{"稼働状況", "終了年月"}}, {{"２０２６／１２", "2026/12"}, {" 2027-1 ", "2027/01"}}},
        // The list's limits: an empty date box is no limit; the numbers are compared as typed.
        {"取消履歴 表示", "開始日", Rule::Listed, {{"取消履歴", "開始日"}}, kDateLimit},
        {"取消履歴 表示", "終了日", Rule::Listed, {{"取消履歴", "終了日"}}, kDateLimit},
        {"取消履歴 表示", "対象番号", Rule::AnyText, {{"取消履歴", "対象番号"}}, {}},
        {"取消履歴 表示", "予約者NO", Rule::AnyText, {{"取消履歴", "予約者NO"}}, {}},
        {"取消履歴 変更", "理由", Rule::AnyText, {{"予約取消", "取消_理由"}}, {}},
        // Whatever finds the one reserver by kana, name or number shows the card of 古川.
        {"予約者照会",
         "検索",
         Rule::Listed,
         {{"予約者照会", "予約者NO"}},
         {{"ﾌﾙｶﾜ", "-000900"}, {"ふる", "-000900"}, {" 古川 ", "-000900"}, {"-000900", "-000900"}}},
        // Only the finished reservation of 2000/01/01 10:00 can be marked; it moves into the history.
        {"取消履歴 無断不来",
         "予約日",
         Rule::Listed,
         {{"予約", "予約_年月日", true}, {"予約取消", "取消_年月日"}},
         {{"２０００／０１／０１", "2000/01/01"}, {" 2000-1-1 ", "2000/01/01"}}},
        {"取消履歴 無断不来",
         "開始時間",
         Rule::Listed,
         {{"予約", "予約_開始時間", true}, {"予約取消", "取消_開始時間"}},
         {{"１０：００", "10:00"}, {" 10:00 ", "10:00"}}},
    };
    boxes.push_back({"予約者更新 削除", "予約者NO", Rule::Listed, {{"予約者", "予約者_予約者NO", true}}, {{"-000900", "-000900"}}});
    for (const auto& group : {hoursBoxes("営業時間登", "営業", "営業_"), hoursBoxes("特定時間登", "特定日", "特定_"),
                              reserverBoxes("予約者登", true), reserverBoxes("予約者更新", false)})
        boxes.insert(boxes.end(), group.begin(), group.end());
    return boxes;
}

} // namespace

const std::vector<EntryBox>& all()
{
    static const std::vector<EntryBox> boxes = table();
    return boxes;
}

const std::vector<std::pair<QString, QString>>& untyped()
{
    static const std::vector<std::pair<QString, QString>> boxes = {
        {"定休日登録", "設定日"}, // hidden: only a click on the calendar fills it
        // hidden: a waiting customer gives a name and a telephone only
        {"キャンセル待ち登録", "生年月日"},
        {"キャンセル待ち登録", "携帯番号"},
        {"キャンセル待ち登録", "住所"},
    };
    return boxes;
}

} // namespace entry_boxes
