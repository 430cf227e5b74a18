#include "store/file_tools.h"

#include "store/database.h"
#include "store/leftover_journal.h"
#include "store/raw_file.h"
#include "store/schema.h"
#include "store/schema_upgrade.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace store {

namespace {

// Pages the backup copies between two reports of how far it is: 4 MB of 4 KB pages.
constexpr int kPagesPerSlice = 1024;

} // namespace

using detail::RawFile;

void requireDatabaseFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw StoreError(QStringLiteral("「%1」はフォルダです。データベースファイルを指定してください。").arg(path));
    if (!info.isFile())
        throw StoreError(QStringLiteral("「%1」が見つかりません。").arg(shownDatabase(path)));
}

void createDatabaseFile(const QString& path)
{
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        throw StoreError(QStringLiteral("「%1」はすでにあります。上書きはしません。").arg(path));
    if (!target.absoluteDir().exists())
        throw StoreError(QStringLiteral("フォルダ「%1」がありません。").arg(target.absolutePath()));
    detail::settleLeftoverJournal(path);
    // Made under another name and renamed when complete, so `path` never holds half a database.
    const QString scratch = path + QStringLiteral(".part");
    detail::removeWithJournals(scratch);
    try {
        RawFile file(scratch, RawFile::Mode::Write, path);
        file.exec(QStringLiteral("BEGIN"));
        for (const QString& statement : schema::createStatements())
            file.exec(statement);
        file.exec(QStringLiteral("COMMIT"));
    } catch (const StoreError&) {
        detail::removeWithJournals(scratch);
        throw;
    }
    if (!QFile::rename(scratch, path)) {
        detail::removeWithJournals(scratch);
        throw StoreError(QStringLiteral("「%1」を作成できません。").arg(path));
    }
}

void createDatabase(const QString& name)
{
    if (isServerAddress(name))
        createServerTables(name);
    else
        createDatabaseFile(name);
}

int databaseFileVersion(const QString& path)
{
    requireDatabaseFile(path);
    RawFile file(path, RawFile::Mode::Read);
    return detail::storedVersion(file.get(), path);
}

int upgradeDatabaseFile(const QString& path)
{
    requireDatabaseFile(path);
    RawFile file(path, RawFile::Mode::Write);
    const int version = detail::upgradeSchema(file.get(), path);
    if (detail::storedVersion(file.get(), path) < schema::kCurrentVersion) {
        throw StoreError(QStringLiteral("「%1」には版 %2 のテーブルがそろっていないため、更新できません。"
                                        "「kelvora-db check %1」で確かめてください。")
                             .arg(path)
                             .arg(version));
    }
    return version;
}

void backupDatabaseFile(const QString& from, const QString& to, const Progress& progress)
{
    requireDatabaseFile(from);
    const QFileInfo target(to);
    if (target.isDir())
        throw StoreError(QStringLiteral("「%1」はフォルダです。コピー先のファイル名を指定してください。").arg(to));
    if (target.exists() && target.canonicalFilePath() == QFileInfo(from).canonicalFilePath())
        throw StoreError(QStringLiteral("「%1」と「%2」は同じファイルです。").arg(from, to));

    // One read transaction on the source for the whole copy: the copy is of one moment, and the
    // only lock left to wait for is the destination's.
    RawFile source(from, RawFile::Mode::Read);
    source.exec(QStringLiteral("BEGIN"));
    source.rows(QStringLiteral("SELECT count(*) FROM sqlite_master"));

    // The copy is written into the destination through SQLite, under its locks and journal, so a
    // program that has the destination open waits for it or makes the copy wait, and a crash in
    // the middle leaves the old destination. A link is written through, to the file it names.
    const bool existed = target.exists();
    try {
        RawFile copy(to, RawFile::Mode::Write);
        try {
            // Reading first rolls back a save of another program that was cut short.
            copy.rows(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        } catch (const StoreError& error) {
            if ((error.sqliteCode() & 0xff) == SQLITE_NOTADB)
                throw StoreError(QStringLiteral("「%1」はデータベースファイルではないため、上書きしません。").arg(to), error.sqliteCode());
            throw;
        }
        sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source.get(), "main");
        if (!backup)
            copy.fail(sqlite3_extended_errcode(copy.get()));
        // In slices of pages, to tell how far it is; the destination stays locked in between.
        int rc = SQLITE_OK;
        try {
            do {
                rc = sqlite3_backup_step(backup, kPagesPerSlice);
                if (rc == SQLITE_OK || rc == SQLITE_DONE) {
                    const int total = sqlite3_backup_pagecount(backup);
                    report(progress, total - sqlite3_backup_remaining(backup), total);
                }
            } while (rc == SQLITE_OK);
        } catch (const Cancelled&) {
            sqlite3_backup_finish(backup);
            throw;
        }
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            copy.fail(rc);
    } catch (const StoreError&) {
        if (const QString made = QFileInfo(to).canonicalFilePath(); !existed && !made.isEmpty())
            QFile::remove(made);
        throw;
    }
}

} // namespace store
