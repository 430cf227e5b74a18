#pragma once

#include "base/input.h"
#include "store/connection.h"
#include "store/progress.h"
#include "store/schema.h"
#include "store/value.h"

#include <QString>
#include <initializer_list>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace store {

// A cursor on one table. Select an index, seek a key with "=", ">=" or ">", read fields, move
// forward in index order, add, edit and delete records. The cursor remembers the key and rowid of
// its current record, so moving next after a deletion continues with the record that followed it.
class Table final : private detail::ActiveScan {
public:
    Table(std::shared_ptr<detail::Connection> connection, const QString& tableName);
    Table(Table&& other) noexcept;
    Table& operator=(Table&&) = delete;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    ~Table();

    const QString& name() const { return table_->name; }

    // Selects an index by name, ignoring the case of Latin letters.
    void setIndex(const QString& indexName);

    // Seeks with "=", ">=" or ">" and one value per key field in key order (fewer values compare
    // the leading key fields only). The empty text sorts below every value of any field type.
    void seek(const char* op, std::initializer_list<Value> keys);
    void seek(const char* op, const std::vector<Value>& keys);

    // Seeks "=": true when a record has these key values (the cursor then stands on it).
    bool find(std::initializer_list<Value> keys);
    bool find(const std::vector<Value>& keys);
    // Seeks "=" and deletes the record found; true when there was one.
    bool findAndRemove(std::initializer_list<Value> keys);
    bool findAndRemove(const std::vector<Value>& keys);

    bool noMatch() const { return noMatch_; }
    bool eof() const { return eof_; }
    void moveNext();

    // The current record's field; integer fields read back as integers, every other field as text.
    // Field names are usually literals: those are looked up once per cursor, not on every read.
    Value field(const QString& fieldName) const { return fieldAt(positionOf(fieldName)); }
    Value field(const char* fieldName) const { return fieldAt(positionOf(fieldName)); }
    QString text(const QString& fieldName) const { return field(fieldName).text(); }
    QString text(const char* fieldName) const { return field(fieldName).text(); }
    // The current record's field as the database holds it, byte for byte (see
    // detail::Prepared::bytes), for a copy that must carry it unchanged.
    QByteArray storedBytes(const QString& fieldName) const;
    // An integer field, or text holding a number; any other value throws StoreError naming the
    // record, the field and the value.
    int integer(const QString& fieldName) const { return integerAt(positionOf(fieldName)); }
    int integer(const char* fieldName) const { return integerAt(positionOf(fieldName)); }
    // The current record's field as a time of day in its stored form "hh:mm" ("24:00" too with
    // `endOfDay`). Any other value throws StoreError naming the record by its key, the field and
    // the value: nothing is built on a time that cannot be placed.
    input::TimeOfDay time(const char* fieldName, bool endOfDay = false) const;
    input::TimeOfDay time(const QString& fieldName, bool endOfDay = false) const;
    // The same for a date in its stored form "yyyy/mm/dd".
    QDate date(const char* fieldName) const;
    // The file, the table and the key of the current record, for a message about a value of it.
    QString whichRecord() const;

    void addNew();
    void edit();
    // Seeks "=" on the current index and makes the record ready to be written: the record found
    // is edited, otherwise a new one is started. True when the record was there.
    bool seekForWrite(std::initializer_list<Value> keys);
    bool seekForWrite(const std::vector<Value>& keys);
    void set(const QString& fieldName, const Value& value) { setAt(positionOf(fieldName), value); }
    void set(const char* fieldName, const Value& value) { setAt(positionOf(fieldName), value); }
    void update();
    void remove();
    // Deletes the records of the current index whose keys lie from `first` through `last` (each
    // compares the leading key fields it has values for, as a seek does), a batch at a time.
    // Returns how many went; the cursor has no current record afterwards. `progress` hears the
    // count after every batch; when it says stop, this throws Cancelled and the caller's
    // Transaction rolls the deletions back.
    int removeRange(const std::vector<Value>& first, const std::vector<Value>& last, const Progress& progress = {});

    void close();

