#include "store/raw_file.h"

#include "store/busy_wait.h"
#include "store/store_error.h"
#include "store/stored_text.h"

#include <sqlite3.h>

namespace store::detail {

RawFile::RawFile(const QString& path, Mode mode, const QString& shownName) : shownName_(shownName.isEmpty() ? path : shownName)
{
    const int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Write ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (db_)
        sqlite3_extended_result_codes(db_, 1);
    if (rc != SQLITE_OK) {
        const int code = db_ ? sqlite3_extended_errcode(db_) : rc;
        const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db_);
        throw StoreError(failureMessage(code, shownName_, QString(), detail), code);
    }
    installBusyWait(db_);
    if (mode == Mode::Read)
        exec(QStringLiteral("PRAGMA query_only = 1"));
}

RawFile::~RawFile()
{
    sqlite3_close_v2(db_);
}

void RawFile::exec(const QString& sql)
{
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

void RawFile::forEachRow(const QString& sql, const std::function<void(sqlite3_stmt*)>& row)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
    try {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            row(stmt);
    } catch (...) {
        sqlite3_finalize(stmt);
        throw;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        fail(rc);
}

QList<QStringList> RawFile::rows(const QString& sql)
{
    QList<QStringList> result;
    forEachRow(sql, [&](sqlite3_stmt* stmt) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            row << columnText(stmt, i);
        result << row;
    });
    return result;
}

void RawFile::fail(int code) const
{
    throw StoreError(failureMessage(code, shownName_, QString(), QString::fromUtf8(sqlite3_errmsg(db_))), code);
}

QString columnText(sqlite3_stmt* stmt, int column)
{
    return storedText(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)), sqlite3_column_bytes(stmt, column));
}

} // namespace store::detail
