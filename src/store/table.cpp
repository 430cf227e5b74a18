#include "store/table.h"

#include "base/input.h"
#include "store/store_error.h"

#include <limits>
#include <sqlite3.h>

namespace store {

using schema::FieldType;

namespace {

constexpr qint64 kLowestInteger = std::numeric_limits<qint64>::min();

} // namespace

Table::Table(std::shared_ptr<detail::Connection> connection, const QString& tableName)
    : connection_(std::move(connection)), table_(schema::findTable(tableName))
{
    if (!table_) {
        throw StoreError(QStringLiteral("テーブル「%1」はこのシステムのテーブルではありません。").arg(tableName));
    }
    if (!connection_->hasTable(tableName)) {
        throw StoreError(QStringLiteral("データベース「%1」にテーブル「%2」がありません。")
                             .arg(connection_->fileName(), tableName));
    }
}

Table::Table(Table&& other) noexcept
    : connection_(std::move(other.connection_)), table_(other.table_), index_(other.index_),
      keyColumns_(std::move(other.keyColumns_)), orderBy_(std::move(other.orderBy_)),
      seekSql_(std::move(other.seekSql_)), continueSql_(std::move(other.continueSql_)),
      scan_(std::move(other.scan_)), scanSql_(std::move(other.scanSql_)), scanning_(other.scanning_), live_(other.live_), row_(std::move(other.row_)),
      rowid_(other.rowid_), positioned_(other.positioned_), deleted_(other.deleted_), eof_(other.eof_),
      noMatch_(other.noMatch_), mode_(other.mode_), pending_(std::move(other.pending_)),
      pendingSet_(std::move(other.pendingSet_)), literalPositions_(std::move(other.literalPositions_))
{
    if (scanning_) {
        connection_->removeScan(&other);
        connection_->addScan(this);
    }
    other.scanning_ = false;
}

Table::~Table()
{
    close();
}

void Table::close()
{
    suspendScan();
    scan_.release();
    scanSql_.clear();
    positioned_ = false;
    mode_ = Mode::Browse;
}

QString Table::what() const
{
    return QStringLiteral("テーブル「%1」").arg(table_->name);
}

void Table::setIndex(const QString& indexName)
{
    const schema::IndexDef* index = schema::findIndex(table_->name, indexName);
    if (!index || !connection_->hasIndex(index->sqliteName())) {
        throw StoreError(QStringLiteral("データベース「%1」のテーブル「%2」にインデックス「%3」がありません。")
                             .arg(connection_->fileName(), table_->name, indexName));
    }
    suspendScan();
    scan_.release();
    scanSql_.clear();
    index_ = index;
    keyColumns_.clear();
    QStringList order;
    for (const QString& key : index->keys) {
        keyColumns_.push_back(table_->fieldIndex(key));
        order << schema::quoted(key);
    }
    order << QStringLiteral("rowid");
    orderBy_ = order.join(u',');
    seekSql_.clear();
    continueSql_.clear();
}

const QString& Table::seekSql(bool greater, size_t keyCount)
{
    QString& sql = seekSql_[{greater, keyCount}];
    if (sql.isEmpty()) {
        QStringList names;
        QStringList marks;
        for (size_t i = 0; i < keyCount; ++i) {
            names << schema::quoted(table_->fields[size_t(keyColumns_[i])].name);
            marks << QStringLiteral("?");
        }
        sql = selectSql(QStringLiteral("(%1) %2 (%3)").arg(names.join(u','), greater ? ">" : ">=", marks.join(u',')));
    }
    return sql;
}

const QString& Table::continueSql()
{
    if (continueSql_.isEmpty()) {
        QStringList names;
        QStringList marks;
        for (int column : keyColumns_) {
            names << schema::quoted(table_->fields[size_t(column)].name);
            marks << QStringLiteral("?");
        }
        names << QStringLiteral("rowid");
        marks << QStringLiteral("?");
        continueSql_ = selectSql(QStringLiteral("(%1) > (%2)").arg(names.join(u','), marks.join(u',')));
    }
    return continueSql_;
}

void Table::requireIndex() const
{
    if (!index_)
        throw StoreError(QStringLiteral("%1のインデックスが選択されていません。").arg(what()));
}

void Table::requireRecord(const char* action) const
{
    if (!positioned_ || deleted_ || eof_) {
        throw StoreError(QStringLiteral("%1に現在のレコードがないため、%2できません。")
                             .arg(what(), QString::fromUtf8(action)));
    }
}

int Table::positionOf(const QString& fieldName) const
{
    const int i = table_->fieldIndex(fieldName);
    if (i < 0)
        throw StoreError(QStringLiteral("%1に項目「%2」はありません。").arg(what(), fieldName));
    return i;
}

int Table::positionOf(const char* fieldName) const
{
    for (const auto& [name, position] : literalPositions_) {
        if (name == fieldName)
            return position;
    }
    const int position = positionOf(QString::fromUtf8(fieldName));
    literalPositions_.emplace_back(fieldName, position);
    return position;
}

Table::Cell Table::toStored(const schema::FieldDef& field, const Value& value) const
{
    const auto refuse = [&](const QString& why) -> StoreError {
        return StoreError(QStringLiteral("%1の項目「%2」に値「%3」は格納できません（%4）。")
                              .arg(what(), field.name, value.text(), why));
    };
    Cell cell;
    switch (field.type) {
    case FieldType::Text:
    case FieldType::DateText:
        cell.text = value.text();
        break;
    case FieldType::Integer: {
        std::optional<int> number;
        if (value.isInteger() && value.integer() >= -32768 && value.integer() <= 32767)
            number = int(value.integer());
        else if (value.isText())
            number = input::wholeNumber16(value.text());
        if (!number)
            throw refuse(QStringLiteral("整数ではありません"));
        cell.isInteger = true;
        cell.number = *number;
        break;
    }
    case FieldType::Flag: {
        std::optional<int> number;
        if (value.isInteger())
            number = int(value.integer());
        else if (value.isText())
            number = input::wholeNumber16(value.text());
        if (!number)
            throw refuse(QStringLiteral("1 または 0 ではありません"));
        cell.text = QString::number(*number);
        break;
    }
    case FieldType::Date: {
        std::optional<QDate> date;
        if (value.isDate())
            date = value.date();
        else if (value.isText())
            date = input::date(value.text());
        if (!date || !date->isValid())
            throw refuse(QStringLiteral("日付ではありません"));
        cell.text = input::dateText(*date);
        break;
    }
    }
    return cell;
}

Table::Cell Table::toSeekKey(const schema::FieldDef& field, const Value& value) const
{
    // The empty text sorts below everything; for an integer field that is the lowest integer.
    if (value.isEmptyText()) {
        Cell cell;
        if (field.type == FieldType::Integer) {
            cell.isInteger = true;
            cell.number = kLowestInteger;
        }
        return cell;
    }
    if (field.type == FieldType::Integer && value.isInteger()) {
        Cell cell;
        cell.isInteger = true;
        cell.number = value.integer();
        return cell;
    }
    return toStored(field, value);
}

void Table::bind(sqlite3_stmt* stmt, int position, const Cell& cell) const
{
    if (cell.isInteger) {
        sqlite3_bind_int64(stmt, position, cell.number);
    } else {
        sqlite3_bind_text16(stmt, position, cell.text.utf16(), int(cell.text.size() * sizeof(char16_t)),
                            SQLITE_TRANSIENT);
    }
}

QString Table::selectSql(const QString& where) const
{
    QStringList columns{QStringLiteral("rowid")};
    for (const schema::FieldDef& field : table_->fields)
        columns << schema::quoted(field.name);
    return QStringLiteral("SELECT %1 FROM %2 INDEXED BY %3 WHERE %4 ORDER BY %5")
        .arg(columns.join(u','), schema::quoted(table_->name), schema::quoted(index_->sqliteName()), where, orderBy_);
}

bool Table::find(std::initializer_list<Value> keys)
{
    return find(std::vector<Value>(keys));
}

bool Table::find(const std::vector<Value>& keys)
{
    seek("=", keys);
    return !noMatch();
}

bool Table::findAndRemove(std::initializer_list<Value> keys)
{
    return findAndRemove(std::vector<Value>(keys));
}

bool Table::findAndRemove(const std::vector<Value>& keys)
{
    if (!find(keys))
        return false;
    remove();
    return true;
}

int Table::removeWhile(const std::function<bool(const Table&)>& inRange, const Progress& progress)
{
    int removed = 0;
    for (; !eof(); moveNext()) {
        if (!inRange(*this))
            break;
        remove();
        report(progress, ++removed, 0);
    }
    return removed;
}

bool Table::seekForWrite(std::initializer_list<Value> keys)
{
    return seekForWrite(std::vector<Value>(keys));
}

bool Table::seekForWrite(const std::vector<Value>& keys)
{
    if (!find(keys)) {
        addNew();
        return false;
    }
    edit();
    return true;
}

void Table::seek(const char* op, std::initializer_list<Value> keys)
{
    seek(op, std::vector<Value>(keys));
}

void Table::seek(const char* op, const std::vector<Value>& keys)
{
    requireIndex();
    const QString comparison = QString::fromLatin1(op);
    if (comparison != QLatin1String("=") && comparison != QLatin1String(">=") && comparison != QLatin1String(">"))
        throw StoreError(QStringLiteral("%1の検索条件「%2」は使えません。").arg(what(), comparison));
    if (keys.empty() || keys.size() > keyColumns_.size())
        throw StoreError(QStringLiteral("%1の検索キーの数が正しくありません。").arg(what()));

    std::vector<Cell> cells;
    for (size_t i = 0; i < keys.size(); ++i)
        cells.push_back(toSeekKey(table_->fields[size_t(keyColumns_[i])], keys[i]));
    mode_ = Mode::Browse;
    startScan(seekSql(comparison == QLatin1String(">"), keys.size()), cells, false);

    if (comparison == QLatin1String("=") && !eof_) {
        for (size_t i = 0; i < cells.size(); ++i) {
            if (!(cellAt(size_t(keyColumns_[i])) == cells[i])) {
                suspendScan();
                positioned_ = false;
                eof_ = true;
                break;
            }
        }
    }
    noMatch_ = eof_;
}

void Table::startScan(const QString& sql, const std::vector<Cell>& keys, bool withRowid)
{
    live_ = false; // a new scan replaces the current record: nothing to keep of it
    suspendScan();
    // The SQL texts come from this cursor's cache, so the same scan shares the same text buffer.
    if (!scan_ || scanSql_.constData() != sql.constData()) {
        scan_ = connection_->prepare(sql);
        scanSql_ = sql;
    } else {
        scan_.reset();
    }
    int position = 1;
    for (const Cell& key : keys)
        bind(scan_.get(), position++, key);
    if (withRowid)
        sqlite3_bind_int64(scan_.get(), position, rowid_);
    scanning_ = true;
    connection_->addScan(this);
    stepScan();
}

void Table::stepScan()
{
    const int rc = sqlite3_step(scan_.get());
    deleted_ = false;
    live_ = false;
    if (rc == SQLITE_DONE) {
        suspendScan();
        positioned_ = false;
        eof_ = true;
        return;
    }
    if (rc != SQLITE_ROW) {
        suspendScan();
        positioned_ = false;
        eof_ = true;
        connection_->fail(rc, what());
    }
    rowid_ = sqlite3_column_int64(scan_.get(), 0);
    live_ = true;
    positioned_ = true;
    eof_ = false;
}

Table::Cell Table::cellAt(size_t position) const
{
    if (!live_)
        return row_[position];
    sqlite3_stmt* stmt = scan_.get();
    const int column = int(position) + 1;
    Cell cell;
    if (sqlite3_column_type(stmt, column) == SQLITE_INTEGER) {
        cell.isInteger = true;
        cell.number = sqlite3_column_int64(stmt, column);
    } else {
        cell.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                      sqlite3_column_bytes(stmt, column));
    }
    return cell;
}

