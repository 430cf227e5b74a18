// The bulk deletions and the rebuild on the generated database, driven through the real forms and
// the reorganisation module, against the same work done with plain SQL statements in one
// transaction: (a) the bulk deletion of two thirds of the reservations, (b) the period-end purge
// at a cut-off that removes about half of every dated table, (c) the whole reorganisation from a
// backup copy of the same size. Every run starts from a fresh copy of the generated database.

#include "bench.h"

#include "app/startup.h"
#include "base/clock.h"
#include "maintenance/period_end_form.h"
#include "maintenance/reorganise.h"
#include "reservations/bulk_delete_form.h"
#include "store/database.h"
#include "store/file_tools.h"
#include "store/schema.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <sqlite3.h>

namespace bench {

namespace {

constexpr int kRuns = 3;
const QStringList kTables = {"カレンダー", "マスタ", "営業", "基本", "設定", "特定日", "日別", "発番", "予約", "予約者"};

// The folder the program works in: the copy is its Kelvora.mdb.
QString workFolder()
{
    const QDir data = QFileInfo(generatedDatabase()).dir();
    data.mkpath("maintenance");
    return data.filePath("maintenance");
}

void freshMainFile()
{
    scratchCopy("maintenance/" + store::kMainFile);
}

// A fresh copy and a desk opened on it: a desk never outlives the file it opened, since a file
// replaced under an open desk is refused.
std::function<void()> freshDesk(std::optional<Desk>& desk)
{
    return [&desk] {
        desk.reset();
        freshMainFile();
        desk = workingDesk();
    };
}

// A plain SQLite connection on the main file, set up for durability as the program's own.
class Raw {
public:
    Raw()
    {
        sqlite3_open_v2(store::kMainFile.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        exec("PRAGMA synchronous = FULL");
    }
    ~Raw() { sqlite3_close(db_); }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;
    void exec(const QString& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::fprintf(stderr, "sqlite: %s\n", error);
            std::exit(1);
        }
    }
    // Runs one statement with text parameters.
    void run(const char* sql, const QStringList& values)
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
        for (int i = 0; i < values.size(); ++i)
            sqlite3_bind_text16(stmt, i + 1, values[i].utf16(), int(values[i].size() * 2), SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db_));
            std::exit(1);
        }
        sqlite3_finalize(stmt);
    }
    qint64 count(const QString& table)
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db_, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table).toUtf8().constData(), -1, &stmt, nullptr);
        sqlite3_step(stmt);
        const qint64 n = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return n;
    }

private:
    sqlite3* db_ = nullptr;
};

QString counts(const QStringList& tables)
{
    Raw raw;
    QStringList parts;
    for (const QString& table : tables)
        parts << QStringLiteral("%1=%2").arg(table).arg(raw.count(table));
    return parts.join(u' ');
}

void note(const char* name, const char* who, const QString& what)
{
    std::printf("# %s %s: %s\n", name, who, what.toUtf8().constData());
}

// (a) Every target marked, 12 months before 2026/12/31: the reservations of 2024 and 2025 go.
void bulkDeletion()
{
    std::optional<Desk> desk;
    const double ours = medianMicros(
        kRuns,
        [&] {
            auto form = std::make_unique<予約削除>();
            form->takeDesk(*desk);
            form->Form_Load();
            form->削除_Click();
        },
        freshDesk(desk));
    desk.reset();
    note("bulk_delete", "ours", counts({"予約"}));
    const double raw = medianMicros(
        kRuns,
        [] {
            Raw raw;
            raw.exec("BEGIN");
            for (int target = 1; target <= 100; ++target) {
                raw.run("DELETE FROM 予約 WHERE 予約_設定番号 = ? AND 予約_年月日 <= ?",
                        {QString::number(target).rightJustified(5, u'0'), "2025/12/31"});
            }
            raw.exec("COMMIT");
        },
        freshMainFile);
    note("bulk_delete", "raw", counts({"予約"}));
    printRatio("bulk_delete", ours, raw, "ms");
}

