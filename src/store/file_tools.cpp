#include "store/file_tools.h"

#include "store/schema.h"
#include "store/store_error.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace store {

namespace {

// A raw connection for the file tools, closed on scope exit.
class RawFile {
public:
    RawFile(const QString& path, int flags) : path_(path)
    {
        const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
        sqlite3_busy_timeout(db_, 3000);
    }
    ~RawFile() { sqlite3_close_v2(db_); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    sqlite3* get() const { return db_; }

    void exec(const QString& sql)
    {
        const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
    }

    // Rows of a query, each as a list of texts.
    QList<QStringList> rows(const QString& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
        QList<QStringList> result;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QStringList row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
            result << row;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            fail(rc);
        return result;
    }

    [[noreturn]] void fail(int rc) const
    {
        const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
        if ((rc & 0xff) == SQLITE_NOTADB)
            throw StoreError(QStringLiteral("「%1」はデータベースファイルではありません。").arg(path_), rc);
        throw StoreError(QStringLiteral("「%1」を処理できません: %2").arg(path_, detail), rc);
    }

private:
    QString path_;
    sqlite3* db_ = nullptr;
};

QString scratchName(const QString& path)
{
    return path + QStringLiteral(".part");
}

} // namespace

void createDatabaseFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw StoreError(QStringLiteral("「%1」はすでにあります。上書きはしません。").arg(path));
    const QString scratch = scratchName(path);
    QFile::remove(scratch);
    {
        RawFile file(scratch, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        file.exec(QStringLiteral("BEGIN"));
        for (const QString& statement : schema::createStatements())
            file.exec(statement);
        file.exec(QStringLiteral("COMMIT"));
    }
    if (!QFile::rename(scratch, path)) {
        QFile::remove(scratch);
        throw StoreError(QStringLiteral("「%1」を作成できません。").arg(path));
    }
}

QStringList checkDatabaseFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw StoreError(QStringLiteral("「%1」が見つかりません。").arg(path));
    RawFile file(path, SQLITE_OPEN_READONLY);
    QStringList problems;

    for (const schema::TableDef& table : schema::tables()) {
        const QList<QStringList> columns =
            file.rows(QStringLiteral("SELECT name, type FROM pragma_table_info(%1)").arg(schema::quoted(table.name).replace('"', '\'')));
        if (columns.isEmpty()) {
            problems << QStringLiteral("テーブル「%1」がありません。").arg(table.name);
            continue;
        }
        for (const schema::FieldDef& field : table.fields) {
            const auto found = std::find_if(columns.begin(), columns.end(),
                                            [&](const QStringList& c) { return c[0] == field.name; });
            if (found == columns.end())
                problems << QStringLiteral("テーブル「%1」に項目「%2」がありません。").arg(table.name, field.name);
            else if ((*found)[1].compare(schema::sqlType(field.type), Qt::CaseInsensitive) != 0)
                problems << QStringLiteral("テーブル「%1」の項目「%2」の型が %3 です（%4 のはずです）。")
                                .arg(table.name, field.name, (*found)[1], schema::sqlType(field.type));
        }
        for (const QStringList& column : columns) {
            if (table.fieldIndex(column[0]) < 0)
                problems << QStringLiteral("テーブル「%1」に余分な項目「%2」があります。").arg(table.name, column[0]);
        }
    }

    for (const schema::IndexDef& index : schema::indexes()) {
        const QString literal = schema::quoted(index.sqliteName()).replace('"', '\'');
        const QList<QStringList> owner =
            file.rows(QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type='index' AND name=%1").arg(literal));
        if (owner.isEmpty()) {
            problems << QStringLiteral("テーブル「%1」にインデックス「%2」がありません。").arg(index.table, index.name);
            continue;
        }
        QStringList keys;
        for (const QStringList& key : file.rows(QStringLiteral("SELECT name FROM pragma_index_info(%1) ORDER BY seqno").arg(literal)))
            keys << key[0];
        if (owner[0][0] != index.table || keys != index.keys)
            problems << QStringLiteral("テーブル「%1」のインデックス「%2」のキー項目が違います（%3）。")
                            .arg(index.table, index.name, keys.join(u','));
    }

    for (const QStringList& line : file.rows(QStringLiteral("PRAGMA integrity_check"))) {
        if (line.value(0) != QLatin1String("ok"))
            problems << QStringLiteral("整合性検査: %1").arg(line.value(0));
    }
    return problems;
}

void backupDatabaseFile(const QString& from, const QString& to)
{
    if (!QFileInfo(from).isFile())
        throw StoreError(QStringLiteral("「%1」が見つかりません。").arg(from));
    const QString scratch = scratchName(to);
    QFile::remove(scratch);
    {
        RawFile source(from, SQLITE_OPEN_READONLY);
        // Reading the catalogue first turns a file that is not a database into a clear error.
        source.rows(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        RawFile copy(scratch, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source.get(), "main");
        if (!backup)
            copy.fail(sqlite3_errcode(copy.get()));
        int rc = SQLITE_OK;
        int waits = 0;
        do {
            rc = sqlite3_backup_step(backup, -1);
            if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++waits < 50)
                sqlite3_sleep(100);
            else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                break;
        } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) {
            QFile::remove(scratch);
            copy.fail(rc);
        }
    }
    // rename() replaces the old copy in one step, so `to` is never half written.
    if (std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(scratch);
        throw StoreError(QStringLiteral("「%1」を作成できません。").arg(to));
    }
}

} // namespace store