    // What store::ReadAhead reads of the current index: the records from a seek ">=" with `from`
    // through the last whose leading key fields are `through`, then the record after them; or,
    // without `through`, `most` records (0: to the end of the index). And the window the rows of
    // those reads make.
    std::vector<detail::Connection::Read> rangeReads(const std::vector<Value>& from, const std::vector<Value>& through, int most) const;
    std::shared_ptr<const detail::Window> rangeWindow(const std::vector<Value>& from, const std::vector<Value>& through, int most,
                                                      const std::vector<std::vector<detail::Window::Row>>& rows) const;

private:
    using Cell = detail::Cell;
    enum class Mode { Browse, Adding, Editing };

    void suspendScan() override;
    void requireIndex() const;
    void requireRecord(const char* action) const;
    int positionOf(const QString& fieldName) const;
    int positionOf(const char* fieldName) const;
    Value fieldAt(int position) const;
    input::TimeOfDay timeAt(int position, bool endOfDay) const;
    int integerAt(int position) const;
    void setAt(int position, const Value& value);
    Cell toStored(const schema::FieldDef& field, const Value& value) const;
    Cell toSeekKey(const schema::FieldDef& field, const Value& value) const;
    // The stored form of the values of a seek or range, one per leading key field.
    std::vector<Cell> seekKeys(const std::vector<Value>& keys) const;
    // A scan from `keys` (after the current record with `withRowid`), `batch` rows at a time. On a
    // server each batch is read whole into a window; a seek's (`seek`) is kept for the seeks after
    // it while a transaction lasts.
    struct SeekKeys {
        std::vector<detail::Window::Key> keys;
        bool greater = false;
    };
    void startScan(const QString& sql, const std::vector<Cell>& keys, bool withRowid, int batch, const SeekKeys* seek = nullptr);
    void stepScan();
    // Stands on row `at` of a window (past its last row: the end of the index).
    void enterWindow(std::shared_ptr<const detail::Window> window, size_t at);
    // The keys of the key fields as a window compares them.
    std::vector<detail::Window::Key> windowKeys(const std::vector<Cell>& cells) const;
    // The rowid of the current record (an added one's may still be on its way from the server).
    qint64 currentRowid() const;
    // A field of the current record, from the scan's statement while it is live.
    Cell cellAt(size_t position) const;
    void materialize();
    // The quoted names of the first `count` key fields, and the rowid after them when asked.
    QString keyNames(size_t count, bool withRowid = false) const;
    // Rows of the current index in index order: `columns` of those that meet `where`, `batch`
    // at most (0: all).
    QString selectSql(const QString& columns, const QString& where, int batch) const;
    QString allColumns() const;
    // The clause that makes SQLite read the current index; a server chooses by itself.
    QString indexedBy() const;
    // The marks of `count` parameters, numbered from `first`, joined by commas.
    QString marks(int first, int count) const;
    // The SQL of a seek ("=" and ">=" share it) or of the continuation after the current record,
    // built once per index, number of key values and rows read at first.
    const QString& seekSql(bool greater, size_t keyCount, int batch);
    const QString& continueSql();
    QString what() const;

    std::shared_ptr<detail::Connection> connection_;
    const schema::TableDef* table_ = nullptr;
    const schema::IndexDef* index_ = nullptr;
    std::vector<int> keyColumns_;
    QString orderBy_;
    std::map<std::tuple<bool, size_t, int>, QString> seekSql_;
    QString continueSql_;

    // The statement of the last scan, kept between seeks so that the next seek of the same kind
    // only binds new keys; reset (not given back) when a write interrupts the scan.
    detail::Statement scan_;
    QString scanSql_;
    bool scanning_ = false;
    // The current record is read straight from the scan's statement until the scan has to stop;
    // only then is it copied into row_.
    bool live_ = false;
    // Rows the scan's statement was allowed to read (0: all of them) and has read so far; a
    // batch read to its end is followed by the next one.
    int scanLimit_ = 0;
    int scanRows_ = 0;

    // The records a server handed over for the current scan, and the one the cursor stands on.
    std::shared_ptr<const detail::Window> window_;
    size_t windowRow_ = 0;

    std::vector<Cell> row_;
    mutable qint64 rowid_ = 0;
    mutable std::function<qint64()> rowidLater_;
    bool positioned_ = false;
    bool deleted_ = false;
    bool eof_ = true;
    bool noMatch_ = true;

    Mode mode_ = Mode::Browse;
    std::vector<Cell> pending_;
    std::vector<bool> pendingSet_;

    // Field positions of the literal names this cursor was asked for, by the literal's address.
    mutable std::vector<std::pair<const char*, int>> literalPositions_;
};

} // namespace store
