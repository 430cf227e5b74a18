#include "store/schema_upgrade.h"

#include "store/reserver_keys.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "store/stored_text.h"

#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace store::detail {

namespace {

[[noreturn]] void fail(sqlite3* db, int code, const QString& shownName)
{
    throw StoreError(failureMessage(code, shownName, QStringLiteral("版の更新"), QString::fromUtf8(sqlite3_errmsg(db))), code);
}

void exec(sqlite3* db, const QString& sql, const QString& shownName)
{
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc, shownName);
}

// Whether the file holds every table of its version: an empty file, or one of another program,
// is not a file of an earlier version and is left for the program to report as it is.
bool holdsTablesOf(sqlite3* db, int version, const QString& shownName)
{
    for (const schema::TableDef& table : schema::tables()) {
        if (table.since > version)
            continue;
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?", -1, &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(db, rc, shownName);
        const QByteArray name = table.name.toUtf8();
        sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        if (rc == SQLITE_DONE)
            return false;
        if (rc != SQLITE_ROW)
            fail(db, rc, shownName);
    }
    return true;
}

using StatementPtr = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

StatementPtr prepare(sqlite3* db, const QString& sql, const QString& shownName)
{
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc, shownName);
    return {stmt, &sqlite3_finalize};
}

// The look-up keys of every reserver, for a file that gets their table in this upgrade.
void fillReserverKeys(sqlite3* db, const QString& shownName)
{
    const StatementPtr read = prepare(db, reserver_keys::sourceQuery(), shownName);
    const StatementPtr write =
        prepare(db, QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(schema::quoted(reserver_keys::kTable)), shownName);
    const auto column = [&](int i) {
        return storedText(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), i)), sqlite3_column_bytes(read.get(), i));
    };
    int rc;
    while ((rc = sqlite3_step(read.get())) == SQLITE_ROW) {
        const QStringList keys = reserver_keys::keysOf(column(0), column(1), column(2), column(3));
        for (int i = 0; i < keys.size(); ++i) {
            const QByteArray key = keys[i].toUtf8();
            sqlite3_bind_text(write.get(), i + 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        }
        if (const int written = sqlite3_step(write.get()); written != SQLITE_DONE)
            fail(db, written, shownName);
        sqlite3_reset(write.get());
    }
    if (rc != SQLITE_DONE)
        fail(db, rc, shownName);
}

} // namespace

int storedVersion(sqlite3* db, const QString& shownName)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc, shownName);
    rc = sqlite3_step(stmt);
    const int version = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        fail(db, rc, shownName);
    if (version > schema::kCurrentVersion) {
        throw StoreError(QStringLiteral("データベース「%1」はこのプログラムより新しい版（%2）のものです。"
                                        "このプログラム（版 %3）では開けません。ファイルは変更していません。")
                             .arg(shownName)
                             .arg(version)
                             .arg(schema::kCurrentVersion));
    }
    return std::max(version, 1);
}

int upgradeSchema(sqlite3* db, const QString& shownName)
{
    const int before = storedVersion(db, shownName);
    if (before == schema::kCurrentVersion || !holdsTablesOf(db, before, shownName))
        return before;
    exec(db, QStringLiteral("BEGIN IMMEDIATE"), shownName);
    try {
        // Read again under the write lock: another program may have upgraded the file meanwhile.
        const int version = storedVersion(db, shownName);
        if (version < schema::kCurrentVersion && holdsTablesOf(db, version, shownName)) {
            for (const QString& statement : schema::upgradeStatements(version))
                exec(db, statement, shownName);
            if (version < schema::findTable(reserver_keys::kTable)->since)
                fillReserverKeys(db, shownName);
        }
        exec(db, QStringLiteral("COMMIT"), shownName);
        return version;
    } catch (const StoreError&) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace store::detail
