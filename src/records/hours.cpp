#include "records/hours.h"

#include "records/stored.h"
#include "store/store_error.h"

#include <algorithm>

namespace records {

namespace {

// Where the bands of a key are stored: the table with its key index selected, the stored
// field names of the band, and the key values before the start time.
struct Source {
    const char* table;
    const char* index;
    const char* start;
    const char* end;
    const char* closed;
    const char* remark;
};

constexpr Source kRegular{"営業", "Key_営業", "営業_開始時間", "営業_終了時間", "営業_営業フラグ", "営業_備考"};
constexpr Source kDaily{"日別", "Key_日別", "日別_開始時間", "日別_終了時間", "日別_営業フラグ", "日別_備考"};
constexpr Source kSpecific{"特定日", "Key_特定日", "特定_開始時間", "特定_終了時間", "特定_営業フラグ", "特定_備考"};

const Source& sourceOf(HoursKind kind)
{
    return kind == HoursKind::Regular ? kRegular : kind == HoursKind::Daily ? kDaily : kSpecific;
}

std::optional<std::vector<store::Value>> keyValues(const HoursKey& key)
{
    switch (key.kind) {
    case HoursKind::Regular: return std::vector<store::Value>{key.target};
    case HoursKind::Daily: return std::vector<store::Value>{key.target, key.dailyCycle, key.day};
    case HoursKind::Specific:
        if (!key.date.isValid())
            return std::nullopt;
        return std::vector<store::Value>{key.target, key.date};
    }
    return std::nullopt;
}

// Whether the record under the cursor is one of the key's bands.
bool holds(const store::Table& table, const HoursKey& key)
{
    switch (key.kind) {
    case HoursKind::Regular: return table.text("営業_番号") == key.target;
    case HoursKind::Daily:
        return table.text("日別_番号") == key.target && table.integer("日別_区分") == key.dailyCycle &&
               table.integer("日別_日付") == key.day;
    case HoursKind::Specific: return table.text("特定_番号") == key.target && table.text("特定_日付") == input::dateText(key.date);
    }
    return false;
}

HoursBand read(const store::Table& table, const Source& source)
{
    return {table.time(source.start), table.time(source.end, true), stored::flag(table, source.closed), table.text(source.remark)};
}

void sortByStart(HoursBands& bands)
{
    std::stable_sort(bands.begin(), bands.end(), [](const HoursBand& a, const HoursBand& b) { return a.start < b.start; });
}

} // namespace

HoursBands listBands(const store::Database& db, const HoursKey& key)
{
    HoursBands bands;
    std::optional<std::vector<store::Value>> values = keyValues(key);
    if (!values)
        return bands;
    const Source& source = sourceOf(key.kind);
    store::Table table = db.table(source.table, source.index);
    values->push_back(QStringLiteral("00:00"));
    for (table.seek(">=", *values); !table.eof() && holds(table, key); table.moveNext())
        bands.push_back(read(table, source));
    return bands;
}

std::optional<int> firstDailyDay(const store::Database& db, const QString& target, int dailyCycle)
{
    store::Table table = db.table("日別", "Key_日別");
    table.seek(">=", {target, dailyCycle, 0, QStringLiteral("00:00")});
    if (table.eof() || table.text("日別_番号") != target || table.integer("日別_区分") != dailyCycle)
        return std::nullopt;
    return table.integer("日別_日付");
}

void saveBand(const store::Database& db, const HoursKey& key, const HoursBand& band)
{
    std::optional<std::vector<store::Value>> values = keyValues(key);
    if (!values)
        throw store::StoreError(QStringLiteral("営業時間の登録先（対象・日付）が決まっていません。"));
    const Source& source = sourceOf(key.kind);
    store::Table table = db.table(source.table, source.index);
    const QString start = stored::timeText(band.start);
    values->push_back(start);
    table.seekForWrite(*values);
    switch (key.kind) {
    case HoursKind::Regular: table.set("営業_番号", key.target); break;
    case HoursKind::Daily:
        table.set("日別_番号", key.target);
        table.set("日別_区分", key.dailyCycle);
        table.set("日別_日付", key.day);
        break;
    case HoursKind::Specific:
        table.set("特定_番号", key.target);
        table.set("特定_日付", key.date);
        break;
    }
    table.set(source.start, start);
    table.set(source.end, stored::timeText(band.end));
    table.set(source.closed, band.closed ? "1" : "0");
    table.set(source.remark, band.remark);
    table.update();
}

bool removeBand(const store::Database& db, const HoursKey& key, const input::TimeOfDay& start)
{
    std::optional<std::vector<store::Value>> values = keyValues(key);
    if (!values)
        return false;
    const Source& source = sourceOf(key.kind);
    values->push_back(stored::timeText(start));
    return db.table(source.table, source.index).findAndRemove(*values);
}

std::vector<store::Range> bandsRanges(const QDate& first, const QDate& last)
{
    return {{kRegular.table, kRegular.index, {"", ""}, {}},
            {kDaily.table, kDaily.index, {"", "", "", ""}, {}},
            {kSpecific.table, "Idx_日付", {first}, {last}}};
}

std::map<QString, HoursBands> regularBands(const store::Database& db, const QSet<QString>& targets)
{
    std::map<QString, HoursBands> bands;
    store::Table table = db.table(kRegular.table, kRegular.index);
    for (table.seek(">=", {"", ""}); !table.eof(); table.moveNext()) {
        const QString target = table.text("営業_番号");
        if (targets.contains(target))
            bands[target].push_back(read(table, kRegular));
    }
    return bands;
}

std::map<std::pair<QString, int>, HoursBands> dailyBands(const store::Database& db, int dailyCycle, const QSet<QString>& targets)
{
    std::map<std::pair<QString, int>, HoursBands> bands;
    store::Table table = db.table(kDaily.table, kDaily.index);
    for (table.seek(">=", {"", "", "", ""}); !table.eof(); table.moveNext()) {
        const QString target = table.text("日別_番号");
        if (targets.contains(target) && table.integer("日別_区分") == dailyCycle)
            bands[{target, table.integer("日別_日付")}].push_back(read(table, kDaily));
    }
    return bands;
}

std::map<std::pair<QString, QDate>, HoursBands> specificBands(const store::Database& db, const QDate& first, const QDate& last,
                                                              const QSet<QString>& targets)
{
    std::map<std::pair<QString, QDate>, HoursBands> bands;
    store::Table table = db.table(kSpecific.table, "Idx_日付");
    const QString lastText = input::dateText(last);
    for (table.seek(">=", {first}); !table.eof(); table.moveNext()) {
        const QString text = table.text("特定_日付");
        if (text > lastText)
            break;
        const QString target = table.text("特定_番号");
        if (!targets.contains(target))
            continue;
        if (const std::optional<QDate> date = input::storedDate(text))
            bands[{target, *date}].push_back(read(table, kSpecific));
    }
    // The date index gives a day's bands in the order they were stored; a grid wants time order.
    for (auto& [key, list] : bands)
        sortByStart(list);
    return bands;
}

std::vector<QDate> specificDates(const store::Database& db, const QString& target, const QDate& after)
{
    std::vector<QDate> dates;
    store::Table table = db.table(kSpecific.table, kSpecific.index);
    QString lastDate = input::dateText(after);
    for (table.seek(">=", {target, after, "00:00"}); !table.eof() && table.text("特定_番号") == target; table.moveNext()) {
        const QString date = table.text("特定_日付");
        if (date == lastDate)
            continue;
        lastDate = date;
        if (const std::optional<QDate> read = input::storedDate(date))
            dates.push_back(*read);
    }
    return dates;
}

int removeSpecificBandsBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    return stored::removeDatedBetween(db, kSpecific.table, "Idx_日付", from, through, progress);
}

} // namespace records
