// `kelvora-db copy` and the backup of a database on a server: every record of every table from one
// database into another, of either engine.

#include "store/file_tools.h"

#include "store/connection.h"
#include "store/database.h"
#include "store/leftover_journal.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QCryptographicHash>
#include <QFile>
#include <cstdio>

namespace store {

namespace {

using detail::Cell;

// Reads a table record by record in the order of its key (its first index), then row id: the
// same order in any database holding the same records.
class KeyOrderReader {
public:
    KeyOrderReader(const Database& database, const schema::TableDef& table) : table_(table), cursor_(database.table(table.name))
    {
        for (const schema::IndexDef& index : schema::indexes()) {
            if (index.table == table.name) {
                cursor_.setIndex(index.name);
                cursor_.seek(">=", std::vector<Value>(size_t(index.keys.size())));
                break;
            }
        }
    }

    // The next record's fields in catalogue order, added to the running checksum.
    bool next(std::vector<Cell>& values)
    {
        if (started_ && !cursor_.eof())
            cursor_.moveNext();
        started_ = true;
        if (cursor_.eof())
            return false;
        values.resize(table_.fields.size());
        for (size_t i = 0; i < values.size(); ++i) {
            const Value value = cursor_.field(table_.fields[i].name);
            values[i] = value.isInteger() ? Cell::ofInteger(value.integer()) : Cell{false, 0, value.text()};
            const QByteArray bytes = values[i].isInteger ? "i" + QByteArray::number(values[i].number) : "t" + values[i].text.toUtf8();
            hash_.addData(QByteArray::number(bytes.size()) + ':' + bytes);
        }
        ++count_;
        return true;
    }

    qint64 count() const { return count_; }
    QByteArray checksum() const { return hash_.result(); }

private:
    const schema::TableDef& table_;
    Table cursor_;
    bool started_ = false;
    qint64 count_ = 0;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
};

// A database on a server that has none of the tables yet: the copy makes them.
bool serverWithoutTables(const Database& target)
{
    if (!target.onServer())
        return false;
    for (const schema::TableDef& table : schema::tables()) {
        if (target.connection()->hasTable(table.name))
            return false;
    }
    return true;
}

void requireEmpty(const Database& target)
{
    for (const schema::TableDef& table : schema::tables()) {
        KeyOrderReader reader(target, table);
        std::vector<Cell> values;
        if (reader.next(values))
            throw StoreError(
                QStringLiteral(
                    "コピー先のデータベース「%1」のテーブル「%2」にはすでにデータがあります。空のデータベースを指定してください。")
                    .arg(target.fileName(), table.name));
    }
}

struct Copied {
    qint64 count = 0;
    QByteArray checksum;
};

// Every record of every table, in the caller's transactions on both databases; into a server
// without tables, the tables first and their indexes after the records.
std::vector<Copied> copyRecords(const Database& source, const Database& target, bool makeTables)
{
    const std::shared_ptr<detail::Connection> connection = target.connection();
    const QString making = QStringLiteral("テーブルの作成");
    if (makeTables) {
        for (const QString& statement : schema::createTableStatements(schema::Engine::Server))
            connection->run(statement, making);
    }
    std::vector<Copied> copied;
    for (const schema::TableDef& table : schema::tables()) {
        KeyOrderReader reader(source, table);
        connection->bulkInsert(table, [&](std::vector<Cell>& values) { return reader.next(values); });
        copied.push_back({reader.count(), reader.checksum()});
    }
    if (makeTables) {
        for (const QString& statement : schema::createIndexStatements(schema::Engine::Server))
            connection->run(statement, making);
        connection->loadCatalogue();
    }
    return copied;
}

// Reads every table of the target back to the end, for its count and checksum.
void verify(const Database& target, const std::vector<Copied>& copied)
{
    for (size_t i = 0; i < copied.size(); ++i) {
        const schema::TableDef& table = schema::tables()[i];
        KeyOrderReader written(target, table);
        std::vector<Cell> values;
        while (written.next(values)) {
        }
        if (written.count() != copied[i].count || written.checksum() != copied[i].checksum)
            throw StoreError(
                QStringLiteral(
                    "テーブル「%1」のコピーを確かめたところ一致しません（コピー元 %2 件、コピー先 %3 件）。何もコピーしていません。")
                    .arg(table.name)
                    .arg(copied[i].count)
                    .arg(written.count()));
    }
}

} // namespace

void copyDatabase(const QString& from, const QString& to)
{
    const Database source = Database::open(from);
    const bool newFile = !isServerAddress(to);
    if (newFile)
        createDatabaseFile(to);
    std::shared_ptr<detail::Connection> madeTablesOn;
    try {
        const Database target = Database::open(to);
        if (target.connection() == source.connection())
            throw StoreError(QStringLiteral("「%1」と「%2」は同じデータベースです。").arg(shownDatabase(from), shownDatabase(to)));
        const bool makeTables = serverWithoutTables(target);
        if (makeTables)
            madeTablesOn = target.connection();
        else
            requireEmpty(target);
        // The source is read as of one moment; the target is written all or nothing and checked
        // before it is committed.
        Transaction reading(source, Transaction::ForReading);
        Transaction writing(target);
        verify(target, copyRecords(source, target, makeTables));
        writing.commit();
        reading.commit();
    } catch (const StoreError&) {
        if (newFile)
            QFile::remove(to);
        // The tables made in the transaction that was rolled back are gone again.
        if (madeTablesOn) {
            try {
                madeTablesOn->loadCatalogue();
            } catch (const StoreError&) {
            }
        }
        throw;
    }
}

void backupDatabase(const QString& from, const QString& to, const Progress& progress)
{
    if (!isServerAddress(from))
        return backupDatabaseFile(from, to, progress);
    // Made under another name and put in place when complete, so `to` never holds half a copy.
    const QString scratch = to + QStringLiteral(".part");
    detail::removeWithJournals(scratch);
    copyDatabase(from, scratch);
    try {
        detail::settleLeftoverJournal(to);
    } catch (const StoreError&) {
        detail::removeWithJournals(scratch);
        throw;
    }
    if (std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(to).constData()) != 0) {
        detail::removeWithJournals(scratch);
        throw StoreError(QStringLiteral("「%1」を作成できません。").arg(to));
    }
}

} // namespace store