void Table::materialize()
{
    if (!live_)
        return;
    row_.resize(table_->fields.size());
    for (size_t i = 0; i < row_.size(); ++i)
        row_[i] = cellAt(i);
    live_ = false;
}

void Table::suspendScan()
{
    materialize();
    if (scanning_) {
        scanning_ = false;
        connection_->removeScan(this);
        scan_.reset();
    }
}

void Table::moveNext()
{
    requireIndex();
    if (!positioned_ || eof_)
        throw StoreError(QStringLiteral("%1はすでに最後のレコードを過ぎています。").arg(what()));
    mode_ = Mode::Browse;
    if (scanning_) {
        stepScan();
        return;
    }
    // The scan was interrupted by a write: continue after the current key and rowid.
    std::vector<Cell> keys;
    for (int column : keyColumns_)
        keys.push_back(row_[size_t(column)]);
    startScan(continueSql(), keys, true);
}

Value Table::fieldAt(int position) const
{
    const schema::FieldDef& def = table_->fields[size_t(position)];
    if (mode_ != Mode::Browse && pendingSet_[size_t(position)]) {
        const Cell& cell = pending_[size_t(position)];
        return cell.isInteger ? Value(cell.number) : Value(cell.text);
    }
    if (mode_ == Mode::Adding)
        return def.type == FieldType::Integer ? Value(0) : Value();
    requireRecord("読み取り");
    const Cell cell = cellAt(size_t(position));
    return cell.isInteger ? Value(cell.number) : Value(cell.text);
}

