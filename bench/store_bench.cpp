// The table cursor against hand-written statements doing the same work on the generated database
// (SQLite's own API on the file, libpq on a server): look-ups, the scan of one target's day, a
// ranged deletion and upserts.

#include "bench.h"
#include "raw_database.h"

#include "store/database.h"

#include <QRandomGenerator>
#include <functional>

namespace bench {

namespace {

constexpr int kRuns = 5;

struct Key {
    QString target, date, start, reserver;
};

void bindKey(RawQuery& query, const Key& k)
{
    query.bind(1, k.target);
    query.bind(2, k.date);
    query.bind(3, k.start);
    query.bind(4, k.reserver);
}

std::vector<Key> sampleKeys(const QString& path, int count)
{
    const auto raw = RawDatabase::open(path);
    const auto stmt = raw->prepare("SELECT 予約_設定番号, 予約_年月日, 予約_開始時間, \"予約_予約者NO\" FROM 予約 WHERE rowid = $1");
    const auto max = raw->prepare("SELECT max(rowid) FROM 予約");
    max->step();
    const qint64 rows = max->text(0).toLongLong();
    QRandomGenerator random(7);
    std::vector<Key> keys;
    while (int(keys.size()) < count) {
        stmt->bind(1, QString::number(1 + qint64(random.bounded(quint64(rows)))));
        if (stmt->step())
            keys.push_back({stmt->text(0), stmt->text(1), stmt->text(2), stmt->text(3)});
        stmt->reset();
    }
    return keys;
}

const QStringList kFields = {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_予約者NO",     "予約_重複", "予約_終了時間",
                             "予約_受付日",   "予約_略称",   "予約_予約者名", "予約_予約者名カナ", "予約_備考"};
constexpr char kColumns[] = "予約_設定番号, 予約_年月日, 予約_開始時間, \"予約_予約者NO\", 予約_重複, 予約_終了時間, 予約_受付日, "
                            "予約_略称, 予約_予約者名, 予約_予約者名カナ, 予約_備考";

// Times `work` on a connection opened once, outside the timing, as the running program holds its
// own; the raw side connects once too.
double oursMicros(const BenchDatabase& where, const std::function<void(const store::Database&)>& work)
{
    const store::Database db = store::Database::open(where.name);
    return medianMicros(kRuns, [&] { work(db); });
}

// seek_eq: find one reservation by its whole key and read two fields.
void seekEqual(const BenchDatabase& where, const std::vector<Key>& keys)
{
    QString sink;
    const double ours = oursMicros(where, [&](const store::Database& db) {
        store::Table table = db.table("予約", "Key_予約");
        for (const Key& k : keys) {
            table.seek("=", {k.target, k.date, k.start, k.reserver});
            sink = table.text("予約_終了時間") + table.text("予約_予約者名");
        }
    });
    const auto raw = RawDatabase::open(where.name);
    const auto stmt =
        raw->prepare(QByteArray("SELECT ")
                         .append(kColumns)
                         .append(" FROM 予約 WHERE 予約_設定番号=$1 AND 予約_年月日=$2 AND 予約_開始時間=$3 AND \"予約_予約者NO\"=$4 "
                                 "ORDER BY 予約_設定番号, 予約_年月日, 予約_開始時間, \"予約_予約者NO\", rowid LIMIT 1")
                         .constData());
    const double direct = medianMicros(kRuns, [&] {
        for (const Key& k : keys) {
            bindKey(*stmt, k);
            if (stmt->step())
                sink = stmt->text(5) + stmt->text(8);
            stmt->reset();
        }
    });
    const double n = double(keys.size());
    printRatio("seek_eq" + where.suffix, ours / n, direct / n);
}

// scan_day: every reservation of one target on one day, in time order.
void scanDay(const BenchDatabase& where, const std::vector<Key>& keys)
{
    QString sink;
    const double ours = oursMicros(where, [&](const store::Database& db) {
        store::Table table = db.table("予約", "Key_予約");
        for (const Key& k : keys) {
            for (table.seek(">=", {k.target, k.date, "00:00", ""}); !table.eof(); table.moveNext()) {
                if (table.text("予約_設定番号") != k.target || table.text("予約_年月日") != k.date)
                    break;
                sink = table.text("予約_開始時間") + table.text("予約_終了時間") + table.text("予約_予約者名");
            }
        }
    });
    const auto raw = RawDatabase::open(where.name);
    const auto stmt =
        raw->prepare(QByteArray("SELECT ")
                         .append(kColumns)
                         .append(" FROM 予約 WHERE 予約_設定番号=$1 AND 予約_年月日=$2 ORDER BY 予約_開始時間, \"予約_予約者NO\", rowid")
                         .constData());
    const double direct = medianMicros(kRuns, [&] {
        for (const Key& k : keys) {
            stmt->bind(1, k.target);
            stmt->bind(2, k.date);
            while (stmt->step())
                sink = stmt->text(2) + stmt->text(5) + stmt->text(8);
            stmt->reset();
        }
    });
    const double n = double(keys.size());
    printRatio("scan_day" + where.suffix, ours / n, direct / n);
}

// delete_range: one target's reservations up to a date (about 10,000 rows) as the bulk deletion
// and the purge remove them, by a key range of an index, in one transaction that is rolled back
// afterwards so every run starts alike.
void deleteRange(const BenchDatabase& where)
{
    const QString target = "00050";
    const QString cutOff = "2026/12/31";
    int deleted = 0;
    const double ours = oursMicros(where, [&](const store::Database& db) {
        store::Transaction transaction(db);
        deleted = db.table("予約", "Idx_期限").removeRange({target, ""}, {target, cutOff});
    });
    const auto raw = RawDatabase::open(where.name);
    const auto stmt = raw->prepare("DELETE FROM 予約 WHERE 予約_設定番号=$1 AND 予約_年月日<=$2");
    const double direct = medianMicros(kRuns, [&] {
        raw->exec("BEGIN");
        stmt->bind(1, target);
        stmt->bind(2, cutOff);
        stmt->step();
        stmt->reset();
        raw->exec("ROLLBACK");
    });
    std::printf("# delete_range%s deletes %d rows per run\n", where.suffix.constData(), deleted);
    printRatio("delete_range" + where.suffix, ours, direct);
}

// upsert: seek "=", then add or edit every field and store; half the keys exist; each run is
// rolled back.
void upsert(const BenchDatabase& where, const std::vector<Key>& keys)
{
    std::vector<Key> mixed;
    for (size_t i = 0; i < keys.size(); ++i) {
        Key k = keys[i];
        if (i % 2)
            k.date = "2027/01/" + QString::number(1 + i % 28).rightJustified(2, '0');
        mixed.push_back(k);
    }
    const auto values = [](const Key& k) {
        return QStringList{k.target, k.date, k.start, k.reserver, "1", "23:00", "2026/12/08", "略称", "名前", "カナ", ""};
    };
    const double ours = oursMicros(where, [&](const store::Database& db) {
        store::Transaction transaction(db);
        store::Table table = db.table("予約", "Key_予約");
        for (const Key& k : mixed) {
            table.seek("=", {k.target, k.date, k.start, k.reserver});
            if (table.noMatch())
                table.addNew();
            else
                table.edit();
            const QStringList v = values(k);
            for (int f = 0; f < kFields.size(); ++f)
                table.set(kFields[f], v[f]);
            table.update();
        }
    });
    const auto raw = RawDatabase::open(where.name);
    const auto find = raw->prepare("SELECT rowid FROM 予約 WHERE 予約_設定番号=$1 AND 予約_年月日=$2 AND 予約_開始時間=$3 "
                                   "AND \"予約_予約者NO\"=$4 LIMIT 1");
    const auto insert =
        raw->prepare(QByteArray("INSERT INTO 予約 (").append(kColumns).append(") VALUES ($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11)").constData());
    const auto change = raw->prepare("UPDATE 予約 SET 予約_設定番号=$1,予約_年月日=$2,予約_開始時間=$3,\"予約_予約者NO\"=$4,予約_重複=$5,"
                                     "予約_終了時間=$6,予約_受付日=$7,予約_略称=$8,予約_予約者名=$9,予約_予約者名カナ=$10,予約_備考=$11 "
                                     "WHERE rowid=$12");
    const double direct = medianMicros(kRuns, [&] {
        raw->exec("BEGIN");
        for (const Key& k : mixed) {
            bindKey(*find, k);
            const bool found = find->step();
            const QString rowid = found ? find->text(0) : QString();
            find->reset();
            RawQuery& write = found ? *change : *insert;
            const QStringList v = values(k);
            for (int f = 0; f < v.size(); ++f)
                write.bind(f + 1, v[f]);
            if (found)
                write.bind(12, rowid);
            write.step();
            write.reset();
        }
        raw->exec("ROLLBACK");
    });
    const double n = double(keys.size());
    printRatio("upsert" + where.suffix, ours / n, direct / n);
}

} // namespace

int storeBench(const StoreOptions& options)
{
    const std::vector<BenchDatabase> databases = benchDatabases(scratchCopy("store.mdb"), options);
    const std::vector<Key> keys = sampleKeys(databases.front().name, 2000);
    for (const BenchDatabase& where : databases)
        seekEqual(where, keys);
    for (const BenchDatabase& where : databases)
        scanDay(where, keys);
    for (const BenchDatabase& where : databases)
        deleteRange(where);
    for (const BenchDatabase& where : databases)
        upsert(where, keys);
    return 0;
}

} // namespace bench
