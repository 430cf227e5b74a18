// The table cursor against hand-written SQLite statements doing the same work on the generated
// database: look-ups, the scan of one target's day, a ranged deletion and upserts.

#include "bench.h"

#include "store/database.h"

#include <QRandomGenerator>
#include <sqlite3.h>

namespace bench {

namespace {

struct Key {
    QString target, date, start, reserver;
};

class Raw {
public:
    explicit Raw(const QString& path) { sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr); }
    ~Raw()
    {
        for (auto* stmt : statements_)
            sqlite3_finalize(stmt);
        sqlite3_close(db_);
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
        statements_.push_back(stmt);
        return stmt;
    }
    void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
    sqlite3* db() const { return db_; }

private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

void bindText(sqlite3_stmt* stmt, int i, const QString& text)
{
    sqlite3_bind_text16(stmt, i, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* stmt, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i));
}

std::vector<Key> sampleKeys(const QString& path, int count)
{
    Raw raw(path);
    sqlite3_stmt* stmt = raw.prepare("SELECT 予約_設定番号, 予約_年月日, 予約_開始時間, 予約_予約者NO FROM 予約 WHERE rowid = ?");
    sqlite3_stmt* max = raw.prepare("SELECT max(rowid) FROM 予約");
    sqlite3_step(max);
    const qint64 rows = sqlite3_column_int64(max, 0);
    QRandomGenerator random(7);
    std::vector<Key> keys;
    while (int(keys.size()) < count) {
        sqlite3_bind_int64(stmt, 1, 1 + qint64(random.bounded(quint64(rows))));
        if (sqlite3_step(stmt) == SQLITE_ROW)
            keys.push_back({columnText(stmt, 0), columnText(stmt, 1), columnText(stmt, 2), columnText(stmt, 3)});
        sqlite3_reset(stmt);
    }
    return keys;
}

const QStringList kFields = {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_予約者NO", "予約_重複", "予約_終了時間",
                             "予約_受付日", "予約_略称", "予約_予約者名", "予約_予約者名カナ", "予約_備考"};

} // namespace