int Table::integerAt(int position) const
{
    const Value value = fieldAt(position);
    try {
        return int(value.integer());
    } catch (const StoreError&) {
        const QString& field = table_->fields[size_t(position)].name;
        throw StoreError(value.text().isEmpty()
                             ? QStringLiteral("%1の項目「%2」が空です。").arg(whichRecord(), field)
                             : QStringLiteral("%1の項目「%2」の値「%3」は数値ではありません。").arg(whichRecord(), field, value.text()));
    }
}

input::TimeOfDay Table::time(const char* fieldName, bool endOfDay) const
{
    return timeAt(positionOf(fieldName), endOfDay);
}

input::TimeOfDay Table::time(const QString& fieldName, bool endOfDay) const
{
    return timeAt(positionOf(fieldName), endOfDay);
}

input::TimeOfDay Table::timeAt(int position, bool endOfDay) const
{
    const QString value = fieldAt(position).text();
    if (const std::optional<input::TimeOfDay> time = input::storedTime(value, endOfDay))
        return *time;
    const QString& field = table_->fields[size_t(position)].name;
    throw StoreError(value.isEmpty()
                         ? QStringLiteral("%1の項目「%2」が空です。").arg(whichRecord(), field)
                         : QStringLiteral("%1の項目「%2」の値「%3」は時刻（HH:MM）ではありません。")
                               .arg(whichRecord(), field, value));
}

