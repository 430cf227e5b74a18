#include "bench.h"

#include "store/file_tools.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

namespace bench {

namespace {

QString dataFolder()
{
    QString folder = qEnvironmentVariable("KELVORA_BENCH_DATA", QDir::current().filePath("bench-data"));
    QDir().mkpath(folder);
    return folder;
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

class Insert {
public:
    Insert(sqlite3* db, const char* sql) : db_(db) { check(sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr), db); }
    ~Insert() { sqlite3_finalize(stmt_); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;
    Insert& text(int i, const QByteArray& value)
    {
        sqlite3_bind_text(stmt_, i, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert& number(int i, int value)
    {
        sqlite3_bind_int(stmt_, i, value);
        return *this;
    }
    void run()
    {
        check(sqlite3_step(stmt_), db_);
        sqlite3_reset(stmt_);
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

QByteArray target(int n)
{
    return QByteArray::number(n).rightJustified(5, '0');
}

QByteArray reserver(int n)
{
    return "-" + QByteArray::number(n).rightJustified(6, '0');
}

QByteArray time(int minutes)
{
    return QByteArray::number(minutes / 60).rightJustified(2, '0') + ":" + QByteArray::number(minutes % 60).rightJustified(2, '0');
}

void generate(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QTextStream(stderr) << "generating " << path << " ...\n";
    store::createDatabaseFile(path);
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    check(sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; BEGIN", nullptr, nullptr, nullptr), db);
    QRandomGenerator random(20261208);
    constexpr int kTargets = 100;
    constexpr int kReservers = 50000;

    Insert targets(db, "INSERT INTO 設定 VALUES (?,?,?,'')");
    Insert basics(db, "INSERT INTO 基本 VALUES (?,'1',10,?,?,'')");
    Insert hours(db, "INSERT INTO 営業 VALUES (?,?,?,?,'')");
    targets.text(1, "00000").text(2, "共通基本情報").text(3, "共通基本情報").run();
    basics.text(1, "00000").text(2, "1").number(3, 2).run();
    hours.text(1, "00000").text(2, "08:00").text(3, "12:00").text(4, "0").run();
    hours.text(1, "00000").text(2, "12:00").text(3, "13:00").text(4, "1").run();
    hours.text(1, "00000").text(2, "13:00").text(3, "22:00").text(4, "0").run();
    for (int t = 1; t <= kTargets; ++t) {
        const QByteArray name = "対象" + QByteArray::number(t);
        targets.text(1, target(t)).text(2, name).text(3, name).run();
        basics.text(1, target(t)).text(2, t % 3 ? "1" : "0").number(3, t % 3 ? 3 : 0).run();
        if (t % 4 == 0) {
            hours.text(1, target(t)).text(2, "09:00").text(3, "18:00").text(4, "0").run();
            hours.text(1, target(t)).text(2, "18:00").text(3, "19:00").text(4, "1").run();
        }
    }
    Insert daily(db, "INSERT INTO 日別 VALUES (?,1,?,?,?,'0','')");
    daily.text(1, "00000").number(2, 7).text(3, "10:00").text(4, "17:00").run();
    for (int t = 5; t <= kTargets; t += 10)
        daily.text(1, target(t)).number(2, 2).text(3, "10:00").text(4, "16:00").run();

    const QDate first(2024, 1, 1);
    const QDate last(2026, 12, 31);
    Insert calendar(db, "INSERT INTO カレンダー VALUES (?,?,?,?)");
    Insert specific(db, "INSERT INTO 特定日 VALUES (?,?,?,?,'0','')");
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const QByteArray day = d.toString("yyyy/MM/dd").toUtf8();
        if (d.dayOfWeek() == 3)
            calendar.text(1, "00000").text(2, day).number(3, 1).text(4, "定休日").run();
        if (d.day() == 15) {
            for (int t = 1; t <= kTargets; t += 7)
                calendar.text(1, target(t)).text(2, day).number(3, d.dayOfWeek() == 3 ? 0 : 1).text(4, "個別").run();
        }
        if (d.day() == 1) {
            for (int t = 2; t <= kTargets; t += 9)
                specific.text(1, target(t)).text(2, day).text(3, "10:00").text(4, "15:00").run();
        }
    }

    // About 9 reservations per target and day: 1,000,000 in all.
    Insert reservation(db, "INSERT INTO 予約 VALUES (?,?,?,?,?,?,?,?,?,?,'')");
    std::vector<QByteArray> latest(kReservers + 1);
    std::vector<int> latestTarget(kReservers + 1);
    const int days = int(first.daysTo(last)) + 1;
    const long long wanted = 1000000;
    long long written = 0;
    int slot = 0;
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const QByteArray day = d.toString("yyyy/MM/dd").toUtf8();
        for (int t = 1; t <= kTargets; ++t) {
            const long long dueByNow = wanted * (long long)(first.daysTo(d) * kTargets + t) / (long long)(days * kTargets);
            for (int k = 0; written < dueByNow; ++k, ++written, ++slot) {
                const int who = 1 + int(random.bounded(kReservers));
                const int start = 8 * 60 + (k % 13) * 60 + (k / 13) * 10;
                const int length = 30 + 30 * int(random.bounded(3));
                const QByteArray name = "予約者" + QByteArray::number(who);
                reservation.text(1, target(t))
                    .text(2, day)
                    .text(3, time(start))
                    .text(4, reserver(who))
                    .text(5, t % 3 ? "1" : "0")
                    .text(6, time(std::min(start + length, 23 * 60 + 50)))
                    .text(7, day)
                    .text(8, "対象" + QByteArray::number(t))
                    .text(9, name)
                    .text(10, "ヨヤクシャ" + QByteArray::number(who))
                    .run();
                if (day > latest[size_t(who)]) {
                    latest[size_t(who)] = day;
                    latestTarget[size_t(who)] = t;
                }
            }
        }
    }
    Insert people(db, "INSERT INTO 予約者 VALUES (?,?,?,?,'東京都','03-0000-0000','',?,?,?,'')");
    for (int who = 1; who <= kReservers; ++who) {
        people.text(1, reserver(who))
            .text(2, "ヨヤクシャ" + QByteArray::number(who))
            .text(3, "予約者" + QByteArray::number(who))
            .text(4, latest[size_t(who)].isEmpty() ? QByteArray() : target(latestTarget[size_t(who)]))
            .text(5, "1980/01/01")
            .number(6, 1 + who % 2)
            .text(7, latest[size_t(who)])
            .run();
    }
    // As the benchmarks have always had them: without look-up keys, and not left for the program
    // to make at its first open, which would be timed with whatever opens the file first.
    check(sqlite3_exec(db, "DELETE FROM 予約者変更", nullptr, nullptr, nullptr), db);
    Insert counter(db, "INSERT INTO 発番 VALUES ('00000',?,'','')");
    counter.text(1, QByteArray::number(kReservers).rightJustified(6, '0')).run();
    check(sqlite3_exec(db, "COMMIT; ANALYZE", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    QTextStream(stderr) << "generated " << written << " reservations in " << timer.elapsed() / 1000 << " s\n";
}

} // namespace

QString generatedDatabase()
{
    QString path = QDir(dataFolder()).filePath("generated.mdb");
    if (!QFile::exists(path)) {
        const QString scratch = path + ".new";
        QFile::remove(scratch);
        generate(scratch);
        QFile::rename(scratch, path);
    }
    return path;
}

QString scratchCopy(const QString& name)
{
    QString copy = QDir(dataFolder()).filePath(name);
    QFile::remove(copy);
    QFile::copy(generatedDatabase(), copy);
    return copy;
}

double medianMicros(int runs, const std::function<void()>& work, const std::function<void()>& prepare)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void printRatio(const QByteArray& name, double oursUs, double rawUs, const char* unit)
{
    std::printf("%s ratio=%.2f ours_%s=%.1f raw_%s=%.1f\n", name.constData(), oursUs / rawUs, unit,
                std::strcmp(unit, "ms") == 0 ? oursUs / 1000 : oursUs, unit, std::strcmp(unit, "ms") == 0 ? rawUs / 1000 : rawUs);
    std::fflush(stdout);
}

void printMillis(const QByteArray& name, double micros)
{
    std::printf("%s ms=%.2f\n", name.constData(), micros / 1000);
    std::fflush(stdout);
}

void printMicros(const QByteArray& name, double micros)
{
    std::printf("%s us=%.1f\n", name.constData(), micros);
    std::fflush(stdout);
}

} // namespace bench
