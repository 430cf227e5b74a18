#include "raw_database.h"

#include "store/database.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <vector>

namespace bench {

namespace {

[[noreturn]] void die(const char* engine, const char* message)
{
    std::fprintf(stderr, "%s: %s\n", engine, message);
    std::exit(1);
}

class SqliteQuery : public RawQuery {
public:
    SqliteQuery(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            die("sqlite", sqlite3_errmsg(db));
    }
    ~SqliteQuery() override { sqlite3_finalize(stmt_); }
    SqliteQuery(const SqliteQuery&) = delete;
    SqliteQuery& operator=(const SqliteQuery&) = delete;
    void bind(int position, const QString& text) override
    {
        sqlite3_bind_text16(stmt_, position, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
    }
    bool step() override { return sqlite3_step(stmt_) == SQLITE_ROW; }
    QString text(int column) const override
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)), sqlite3_column_bytes(stmt_, column));
    }
    void reset() override
    {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteDatabase : public RawDatabase {
public:
    explicit SqliteDatabase(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            die("sqlite", sqlite3_errmsg(db_));
    }
    ~SqliteDatabase() override { sqlite3_close(db_); }
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    std::unique_ptr<RawQuery> prepare(const char* sql) override { return std::make_unique<SqliteQuery>(db_, sql); }
    void exec(const char* sql) override
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            die("sqlite", sqlite3_errmsg(db_));
    }

private:
    sqlite3* db_ = nullptr;
};

class PgQuery : public RawQuery {
public:
    PgQuery(PGconn* conn, const char* sql, int number) : conn_(conn), name_("raw" + QByteArray::number(number))
    {
        PGresult* prepared = PQprepare(conn_, name_.constData(), sql, 0, nullptr);
        if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
            die("libpq", PQresultErrorMessage(prepared));
        PQclear(prepared);
    }
    ~PgQuery() override { PQclear(result_); }
    PgQuery(const PgQuery&) = delete;
    PgQuery& operator=(const PgQuery&) = delete;
    void bind(int position, const QString& text) override
    {
        if (values_.size() < size_t(position))
            values_.resize(size_t(position));
        values_[size_t(position - 1)] = text.toUtf8();
    }
    bool step() override
    {
        if (!result_) {
            std::vector<const char*> pointers;
            for (const QByteArray& value : values_)
                pointers.push_back(value.constData());
            result_ = PQexecPrepared(conn_, name_.constData(), int(pointers.size()), pointers.data(), nullptr, nullptr, 0);
            const ExecStatusType status = PQresultStatus(result_);
            if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
                die("libpq", PQresultErrorMessage(result_));
            row_ = -1;
        }
        return ++row_ < PQntuples(result_);
    }
    QString text(int column) const override
    {
        return QString::fromUtf8(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column));
    }
    void reset() override
    {
        PQclear(result_);
        result_ = nullptr;
        values_.clear();
    }

private:
    PGconn* conn_;
    QByteArray name_;
    std::vector<QByteArray> values_;
    PGresult* result_ = nullptr;
    int row_ = -1;
};

class PgDatabase : public RawDatabase {
public:
    explicit PgDatabase(const QString& address) : conn_(PQconnectdb(address.toUtf8().constData()))
    {
        if (PQstatus(conn_) != CONNECTION_OK)
            die("libpq", PQerrorMessage(conn_));
        exec("SET client_encoding = 'UTF8'");
    }
    ~PgDatabase() override { PQfinish(conn_); }
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;
    std::unique_ptr<RawQuery> prepare(const char* sql) override { return std::make_unique<PgQuery>(conn_, sql, ++prepared_); }
    void exec(const char* sql) override
    {
        PGresult* result = PQexec(conn_, sql);
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            die("libpq", PQresultErrorMessage(result));
        PQclear(result);
    }

private:
    PGconn* conn_;
    int prepared_ = 0;
};

} // namespace

std::unique_ptr<RawDatabase> RawDatabase::open(const QString& name)
{
    if (store::isServerAddress(name))
        return std::make_unique<PgDatabase>(name);
    return std::make_unique<SqliteDatabase>(name);
}

} // namespace bench