QDate Table::date(const char* fieldName) const
{
    const QString value = field(fieldName).text();
    if (const std::optional<QDate> date = input::storedDate(value))
        return *date;
    const QString field = QString::fromUtf8(fieldName);
    throw StoreError(value.isEmpty()
                         ? QStringLiteral("%1の項目「%2」が空です。").arg(whichRecord(), field)
                         : QStringLiteral("%1の項目「%2」の値「%3」は日付（YYYY/MM/DD）ではありません。")
                               .arg(whichRecord(), field, value));
}

QString Table::whichRecord() const
{
    // The first index of a table in the catalogue is its key.
    QStringList key;
    for (const schema::IndexDef& index : schema::indexes()) {
        if (index.table != table_->name)
            continue;
        for (const QString& field : index.keys)
            key << QStringLiteral("%1「%2」").arg(field, fieldAt(table_->fieldIndex(field)).text());
        break;
    }
    return QStringLiteral("データベース「%1」のテーブル「%2」のレコード（%3）")
        .arg(connection_->fileName(), table_->name, key.join(QStringLiteral("、")));
}

void Table::addNew()
{
    mode_ = Mode::Adding;
    pending_.assign(table_->fields.size(), Cell());
    pendingSet_.assign(table_->fields.size(), false);
}

void Table::edit()
{
    requireRecord("変更");
    mode_ = Mode::Editing;
    pending_.assign(table_->fields.size(), Cell());
    pendingSet_.assign(table_->fields.size(), false);
}