int storeBench()
{
    const QString path = scratchCopy("store.mdb");
    const std::vector<Key> keys = sampleKeys(path, 2000);
    const double n = double(keys.size());
    constexpr int kRuns = 5;

    // seek_eq: find one reservation by its whole key and read two fields.
    {
        store::Database db = store::Database::open(path);
        store::Table table = db.table("予約");
        table.setIndex("Key_予約");
        QString sink;
        const double ours = medianMicros(kRuns, [&] {
            for (const Key& k : keys) {
                table.seek("=", {k.target, k.date, k.start, k.reserver});
                sink = table.text("予約_終了時間") + table.text("予約_予約者名");
            }
        });
        table.close();
        db.close();
        Raw raw(path);
        sqlite3_stmt* stmt = raw.prepare("SELECT * FROM 予約 WHERE 予約_設定番号=? AND 予約_年月日=? AND 予約_開始時間=? AND 予約_予約者NO=? "
                                         "ORDER BY 予約_設定番号, 予約_年月日, 予約_開始時間, 予約_予約者NO LIMIT 1");
        const double direct = medianMicros(kRuns, [&] {
            for (const Key& k : keys) {
                bindText(stmt, 1, k.target);
                bindText(stmt, 2, k.date);
                bindText(stmt, 3, k.start);
                bindText(stmt, 4, k.reserver);
                if (sqlite3_step(stmt) == SQLITE_ROW)
                    sink = columnText(stmt, 5) + columnText(stmt, 8);
                sqlite3_reset(stmt);
            }
        });
        printRatio("seek_eq", ours / n, direct / n);
    }

    // scan_day: every reservation of one target on one day, in time order.
    {
        store::Database db = store::Database::open(path);
        store::Table table = db.table("予約");
        table.setIndex("Key_予約");
        QString sink;
        const double ours = medianMicros(kRuns, [&] {
            for (const Key& k : keys) {
                for (table.seek(">=", {k.target, k.date, "00:00", ""}); !table.eof(); table.moveNext()) {
                    if (table.text("予約_設定番号") != k.target || table.text("予約_年月日") != k.date)
                        break;
                    sink = table.text("予約_開始時間") + table.text("予約_終了時間") + table.text("予約_予約者名");
                }
            }
        });
        table.close();
        db.close();
        Raw raw(path);
        sqlite3_stmt* stmt = raw.prepare("SELECT * FROM 予約 WHERE 予約_設定番号=? AND 予約_年月日=? ORDER BY 予約_開始時間, 予約_予約者NO");
        const double direct = medianMicros(kRuns, [&] {
            for (const Key& k : keys) {
                bindText(stmt, 1, k.target);
                bindText(stmt, 2, k.date);
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    sink = columnText(stmt, 2) + columnText(stmt, 5) + columnText(stmt, 8);
                sqlite3_reset(stmt);
            }
        });
        printRatio("scan_day", ours / n, direct / n);
    }

    // delete_range: one target's reservations up to a date (about 10,000 rows) inside a scan,
    // in one transaction that is rolled back afterwards so every run starts alike.
    {
        const QString target = "00050";
        const QString cutOff = "2026/12/31";
        int deleted = 0;
        const double ours = medianMicros(kRuns, [&] {
            store::Database db = store::Database::open(path);
            store::Transaction transaction(db);
            store::Table table = db.table("予約");
            table.setIndex("Idx_期限");
            deleted = 0;
            for (table.seek(">=", {target, ""}); !table.eof(); table.moveNext()) {
                if (table.text("予約_設定番号") != target || table.text("予約_年月日") > cutOff)
                    break;
                table.remove();
                ++deleted;
            }
        });
        Raw raw(path);
        sqlite3_stmt* stmt = raw.prepare("DELETE FROM 予約 WHERE 予約_設定番号=? AND 予約_年月日<=?");
        const double direct = medianMicros(kRuns, [&] {
            raw.exec("BEGIN");
            bindText(stmt, 1, target);
            bindText(stmt, 2, cutOff);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
            raw.exec("ROLLBACK");
        });
        std::printf("# delete_range deletes %d rows per run\n", deleted);
        printRatio("delete_range", ours, direct);
    }

    // upsert: seek "=", then add or edit every field and store; half the keys exist.
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
        const double ours = medianMicros(kRuns, [&] {
            store::Database db = store::Database::open(path);
            store::Transaction transaction(db);
            store::Table table = db.table("予約");
            table.setIndex("Key_予約");
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
        Raw raw(path);
        sqlite3_stmt* find = raw.prepare("SELECT rowid FROM 予約 WHERE 予約_設定番号=? AND 予約_年月日=? AND 予約_開始時間=? AND 予約_予約者NO=? LIMIT 1");
        sqlite3_stmt* insert = raw.prepare("INSERT INTO 予約 VALUES (?,?,?,?,?,?,?,?,?,?,?)");
        sqlite3_stmt* change = raw.prepare("UPDATE 予約 SET 予約_設定番号=?,予約_年月日=?,予約_開始時間=?,予約_予約者NO=?,予約_重複=?,"
                                           "予約_終了時間=?,予約_受付日=?,予約_略称=?,予約_予約者名=?,予約_予約者名カナ=?,予約_備考=? WHERE rowid=?");
        const double direct = medianMicros(kRuns, [&] {
            raw.exec("BEGIN");
            for (const Key& k : mixed) {
                bindText(find, 1, k.target);
                bindText(find, 2, k.date);
                bindText(find, 3, k.start);
                bindText(find, 4, k.reserver);
                const bool found = sqlite3_step(find) == SQLITE_ROW;
                const qint64 rowid = found ? sqlite3_column_int64(find, 0) : 0;
                sqlite3_reset(find);
                sqlite3_stmt* write = found ? change : insert;
                const QStringList v = values(k);
                for (int f = 0; f < v.size(); ++f)
                    bindText(write, f + 1, v[f]);
                if (found)
                    sqlite3_bind_int64(write, 12, rowid);
                sqlite3_step(write);
                sqlite3_reset(write);
            }
            raw.exec("ROLLBACK");
        });
        printRatio("upsert", ours / n, direct / n);
    }
    return 0;
}

} // namespace bench
