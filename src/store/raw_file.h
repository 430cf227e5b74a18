#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace store::detail {

// A connection of the file tools to one whole database file, closed on scope exit. Every failure
// is a StoreError worded by failureMessage() that names the file as the operator knows it.
class RawFile {
public:
    enum class Mode {
        // Reads only. Opened for writing all the same where the file allows it, so that a save
        // cut short by a crash is rolled back from its journal first, as the program does.
        Read,
        // Reads and writes; the file is made when missing.
        Write,
    };

    // `shownName` is the name messages give the file; the path itself when empty.
    RawFile(const QString& path, Mode mode, const QString& shownName = {});
    ~RawFile();
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    sqlite3* get() const { return db_; }

    // Runs SQL that returns no rows.
    void exec(const QString& sql);
    // Steps through the rows of a query, handing each to `row`.
    void forEachRow(const QString& sql, const std::function<void(sqlite3_stmt*)>& row);
    // The rows of a query, each as a list of texts (NULL as empty text).
    QList<QStringList> rows(const QString& sql);

    [[noreturn]] void fail(int code) const;

private:
    QString shownName_;
    sqlite3* db_ = nullptr;
};

// Text of a result column; empty for NULL.
QString columnText(sqlite3_stmt* stmt, int column);

} // namespace store::detail
