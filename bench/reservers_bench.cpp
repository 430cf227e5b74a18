// The reserver card's look-ups on 100,000 reservers: by a whole phone number as the desk types it,
// by its last four digits, by the first letters of the kana and of the name, and by number. Each
// figure is the median of single look-ups of different reservers, records read included. Then the
// upgrade that makes the keys of those reservers in a file of the version before them.

#include "bench.h"

#include "records/reservers.h"
#include "rules/reserver_lookup.h"
#include "store/database.h"
#include "store/file_tools.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace bench {

namespace {

constexpr int kReservers = 100000;
constexpr int kRuns = 51;

const QString kSyllables = QString::fromUtf8("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワ");
const QString kHalfWidth = QString::fromUtf8("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜ");
const QStringList kFamilies =
    QString::fromUtf8("佐藤 鈴木 高橋 田中 伊藤 渡辺 山本 中村 小林 加藤 吉田 山田 佐々木 山口 松本 井上 木村 林 斎藤 清水").split(u' ');
const QStringList kGivens =
    QString::fromUtf8("花子 太郎 一郎 美咲 健太 陽子 翔 結衣 大輔 真由美 拓也 愛 誠 恵 剛 由美 亮 舞 修 彩").split(u' ');

struct Made {
    QString number;
    QString phone; // as stored: "0xx-xxxx-xxxx"
    QString kana;
    QString name;
};

Made madeUp(int n, QRandomGenerator& random)
{
    QString kana;
    for (int i = 0; i < 6; ++i)
        kana += kSyllables[random.bounded(int(kSyllables.size()))];
    const QString digits = QString::number(random.bounded(100000000, 999999999));
    return {QStringLiteral("-%1").arg(n, 6, 10, QChar(u'0')),
            QStringLiteral("0%1-%2-%3").arg(digits.left(1), digits.mid(1, 4), digits.mid(5)), kana,
            kFamilies[n % kFamilies.size()] + kGivens[(n / kFamilies.size()) % kGivens.size()] + QString::number(n)};
}

// Stored kana in the forms desks type it: full-width katakana, hiragana, half-width katakana.
QString asTyped(const QString& kana, int n)
{
    QString typed = kana;
    for (QChar& c : typed) {
        if (n % 3 == 1)
            c = QChar(c.unicode() - 0x60); // hiragana
        else if (n % 3 == 2)
            c = kHalfWidth[kSyllables.indexOf(c)];
    }
    return typed;
}

// Digits and hyphens as typed in full-width mode.
QString fullWidth(const QString& text)
{
    QString wide = text;
    for (QChar& c : wide)
        c = QChar(c.unicode() + 0xFEE0);
    return wide;
}

std::vector<Made> fill(const store::Database& db)
{
    QRandomGenerator random(19);
    std::vector<Made> made;
    made.reserve(kReservers);
    store::Transaction transaction(db);
    for (int n = 1; n <= kReservers; ++n) {
        made.push_back(madeUp(n, random));
        const Made& m = made.back();
        records::Reserver r;
        r.number = m.number;
        r.kana = asTyped(m.kana, n);
        r.name = m.name;
        r.phone = m.phone;
        r.mobile = n % 2 ? QStringLiteral("090-%1-%2").arg(n % 10000, 4, 10, QChar(u'0')).arg(n / 10, 4, 10, QChar(u'0')) : QString();
        records::saveReserver(db, r);
    }
    transaction.commit();
    return made;
}

// The look-ups of the reserver card, each a median of single look-ups of `made` reservers; a
// reserver looked for and not listed is counted in `missed`.
void lookUps(const store::Database& db, const std::vector<Made>& made, const QByteArray& suffix, int& missed)
{
    const auto measure = [&](const QByteArray& name, const std::function<QString(const Made&)>& typed) {
        QRandomGenerator pick(7);
        const Made* who = nullptr;
        qsizetype found = 0;
        const double micros = medianMicros(
            kRuns,
            [&] {
                const reserver_lookup::Found f = reserver_lookup::findReservers(db, typed(*who));
                found += qsizetype(f.reservers.size());
                missed += std::none_of(f.reservers.begin(), f.reservers.end(),
                                       [&](const records::Reserver& r) { return r.number == who->number; })
                              ? 1
                              : 0;
            },
            [&] { who = &made[size_t(pick.bounded(kReservers))]; });
        std::printf("# %s: %.1f reservers listed per look-up\n", name.constData(), double(found) / kRuns);
        printMillis(name + suffix, micros);
    };
    measure("lookup_phone", [](const Made& m) { return fullWidth(m.phone); });
    measure("lookup_phone_last4", [](const Made& m) { return m.phone.right(4); });
    // Two letters in hiragana: about 60 reservers each, every one of them read.
    measure("lookup_kana", [](const Made& m) { return asTyped(m.kana.left(2), 1); });
    measure("lookup_name", [](const Made& m) { return m.name; });
    measure("lookup_number", [](const Made& m) { return m.number; });
}

} // namespace

int reserversBench(const StoreOptions& options)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath("reservers.mdb");
    store::createDatabaseFile(path);
    store::Database db = store::Database::open(path);
    const auto started = std::chrono::steady_clock::now();
    const std::vector<Made> made = fill(db);
    std::printf("# %d reservers saved with their keys in %.1f s\n", kReservers,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    db.close();

    int missed = 0;
    for (const BenchDatabase& where : benchDatabases(path, options)) {
        db = store::Database::open(where.name);
        lookUps(db, made, where.suffix, missed);
    }
    std::printf("# reservers looked for and not listed: %d\n", missed);

    // upgrade_keys: the same file as the version before the keys made it, brought up to this one
    // (what a desk waits for the first time it opens such a file).
    db.close();
    const double upgrade = medianMicros(
        3, [&] { store::upgradeDatabaseFile(path); },
        [&] {
            sqlite3* raw = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &raw);
            // What versions 3 and 4 added goes too, so that the file is as version 2 left it.
            sqlite3_exec(raw,
                         "DROP TABLE 予約者検索; DROP INDEX \"予約.Idx_予約者NO\"; DROP TABLE 祝日; DROP TABLE 定期予約; "
                         "DROP TABLE 定期日程; DROP TABLE キャンセル待ち; DROP TABLE 予約者変更; "
                         "DROP TRIGGER \"予約者.Trg_追加\"; DROP TRIGGER \"予約者.Trg_更新\"; DROP TRIGGER \"予約者.Trg_削除\"; "
                         "PRAGMA user_version = 2",
                         nullptr, nullptr, nullptr);
            sqlite3_close(raw);
        });
    printMillis("upgrade_keys", upgrade);
    return missed == 0 ? 0 : 1;
}

} // namespace bench
