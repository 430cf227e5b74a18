#include "records/demo_data.h"

#include "records/basic.h"
#include "records/calendar.h"
#include "records/hours.h"
#include "records/master_items.h"
#include "records/numbering.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "records/targets.h"
#include "store/database.h"
#include "store/file_tools.h"

#include <QFile>

#include <array>

namespace records {

namespace {

input::TimeOfDay at(const char* text)
{
    return *input::storedTime(QString::fromUtf8(text), true);
}

struct Reserver {
    const char* name;
    const char* kana;
    const char* phone;
    const char* birth;
    Sex sex;
};

void writeDemoData(const QString& path, const QDate& today)
{
    store::Database db = store::Database::open(path);
    store::Transaction transaction(db);

    // Reserver numbers carry the year they were issued in, as a real desk's do.
    const std::array<std::pair<int, const char*>, 7> items{{{1, "12"}, {2, "1"}, {3, "04/01"}, {4, "8"}, {5, "21"}, {6, "YYYY"}, {7, "1"}}};
    for (const auto& [number, content] : items)
        saveMasterItem(db, {number, QString::fromUtf8(content), QString()});

    const std::array<std::array<const char*, 4>, 5> targetRows{{
        {"00000", "共通基本情報", "共通基本情報", ""},
        {"00001", "会議室A（8名）", "会議室A", "プロジェクター有"},
        {"00002", "会議室B（20名）", "会議室B", ""},
        {"00003", "テニスコート1面", "テニスコート", "屋外・照明有"},
        {"00004", "講師 山田", "講師山田", "個人レッスン"},
    }};
    for (const auto& row : targetRows)
        saveTarget(db, {row[0], row[1], row[2], row[3]});

    // Common unit of 30 minutes; the large room and the court take several bookings per slot.
    const std::array<std::tuple<const char*, bool, int>, 5> basics{
        {{"00000", false, 0}, {"00001", false, 0}, {"00002", true, 3}, {"00003", true, 2}, {"00004", false, 0}}};
    for (const auto& [number, overlap, count] : basics)
        saveBasic(db, {number, {UnitKind::Minutes, 30, QString()}, overlap, count, QString()});

    const std::array<std::tuple<const char*, const char*, const char*, bool, const char*>, 5> hourRows{{
        {"00000", "09:00", "12:00", false, "午前"},
        {"00000", "12:00", "13:00", true, "昼休み"},
        {"00000", "13:00", "21:00", false, "午後"},
        {"00003", "08:00", "20:00", false, "コート"},
        {"00004", "10:00", "17:00", false, "レッスン"},
    }};
    for (const auto& [target, start, end, closed, remark] : hourRows)
        saveBand(db, {HoursKind::Regular, target}, {at(start), at(end), closed, remark});

    // Saturdays close early for everyone.
    saveBand(db, {HoursKind::Daily, kCommonTarget, 1, 7}, {at("10:00"), at("17:00"), false, QStringLiteral("土曜短縮")});

    const QDate monday = today.addDays(1 - today.dayOfWeek());
    // The court stays open an hour longer on the Saturday of a tournament.
    saveBand(db, {HoursKind::Specific, QStringLiteral("00003"), 1, 0, monday.addDays(5)},
             {at("08:00"), at("21:00"), false, QStringLiteral("大会（延長営業）")});

    saveClosureDays(db, kCommonTarget, {monday.addDays(2)}, {true, QStringLiteral("定休日")});
    saveClosureDays(db, QStringLiteral("00002"), {monday.addDays(4)}, {true, QStringLiteral("設備点検")});

    const std::array<Reserver, 12> reservers{{
        {"佐藤 花子", "サトウ ハナコ", "03-1234-5601", "1985/04/12", Sex::Female},
        {"鈴木 一郎", "スズキ イチロウ", "03-1234-5602", "1978/11/03", Sex::Male},
        {"高橋 美咲", "タカハシ ミサキ", "03-1234-5603", "1992/07/21", Sex::Female},
        {"田中 健太", "タナカ ケンタ", "03-1234-5604", "1988/01/30", Sex::Male},
        {"伊藤 由美", "イトウ ユミ", "03-1234-5605", "", Sex::Female},
        {"渡辺 翔", "ワタナベ ショウ", "03-1234-5606", "2001/09/09", Sex::Male},
        {"山本 直子", "ヤマモト ナオコ", "03-1234-5607", "1969/02/14", Sex::Female},
        {"中村 大輔", "ナカムラ ダイスケ", "03-1234-5608", "1995/12/24", Sex::Male},
        {"小林 さくら", "コバヤシ サクラ", "03-1234-5609", "2003/03/27", Sex::Female},
        {"加藤 拓也", "カトウ タクヤ", "03-1234-5610", "1982/06/06", Sex::Male},
        {"吉田 恵", "ヨシダ メグミ", "03-1234-5611", "1990/10/10", Sex::Female},
        {"山田 太郎", "ヤマダ タロウ", "03-1234-5612", "1975/05/05", Sex::Male},
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
        {0, "00001", "会議室A", 0, "09:00", "10:30"},      {1, "00001", "会議室A", 0, "13:00", "15:00"},
        {2, "00002", "会議室B", 0, "10:00", "12:00"},      {3, "00002", "会議室B", 0, "10:00", "11:00"},
        {4, "00003", "テニスコート", 0, "08:00", "10:00"}, {5, "00003", "テニスコート", 1, "18:00", "20:00"},
        {6, "00001", "会議室A", 1, "14:00", "16:00"},      {7, "00004", "講師山田", 1, "10:00", "11:00"},
        {8, "00004", "講師山田", 1, "11:00", "12:00"},     {9, "00002", "会議室B", 3, "13:00", "17:00"},
        {10, "00002", "会議室B", 3, "13:30", "15:00"},     {11, "00002", "会議室B", 3, "14:00", "15:00"},
        {0, "00003", "テニスコート", 3, "09:00", "11:00"}, {1, "00001", "会議室A", 4, "09:30", "11:30"},
        {2, "00004", "講師山田", 4, "15:00", "16:00"},     {3, "00003", "テニスコート", 5, "10:00", "12:00"},
        {4, "00003", "テニスコート", 5, "10:00", "12:00"}, {5, "00001", "会議室A", 5, "13:00", "16:00"},
        {6, "00002", "会議室B", 6, "10:00", "12:00"},      {7, "00004", "講師山田", 6, "13:00", "14:00"},
    }};

    const auto overlapOf = [&basics](const char* target) {
        for (const auto& [number, overlap, count] : basics) {
            if (qstrcmp(number, target) == 0)
                return overlap;
        }
        return false;
    };
    const QString prefix = QString::number(today.year());
    const auto number = [&prefix](int index) { return QStringLiteral("%1-%2").arg(prefix).arg(index + 1, 6, 10, QChar(u'0')); };
    std::array<std::optional<QDate>, 12> latest;
    std::array<QString, 12> latestTarget;
    for (const Booking& b : bookings) {
        const QDate day = monday.addDays(b.day);
        const Reserver& r = reservers[size_t(b.reserver)];
        saveReservation(db, {b.target, day, at(b.start), number(b.reserver), overlapOf(b.target), at(b.end), today, b.abbrev, r.name,
                             r.kana, QString()});
        if (!latest[size_t(b.reserver)] || day > *latest[size_t(b.reserver)]) {
            latest[size_t(b.reserver)] = day;
            latestTarget[size_t(b.reserver)] = QString::fromUtf8(b.target);
        }
    }

    for (size_t i = 0; i < reservers.size(); ++i) {
        const Reserver& r = reservers[i];
        saveReserver(db, {number(int(i)), r.kana, r.name, latestTarget[i], QStringLiteral("東京都千代田区"), r.phone, QString(),
                          input::date(QString::fromUtf8(r.birth)), r.sex, latest[i], QString()});
    }

    saveNumbering(db, {kCommonTarget, QStringLiteral("000012"), prefix, QString()});

    transaction.commit();
}

} // namespace

void createDemoDatabase(const QString& name, const QDate& today)
{
    store::createDatabase(name);
    try {
        writeDemoData(name, today);
    } catch (...) {
        if (!store::isServerAddress(name))
            QFile::remove(name);
        throw;
    }
}

} // namespace records
