#include "demo_data.h"

#include "base/input.h"
#include "store/database.h"

#include <array>

namespace {

using store::Table;
using store::Value;

void addRow(Table& table, std::initializer_list<std::pair<const char*, Value>> fields)
{
    table.addNew();
    for (const auto& [name, value] : fields)
        table.set(QString::fromUtf8(name), value);
    table.update();
}

struct Reserver {
    const char* name;
    const char* kana;
    const char* phone;
    const char* birth;
    int sex;
};

} // namespace

void writeDemoData(const QString& path, const QDate& today)
{
    store::Database db = store::Database::open(path);
    store::Transaction transaction(db);

    Table master = db.table("マスタ");
    const std::array<std::pair<int, const char*>, 7> items{{
        {1, "12"}, {2, "1"}, {3, "04/01"}, {4, "8"}, {5, "21"}, {6, ""}, {7, "1"}}};
    for (const auto& [number, content] : items)
        addRow(master, {{"マス_番号", number}, {"マス_内容", content}, {"マス_備考", ""}});

    Table targets = db.table("設定");
    const std::array<std::array<const char*, 4>, 5> targetRows{{
        {"00000", "共通基本情報", "共通基本情報", ""},
        {"00001", "会議室A（8名）", "会議室A", "プロジェクター有"},
        {"00002", "会議室B（20名）", "会議室B", ""},
        {"00003", "テニスコート1面", "テニスコート", "屋外・照明有"},
        {"00004", "講師 山田", "講師山田", "個人レッスン"},
    }};
    for (const auto& row : targetRows)
        addRow(targets, {{"設定_番号", row[0]}, {"設定_名称", row[1]}, {"設定_略称", row[2]}, {"設定_備考", row[3]}});

    // Common unit of 30 minutes; the large room and the court take several bookings per slot.
    Table basic = db.table("基本");
    const std::array<std::tuple<const char*, int, int>, 5> basics{{
        {"00000", 0, 0}, {"00001", 0, 0}, {"00002", 1, 3}, {"00003", 1, 2}, {"00004", 0, 0}}};
    for (const auto& [number, overlap, count] : basics)
        addRow(basic, {{"基本_番号", number}, {"基本_単位", 1}, {"基本_設定", 30}, {"基本_重複", overlap},
                       {"基本_重複数", count}, {"基本_備考", ""}});

    Table hours = db.table("営業");
    const std::array<std::array<const char*, 5>, 5> hourRows{{
        {"00000", "09:00", "12:00", "0", "午前"},
        {"00000", "12:00", "13:00", "1", "昼休み"},
        {"00000", "13:00", "21:00", "0", "午後"},
        {"00003", "08:00", "20:00", "0", "コート"},
        {"00004", "10:00", "17:00", "0", "レッスン"},
    }};
    for (const auto& row : hourRows)
        addRow(hours, {{"営業_番号", row[0]}, {"営業_開始時間", row[1]}, {"営業_終了時間", row[2]},
                       {"営業_営業フラグ", row[3]}, {"営業_備考", row[4]}});

    // Saturdays close early for everyone.
    Table daily = db.table("日別");
    addRow(daily, {{"日別_番号", "00000"}, {"日別_区分", 1}, {"日別_日付", 7}, {"日別_開始時間", "10:00"},
                   {"日別_終了時間", "17:00"}, {"日別_営業フラグ", "0"}, {"日別_備考", "土曜短縮"}});

    const QDate monday = today.addDays(1 - today.dayOfWeek());
    // The court stays open an hour longer on the Saturday of a tournament.
    Table specific = db.table("特定日");
    addRow(specific, {{"特定_番号", "00003"}, {"特定_日付", monday.addDays(5)}, {"特定_開始時間", "08:00"},
                      {"特定_終了時間", "21:00"}, {"特定_営業フラグ", "0"}, {"特定_備考", "大会（延長営業）"}});

    Table calendar = db.table("カレンダー");
    addRow(calendar, {{"カレ_番号", "00000"}, {"カレ_年月日", monday.addDays(2)}, {"カレ_休日FLG", 1},
                      {"カレ_備考", "定休日"}});
    addRow(calendar, {{"カレ_番号", "00002"}, {"カレ_年月日", monday.addDays(4)}, {"カレ_休日FLG", 1},
                      {"カレ_備考", "設備点検"}});

    const std::array<Reserver, 12> reservers{{
        {"佐藤 花子", "サトウ ハナコ", "03-1234-5601", "1985/04/12", 2},
        {"鈴木 一郎", "スズキ イチロウ", "03-1234-5602", "1978/11/03", 1},
        {"高橋 美咲", "タカハシ ミサキ", "03-1234-5603", "1992/07/21", 2},
        {"田中 健太", "タナカ ケンタ", "03-1234-5604", "1988/01/30", 1},
        {"伊藤 由美", "イトウ ユミ", "03-1234-5605", "", 2},
        {"渡辺 翔", "ワタナベ ショウ", "03-1234-5606", "2001/09/09", 1},
        {"山本 直子", "ヤマモト ナオコ", "03-1234-5607", "1969/02/14", 2},
        {"中村 大輔", "ナカムラ ダイスケ", "03-1234-5608", "1995/12/24", 1},
        {"小林 さくら", "コバヤシ サクラ", "03-1234-5609", "2003/03/27", 2},
        {"加藤 拓也", "カトウ タクヤ", "03-1234-5610", "1982/06/06", 1},
        {"吉田 恵", "ヨシダ メグミ", "03-1234-5611", "1990/10/10", 2},
        {"山田 太郎", "ヤマダ タロウ", "03-1234-5612", "1975/05/05", 1},
    }};

    struct Booking {
        int reserver;
        const char* target;
        const char* abbrev;
        int day;
        const char* start;
        const char* end;
    };
    const std::array<Booking, 20> bookings{{
        {0, "00001", "会議室A", 0, "09:00", "10:30"}, {1, "00001", "会議室A", 0, "13:00", "15:00"},
        {2, "00002", "会議室B", 0, "10:00", "12:00"}, {3, "00002", "会議室B", 0, "10:00", "11:00"},
        {4, "00003", "テニスコート", 0, "08:00", "10:00"}, {5, "00003", "テニスコート", 1, "18:00", "20:00"},
        {6, "00001", "会議室A", 1, "14:00", "16:00"}, {7, "00004", "講師山田", 1, "10:00", "11:00"},
        {8, "00004", "講師山田", 1, "11:00", "12:00"}, {9, "00002", "会議室B", 3, "13:00", "17:00"},
        {10, "00002", "会議室B", 3, "13:30", "15:00"}, {11, "00002", "会議室B", 3, "14:00", "15:00"},
        {0, "00003", "テニスコート", 3, "09:00", "11:00"}, {1, "00001", "会議室A", 4, "09:30", "11:30"},
        {2, "00004", "講師山田", 4, "15:00", "16:00"}, {3, "00003", "テニスコート", 5, "10:00", "12:00"},
        {4, "00003", "テニスコート", 5, "10:00", "12:00"}, {5, "00001", "会議室A", 5, "13:00", "16:00"},
        {6, "00002", "会議室B", 6, "10:00", "12:00"}, {7, "00004", "講師山田", 6, "13:00", "14:00"},
    }};

    const auto overlapOf = [&basics](const char* target) {
        for (const auto& [number, overlap, count] : basics) {
            if (qstrcmp(number, target) == 0)
                return QString::number(overlap);
        }
        return QStringLiteral("0");
    };
    const auto number = [](int index) { return QStringLiteral("-%1").arg(index + 1, 6, 10, QChar(u'0')); };
    Table reservations = db.table("予約");
    std::array<QString, 12> latest;
    std::array<QString, 12> latestTarget;
    for (const Booking& b : bookings) {
        const QString day = input::dateText(monday.addDays(b.day));
        const Reserver& r = reservers[size_t(b.reserver)];
        addRow(reservations, {{"予約_設定番号", b.target}, {"予約_年月日", day}, {"予約_開始時間", b.start},
                              {"予約_予約者NO", number(b.reserver)}, {"予約_重複", overlapOf(b.target)}, {"予約_終了時間", b.end},
                              {"予約_受付日", input::dateText(today)}, {"予約_略称", b.abbrev},
                              {"予約_予約者名", r.name}, {"予約_予約者名カナ", r.kana}, {"予約_備考", ""}});
        if (day > latest[size_t(b.reserver)]) {
            latest[size_t(b.reserver)] = day;
            latestTarget[size_t(b.reserver)] = QString::fromUtf8(b.target);
        }
    }

    Table people = db.table("予約者");
    for (size_t i = 0; i < reservers.size(); ++i) {
        const Reserver& r = reservers[i];
        addRow(people, {{"予約者_予約者NO", number(int(i))}, {"予約者_予約者名カナ", r.kana},
                        {"予約者_予約者名", r.name}, {"予約者_対象番号", latestTarget[i]},
                        {"予約者_住所", "東京都千代田区"}, {"予約者_電話番号", r.phone},
                        {"予約者_携帯番号", ""}, {"予約者_年月日", r.birth}, {"予約者_性別", r.sex},
                        {"予約者_最新予約日", latest[i]}, {"予約者_備考", ""}});
    }

    Table counters = db.table("発番");
    addRow(counters, {{"発番_設備", "00000"}, {"発番_番号", "000012"}, {"発番_PriFix", ""}, {"発番_備考", ""}});

    transaction.commit();
}