void Table::setAt(int position, const Value& value)
{
    if (mode_ == Mode::Browse)
        throw StoreError(QStringLiteral("%1は追加・変更の状態ではありません。").arg(what()));
    pending_[size_t(position)] = toStored(table_->fields[size_t(position)], value);
    pendingSet_[size_t(position)] = true;
}

void Table::update()
{
    if (mode_ == Mode::Browse)
        throw StoreError(QStringLiteral("%1は追加・変更の状態ではありません。").arg(what()));
    connection_->suspendScans();
    std::vector<Cell> values;
    QStringList names;
    QStringList marks;
    for (size_t i = 0; i < table_->fields.size(); ++i) {
        const schema::FieldDef& def = table_->fields[i];
        if (mode_ == Mode::Editing && !pendingSet_[i])
            continue;
        Cell cell = pending_[i];
        if (!pendingSet_[i] && def.type == FieldType::Integer)
            cell.isInteger = true; // an unset integer field of a new record holds 0
        values.push_back(cell);
        names << schema::quoted(def.name);
        marks << QStringLiteral("?");
    }

    QString sql;
    if (mode_ == Mode::Adding) {
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(schema::quoted(table_->name), names.join(u','), marks.join(u','));
    } else {
        QStringList assignments;
        for (const QString& name : names)
            assignments << name + QStringLiteral("=?");
        if (assignments.isEmpty()) {
            mode_ = Mode::Browse;
            return;
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(schema::quoted(table_->name), assignments.join(u','));
    }
    detail::Statement statement = connection_->prepare(sql);
    int position = 1;
    for (const Cell& value : values)
        bind(statement.get(), position++, value);
    if (mode_ == Mode::Editing)
        sqlite3_bind_int64(statement.get(), position, rowid_);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        connection_->fail(rc, what());

    // The cursor now stands on the stored record.
    if (mode_ == Mode::Adding) {
        rowid_ = sqlite3_last_insert_rowid(connection_->handle());
        row_ = pending_;
        for (size_t i = 0; i < row_.size(); ++i) {
            if (!pendingSet_[i] && table_->fields[i].type == FieldType::Integer)
                row_[i].isInteger = true;
        }
    } else {
        for (size_t i = 0; i < row_.size(); ++i) {
            if (pendingSet_[i])
                row_[i] = pending_[i];
        }
    }
    positioned_ = true;
    deleted_ = false;
    eof_ = false;
    mode_ = Mode::Browse;
}

void Table::remove()
{
    requireRecord("削除");
    connection_->suspendScans();
    detail::Statement statement =
        connection_->prepare(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(schema::quoted(table_->name)));
    sqlite3_bind_int64(statement.get(), 1, rowid_);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        connection_->fail(rc, what());
    deleted_ = true;
}

} // namespace store