// (b) Cut-off 2025/06/30, about the middle of the three years of data.
void periodEndPurge()
{
    std::optional<Desk> desk;
    const QStringList dated = {"カレンダー", "予約", "予約者", "予約者検索", "特定日"};
    const double ours = medianMicros(
        kRuns,
        [&] {
            auto form = std::make_unique<期末処理>();
            form->takeDesk(*desk);
            form->Form_Load();
            form->findChild<QLineEdit*>("取消日")->setText("2025/06/30");
            form->確定_Click();
        },
        freshDesk(desk));
    desk.reset();
    note("period_end", "ours", counts(dated));
    const double raw = medianMicros(
        kRuns,
        [] {
            Raw raw;
            raw.exec("BEGIN");
            const QStringList range = {"1990/01/01", "2025/06/30"};
            raw.run("DELETE FROM カレンダー WHERE カレ_年月日 >= ? AND カレ_年月日 <= ?", range);
            raw.run("DELETE FROM 予約 WHERE 予約_年月日 >= ? AND 予約_年月日 <= ?", range);
            raw.run("DELETE FROM 予約者検索 WHERE \"検索_予約者NO\" IN (SELECT \"予約者_予約者NO\" FROM 予約者 "
                    "WHERE 予約者_最新予約日 >= ? AND 予約者_最新予約日 <= ?)",
                    range);
            raw.run("DELETE FROM 予約者 WHERE 予約者_最新予約日 >= ? AND 予約者_最新予約日 <= ?", range);
            raw.run("DELETE FROM 特定日 WHERE 特定_日付 >= ? AND 特定_日付 <= ?", range);
            raw.exec("COMMIT");
        },
        freshMainFile);
    note("period_end", "raw", counts(dated));
    printRatio("period_end", ours, raw, "ms");
}

// (c) Every table rebuilt from a backup copy of the whole generated database.
void reorganisation()
{
    const auto prepare = [] {
        freshMainFile();
        store::backupDatabaseFile(store::kMainFile, store::kBackupFile);
    };
    const double ours = medianMicros(
        kRuns, [] { DB再編成::ReorganiseDatabase(store::Database::open(store::kMainFile), store::kBackupFile); }, prepare);
    note("reorganise", "ours", counts(kTables));
    const double raw = medianMicros(
        kRuns,
        [] {
            Raw raw;
            raw.exec(QStringLiteral("ATTACH DATABASE '%1' AS copy").arg(store::kBackupFile));
            raw.exec("BEGIN");
            for (const QString& table : kTables) {
                const store::schema::IndexDef* key = nullptr;
                for (const store::schema::IndexDef& index : store::schema::indexes()) {
                    if (index.table == table && !key)
                        key = &index;
                }
                QStringList order;
                for (const QString& field : key->keys)
                    order << store::schema::quoted(field);
                const QString name = store::schema::quoted(table);
                raw.exec(QStringLiteral("DELETE FROM main.%1").arg(name));
                raw.exec(QStringLiteral("INSERT INTO main.%1 SELECT * FROM copy.%1 ORDER BY %2").arg(name, order.join(u',')));
            }
            raw.exec("COMMIT");
        },
        prepare);
    note("reorganise", "raw", counts(kTables));
    printRatio("reorganise", ours, raw, "ms");
}

} // namespace

int maintenanceBench()
{
    // The copies are made in the data folder, found by an absolute path once the program works
    // in its own folder.
    qputenv("KELVORA_BENCH_DATA", QFileInfo(generatedDatabase()).absolutePath().toLocal8Bit());
    const QString folder = workFolder();
    freshMainFile();
    QDir::setCurrent(folder);
    appclock::setFixedNow(QDateTime(QDate(2026, 12, 31), QTime(12, 0)));
    msg::setResponder([](const msg::Shown&) { return true; }); // Yes to every question

    bulkDeletion();
    periodEndPurge();
    reorganisation();

    QFile::remove(store::kMainFile);
    QFile::remove(store::kBackupFile);
    return 0;
}

} // namespace bench
