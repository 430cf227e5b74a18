#include "records/waiting_list.h"

#include "records/stored.h"
#include "store/store_error.h"

#include <QTime>
#include <algorithm>

namespace records {

namespace {

constexpr int kSequenceDigits = 4;

store::Table byKey(const store::Database& db)
{
    return db.table("キャンセル待ち", "Key_キャンセル待ち");
}

WaitingEntry read(const store::Table& t)
{
    const std::optional<QDateTime> made = stored::moment(t.text("待ち_登録日時"));
    const int state = t.integer("待ち_状態");
    if (!made || state < int(WaitingState::Waiting) || state > int(WaitingState::Expired)) {
        throw store::StoreError(QStringLiteral("%1 の項目「%2」の値「%3」を読めません。")
                                    .arg(t.whichRecord(), made ? QStringLiteral("待ち_状態") : QStringLiteral("待ち_登録日時"),
                                         made ? QString::number(state) : t.text("待ち_登録日時")));
    }
    return {t.text("待ち_番号"),
            t.text("待ち_設定番号"),
            t.date("待ち_年月日"),
            t.time("待ち_開始時間"),
            t.time("待ち_終了時間", true),
            t.text("待ち_予約者NO"),
            t.text("待ち_予約者名"),
            t.text("待ち_電話番号"),
            *made,
            WaitingState(state),
            t.text("待ち_備考")};
}

void write(store::Table& t, const WaitingEntry& e)
{
    t.set("待ち_番号", e.number);
    t.set("待ち_設定番号", e.target);
    t.set("待ち_年月日", input::dateText(e.date));
    t.set("待ち_開始時間", stored::timeText(e.start));
    t.set("待ち_終了時間", stored::timeText(e.end));
    t.set("待ち_予約者NO", e.reserverNo);
    t.set("待ち_予約者名", e.reserverName);
    t.set("待ち_電話番号", e.phone);
    t.set("待ち_登録日時", stored::momentText(e.made));
    t.set("待ち_状態", int(e.state));
    t.set("待ち_備考", e.remark);
}

// The number after the last one given on the day of `made`.
QString nextNumber(const store::Database& db, const QDateTime& made)
{
    const QString day = made.toString(QStringLiteral("yyyyMMdd"));
    int last = 0;
    store::Table entries = byKey(db);
    for (entries.seek(">=", {day}); !entries.eof(); entries.moveNext()) {
        const QString number = entries.text("待ち_番号");
        if (!number.startsWith(day))
            break;
        last = std::max(last, number.mid(day.size()).toInt());
    }
    return day + QString::number(last + 1).rightJustified(kSequenceDigits, '0');
}

} // namespace

std::optional<WaitingEntry> findWaitingEntry(const store::Database& db, const QString& number)
{
    store::Table entries = byKey(db);
    if (!entries.find({number}))
        return std::nullopt;
    return read(entries);
}

std::vector<WaitingEntry> waitingEntriesOfDay(const store::Database& db, const QString& target, const QDate& date)
{
    std::vector<WaitingEntry> day;
    store::Table entries = db.table("キャンセル待ち", "Idx_枠");
    const QString dateText = input::dateText(date);
    for (entries.seek(">=", {target, dateText}); !entries.eof(); entries.moveNext()) {
        if (entries.text("待ち_設定番号") != target || entries.text("待ち_年月日") != dateText)
            break;
        day.push_back(read(entries));
    }
    return day;
}

store::Range waitingEntriesOfDayRange(const QString& target, const QDate& date)
{
    return {"キャンセル待ち", "Idx_枠", {target, date}, {target, date}};
}

std::vector<WaitingEntry> waitingEntriesFrom(const store::Database& db, const QDate& first)
{
    std::vector<WaitingEntry> found;
    store::Table entries = db.table("キャンセル待ち", "Idx_日付");
    for (entries.seek(">=", {first}); !entries.eof(); entries.moveNext()) {
        if (input::storedDate(entries.text("待ち_年月日")))
            found.push_back(read(entries));
    }
    return found;
}

std::vector<WaitingEntry> waitingEntriesBetween(const store::Database& db, const QDate& first, const QDate& last)
{
    std::vector<WaitingEntry> found;
    store::Table entries = db.table("キャンセル待ち", "Idx_日付");
    const QString lastText = input::dateText(last);
    for (entries.seek(">=", {first}); !entries.eof() && entries.text("待ち_年月日") <= lastText; entries.moveNext()) {
        if (input::storedDate(entries.text("待ち_年月日")))
            found.push_back(read(entries));
    }
    return found;
}

store::Range waitingEntriesBetweenRange(const QDate& first, const QDate& last)
{
    return {"キャンセル待ち", "Idx_日付", {first}, {last}};
}

WaitingEntry addWaitingEntry(const store::Database& db, WaitingEntry entry, const QDateTime& made)
{
    store::Transaction adding(db);
    entry.made = *stored::moment(stored::momentText(made)); // to the second, as it is stored
    entry.number = nextNumber(db, entry.made);
    store::Table entries = byKey(db);
    entries.addNew();
    write(entries, entry);
    entries.update();
    entries.close();
    adding.commit();
    return entry;
}

bool setWaitingState(const store::Database& db, const QString& number, WaitingState state)
{
    store::Table entries = byKey(db);
    if (!entries.find({number}))
        return false;
    entries.edit();
    entries.set("待ち_状態", int(state));
    entries.update();
    return true;
}

int expireWaitingEntries(const store::Database& db, const QDateTime& moment)
{
    const auto passed = [&](const WaitingEntry& e) {
        return e.state == WaitingState::Waiting && QDateTime(e.date, QTime(e.start.hour, e.start.minute)) <= moment;
    };
    std::vector<QString> numbers;
    {
        store::Table entries = db.table("キャンセル待ち", "Idx_日付");
        const QString lastDay = input::dateText(moment.date());
        for (entries.seek(">=", {QString()}); !entries.eof() && entries.text("待ち_年月日") <= lastDay; entries.moveNext()) {
            if (input::storedDate(entries.text("待ち_年月日")) && passed(read(entries)))
                numbers.push_back(entries.text("待ち_番号"));
        }
    }
    // Written only when something expires, and only what still waits inside the write: another
    // desk may have booked it meanwhile.
    if (numbers.empty())
        return 0;
    store::Transaction expiring(db);
    int expired = 0;
    for (const QString& number : numbers) {
        const std::optional<WaitingEntry> entry = findWaitingEntry(db, number);
        if (entry && passed(*entry) && setWaitingState(db, number, WaitingState::Expired))
            ++expired;
    }
    expiring.commit();
    return expired;
}

int removeWaitingEntriesBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    return stored::removeDatedBetween(db, "キャンセル待ち", "Idx_日付", from, through, progress);
}

} // namespace records
