#include "file_faults.h"

#include "store/schema.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

void copyWithSaveCutShort(const QString& source, const QString& copy)
{
    const QString journal = QStringLiteral("-journal");
    QFile::remove(copy);
    QFile::remove(copy + journal);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(source).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    // A cache of a few pages makes the save write into the file before it commits.
    const char* save = "PRAGMA cache_size = 2; BEGIN;"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
                       " INSERT INTO 予約者 (予約者_予約者NO, 予約者_住所) SELECT printf('-%06d', i), hex(zeroblob(150)) FROM n;"
                       "UPDATE 設定 SET 設定_名称 = '保存途中';";
    EXPECT_EQ(sqlite3_exec(db, save, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    EXPECT_TRUE(QFile::exists(source + journal));
    EXPECT_TRUE(QFile::copy(source, copy));
    EXPECT_TRUE(QFile::copy(source + journal, copy + journal));
    EXPECT_EQ(sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void runOn(const QString& path, const QString& sql)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
    sqlite3_close(raw);
}

QString dropLaterThan(int version, store::schema::Engine engine)
{
    QStringList statements;
    for (const store::schema::TriggerDef& trigger : store::schema::triggers()) {
        if (trigger.since > version)
            statements << QStringLiteral("DROP TRIGGER %1%2")
                              .arg(store::schema::quoted(trigger.storedName()),
                                   engine == store::schema::Engine::Server ? " ON " + store::schema::quoted(trigger.table) : QString());
    }
    for (const store::schema::IndexDef& index : store::schema::indexes()) {
        if (index.since > version && store::schema::findTable(index.table)->since <= version)
            statements << QStringLiteral("DROP INDEX %1").arg(store::schema::quoted(index.storedName()));
    }
    for (const store::schema::TableDef& table : store::schema::tables()) {
        if (table.since > version)
            statements << QStringLiteral("DROP TABLE %1").arg(store::schema::quoted(table.name));
    }
    return statements.join(QStringLiteral("; "));
}

void makeFormerVersionFile(const QString& path, int version)
{
    // One transaction, so that a kill in between never leaves a file of neither version. Version 1
    // recorded no version.
    runOn(path, QStringLiteral("BEGIN; %1; PRAGMA user_version = %2; COMMIT").arg(dropLaterThan(version)).arg(version == 1 ? 0 : version));
}

void setFileVersion(const QString& path, int version)
{
    runOn(path, QStringLiteral("PRAGMA user_version = %1").arg(version));
}
