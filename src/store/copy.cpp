// `kelvora-db copy` and the backup of a database on a server: every record of every table from one
// database into another, of either engine.

#include "store/file_tools.h"

#include "store/connection.h"
#include "store/database.h"
#include "store/leftover_journal.h"
#include "store/reserver_keys.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QCryptographicHash>
#include <QFile>
#include <cstdio>
#include <optional>

namespace store {

namespace {

using detail::Cell;

// Reads a table record by record in the order of its key (its first index), then row id: the
// same order in any database holding the same records. The checksum is taken over the values as
// the database holds them, byte for byte.
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

    // The next record's fields in catalogue order, added to the running checksum. Read to be
    // written into a database of the engine `into`, a text whose stored bytes would not arrive as
    // they are is refused, naming its record and field.
    bool next(std::vector<Cell>& values, std::optional<schema::Engine> into = {})
    {
        if (started_ && !cursor_.eof())
            cursor_.moveNext();
        started_ = true;
        if (cursor_.eof())
            return false;
        values.resize(table_.fields.size());
        for (size_t i = 0; i < values.size(); ++i) {
            const QString& field = table_.fields[i].name;
            const Value value = cursor_.field(field);
            values[i] = value.isInteger() ? Cell::ofInteger(value.integer()) : Cell{false, 0, value.text()};
            const QByteArray stored = cursor_.storedBytes(field);
            if (into && !values[i].isInteger)
                requireCarried(values[i].text, stored, field, *into);
            const QByteArray typed = (values[i].isInteger ? "i" : "t") + stored;
            hash_.addData(QByteArray::number(typed.size()) + ':' + typed);
        }
        ++count_;
        return true;
    }

    qint64 count() const { return count_; }
    QByteArray checksum() const { return hash_.result(); }

private:
    // The copy writes a text as the characters read, in UTF-8: bytes that are not UTF-8 would
    // arrive changed, and a server keeps no character U+0000.
    void requireCarried(const QString& text, const QByteArray& stored, const QString& field, schema::Engine into) const
    {
        QString reason;
        if (text.toUtf8() != stored)
            reason = QStringLiteral("UTF-8 の文字として読めないバイトがあります");
        else if (into == schema::Engine::Server && stored.contains('\0'))
            reason = QStringLiteral("サーバーのデータベースには入らない文字 U+0000 があります");
        if (!reason.isEmpty())
            throw StoreError(QStringLiteral("%1の項目「%2」の値はそのままではコピーできません（%3）。何もコピーしていません。")
                                 .arg(cursor_.whichRecord(), field, reason));
    }

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

// What was copied of a table; nothing for a table that the source, of an earlier version, lacks.
struct Copied {
    qint64 count = 0;
    QByteArray checksum;
};

// Every record of every table the source has, in the caller's transactions on both databases;
// into a server without tables, the tables first and their indexes and triggers after the
// records. The target is of the current version whatever the source's: a table the source lacks
// stays empty, and the look-up keys of the reservers of a source without them are made.
std::vector<std::optional<Copied>> copyRecords(const Database& source, const Database& target, bool makeTables)
{
    const std::shared_ptr<detail::Connection> connection = target.connection();
    const schema::Engine into = target.onServer() ? schema::Engine::Server : schema::Engine::File;
    const QString making = QStringLiteral("テーブルの作成");
    if (makeTables) {
        for (const QString& statement : schema::createTableStatements(schema::Engine::Server))
            connection->run(statement, making);
    }
    std::vector<std::optional<Copied>> copied;
    for (const schema::TableDef& table : schema::tables()) {
        if (!source.connection()->hasTable(table.name)) {
            copied.emplace_back();
            continue;
        }
        // The target's triggers noted every reserver copied; the source's notes are copied instead.
        if (table.name == reserver_keys::kNotedTable)
            connection->run(QStringLiteral("DELETE FROM %1").arg(schema::quoted(table.name)), making);
        KeyOrderReader reader(source, table);
        connection->bulkInsert(table, [&](std::vector<Cell>& values) { return reader.next(values, into); });
        copied.push_back(Copied{reader.count(), reader.checksum()});
    }
    if (!source.connection()->hasTable(reserver_keys::kTable))
        reserver_keys::fillAll(*connection);
    if (makeTables) {
        for (const QString& statement :
             schema::createIndexStatements(schema::Engine::Server) + schema::createTriggerStatements(schema::Engine::Server))
            connection->run(statement, making);
        connection->loadCatalogue();
    }
    return copied;
}

// Reads every table copied back from the target to the end, for its count and checksum.
void verify(const Database& target, const std::vector<std::optional<Copied>>& copied)
{
    for (size_t i = 0; i < copied.size(); ++i) {
        if (!copied[i])
            continue;
        const schema::TableDef& table = schema::tables()[i];
        KeyOrderReader written(target, table);
        std::vector<Cell> values;
        while (written.next(values)) {
        }
        if (written.count() != copied[i]->count || written.checksum() != copied[i]->checksum)
            throw StoreError(
                QStringLiteral(
                    "テーブル「%1」のコピーを確かめたところ一致しません（コピー元 %2 件、コピー先 %3 件）。何もコピーしていません。")
                    .arg(table.name)
                    .arg(copied[i]->count)
                    .arg(written.count()));
    }
}

} // namespace

void copyDatabase(const QString& from, const QString& to)
{
    // Read as it is: a source of an earlier version is not upgraded, and nothing is written into it.
    const Database source = Database::openToRead(from);
    const bool newFile = !isServerAddress(to);
    if (newFile)
        createDatabaseFile(to);
    std::shared_ptr<detail::Connection> madeTablesOn;
    try {
        const Database target = Database::open(to);
        // A file is always copied into a new one; a database on a server is named by its server.
        if (target.onServer() && source.onServer() && target.fileName() == source.fileName())
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
