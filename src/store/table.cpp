#include "store/table.h"

#include "base/input.h"
#include "store/store_error.h"

#include <limits>

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
        throw StoreError(QStringLiteral("データベース「%1」にテーブル「%2」がありません。").arg(connection_->name(), tableName));
    }
}

Table::Table(Table&& other) noexcept
    : connection_(std::move(other.connection_)), table_(other.table_), index_(other.index_), keyColumns_(std::move(other.keyColumns_)),
      orderBy_(std::move(other.orderBy_)), seekSql_(std::move(other.seekSql_)), continueSql_(std::move(other.continueSql_)),
      scan_(std::move(other.scan_)), scanSql_(std::move(other.scanSql_)), scanning_(other.scanning_), live_(other.live_),
      scanLimit_(other.scanLimit_), scanRows_(other.scanRows_), window_(std::move(other.window_)), windowRow_(other.windowRow_),
      row_(std::move(other.row_)), rowid_(other.rowid_), rowidLater_(std::move(other.rowidLater_)), positioned_(other.positioned_),
      deleted_(other.deleted_), eof_(other.eof_), noMatch_(other.noMatch_), mode_(other.mode_), pending_(std::move(other.pending_)),
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
    if (!index || !connection_->hasIndex(index->storedName())) {
        throw StoreError(QStringLiteral("データベース「%1」のテーブル「%2」にインデックス「%3」がありません。")
                             .arg(connection_->name(), table_->name, indexName));
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

const QString& Table::seekSql(bool greater, size_t keyCount, int batch)
{
    QString& sql = seekSql_[{greater, keyCount, batch}];
    if (sql.isEmpty()) {
        sql = selectSql(allColumns(), QStringLiteral("(%1) %2 (%3)").arg(keyNames(keyCount), greater ? ">" : ">=", marks(1, int(keyCount))),
                        batch);
    }
    return sql;
}

const QString& Table::continueSql()
{
    if (continueSql_.isEmpty()) {
        const int keyCount = int(keyColumns_.size()) + 1;
        continueSql_ = selectSql(allColumns(), QStringLiteral("(%1) > (%2)").arg(keyNames(keyColumns_.size(), true), marks(1, keyCount)),
                                 connection_->dialect().nextBatch);
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
        throw StoreError(QStringLiteral("%1に現在のレコードがないため、%2できません。").arg(what(), QString::fromUtf8(action)));
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
        return StoreError(QStringLiteral("%1の項目「%2」に値「%3」は格納できません（%4）。").arg(what(), field.name, value.text(), why));
    };
    Cell cell;
    switch (field.type) {
    case FieldType::Text:
    case FieldType::DateText: cell.text = value.text(); break;
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

std::vector<Table::Cell> Table::seekKeys(const std::vector<Value>& keys) const
{
    requireIndex();
    if (keys.empty() || keys.size() > keyColumns_.size())
        throw StoreError(QStringLiteral("%1の検索キーの数が正しくありません。").arg(what()));
    std::vector<Cell> cells;
    for (size_t i = 0; i < keys.size(); ++i)
        cells.push_back(toSeekKey(table_->fields[size_t(keyColumns_[i])], keys[i]));
    return cells;
}

QString Table::marks(int first, int count) const
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << connection_->mark(first + i);
    return marks.join(u',');
}

QString Table::keyNames(size_t count, bool withRowid) const
{
    QStringList names;
    for (size_t i = 0; i < count; ++i)
        names << schema::quoted(table_->fields[size_t(keyColumns_[i])].name);
    if (withRowid)
        names << QStringLiteral("rowid");
    return names.join(u',');
}

QString Table::allColumns() const
{
    QStringList columns{QStringLiteral("rowid")};
    for (const schema::FieldDef& field : table_->fields)
        columns << schema::quoted(field.name);
    return columns.join(u',');
}

QString Table::selectSql(const QString& columns, const QString& where, int batch) const
{
    const QString limit = batch > 0 ? QStringLiteral(" LIMIT %1").arg(batch) : QString();
    return QStringLiteral("SELECT %1 FROM %2%3 WHERE %4 ORDER BY %5%6")
        .arg(columns, schema::quoted(table_->name), indexedBy(), where, orderBy_, limit);
}

QString Table::indexedBy() const
{
    return connection_->dialect().engine == schema::Engine::File ? QStringLiteral(" INDEXED BY ") + schema::quoted(index_->storedName())
                                                                 : QString();
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

int Table::removeRange(const std::vector<Value>& first, const std::vector<Value>& last, const Progress& progress)
{
    // Every batch removes the records after a key (with the rowid, which tells equal keys apart)
    // through the key of the batch's last record along the index, as one statement over the
    // whole range would; the last batch removes the rest of the range. The first batch starts
    // after a key below the range: its first keys, then the lowest value of every other key field.
    // The next starts after the last key removed: read from the range's start again, it would
    // pass over every record deleted so far.
    std::vector<Cell> after = seekKeys(first);
    for (size_t i = after.size(); i < keyColumns_.size(); ++i)
        after.push_back(toSeekKey(table_->fields[size_t(keyColumns_[i])], Value(QString())));
    after.push_back(Cell::ofInteger(kLowestInteger));
    const std::vector<Cell> through = seekKeys(last);
    const int batch = connection_->dialect().removeBatch;
    const int keyCount = int(after.size());
    const QString keys = keyNames(keyColumns_.size(), true);
    const QString afterKey = QStringLiteral("(%1) > (%2)").arg(keys, marks(1, keyCount));
    const QString withinRange = QStringLiteral("(%1) <= (%2)").arg(keyNames(last.size()), marks(keyCount + 1, int(last.size())));
    const QString removal = QStringLiteral("DELETE FROM %1%2 WHERE %3 AND ").arg(schema::quoted(table_->name), indexedBy(), afterKey);
    detail::Statement lastOfBatch = connection_->prepare(selectSql(keys, afterKey + QStringLiteral(" AND ") + withinRange, 1) +
                                                         QStringLiteral(" OFFSET %1").arg(batch - 1));
    detail::Statement removeBatch = connection_->prepare(removal + QStringLiteral("(%1) <= (%2)").arg(keys, marks(keyCount + 1, keyCount)));
    detail::Statement removeRest = connection_->prepare(removal + withinRange);
    const auto bind = [](detail::Statement& statement, const std::vector<Cell>& head, const std::vector<Cell>& tail) {
        int position = 1;
        for (const std::vector<Cell>* part : {&head, &tail}) {
            for (const Cell& key : *part)
                statement->bind(position++, key);
        }
    };
    mode_ = Mode::Browse;
    connection_->suspendScans();
    connection_->forgetWindows(table_->name);
    positioned_ = false;
    eof_ = true;
    noMatch_ = true;

    int removed = 0;
    for (bool full = true; full;) {
        bind(lastOfBatch, after, through);
        full = lastOfBatch->step(what());
        std::vector<Cell> end;
        for (int i = 0; full && i < keyCount; ++i)
            end.push_back(lastOfBatch->cell(i));
        lastOfBatch.reset();
        detail::Statement& removing = full ? removeBatch : removeRest;
        bind(removing, after, full ? end : through);
        removing->step(what());
        removed += int(removing->changed());
        removing.reset();
        report(progress, removed, 0);
        after = std::move(end);
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
    const QString comparison = QString::fromLatin1(op);
    if (comparison != QLatin1String("=") && comparison != QLatin1String(">=") && comparison != QLatin1String(">"))
        throw StoreError(QStringLiteral("%1の検索条件「%2」は使えません。").arg(what(), comparison));
    const std::vector<Cell> cells = seekKeys(keys);
    mode_ = Mode::Browse;
    const bool greater = comparison == QLatin1String(">");
    const int firstBatch = connection_->dialect().firstBatch;
    // A server hands over whole rows a batch at a time: a seek that can find one record at most
    // asks for one, as every row more is a read of the table the look-up does not need. Records it
    // handed over already (read ahead, or by a seek of the same transaction) answer without asking.
    const bool one = comparison == QLatin1String("=") && index_->unique && keys.size() == keyColumns_.size();
    const int batch = one && firstBatch > 0 ? 1 : firstBatch;
    const SeekKeys wanted{windowKeys(cells), greater};
    if (auto [window, at] = batch > 0 ? connection_->windowFor(*index_, wanted.keys, greater) : std::pair(nullptr, size_t(0)); window)
        enterWindow(std::move(window), at);
    else
        startScan(seekSql(greater, keys.size(), batch), cells, false, batch, &wanted);

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

void Table::startScan(const QString& sql, const std::vector<Cell>& keys, bool withRowid, int batch, const SeekKeys* seek)
{
    const qint64 after = withRowid ? currentRowid() : 0;
    live_ = false; // a new scan replaces the current record: nothing to keep of it
    window_.reset();
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
        scan_->bind(position++, key);
    if (withRowid)
        scan_->bind(position, Cell::ofInteger(after));
    if (batch == 0) {
        // A file: the statement steps through the records as the cursor moves.
        scanLimit_ = batch;
        scanRows_ = 0;
        scanning_ = true;
        connection_->addScan(this);
        stepScan();
        return;
    }
    auto window = std::make_shared<detail::Window>();
    window->table = table_;
    window->index = index_;
    try {
        while (scan_->step(what())) {
            detail::Window::Row& row = window->rows.emplace_back();
            for (int column = 0; column < scan_->columns(); ++column)
                row.cells.push_back(scan_->cell(column));
            for (const int column : keyColumns_)
                row.keys.push_back(detail::Window::keyOf(row.cells[size_t(column) + 1], scan_->isNull(column + 1)));
        }
    } catch (const StoreError&) {
        scan_.reset();
        positioned_ = false;
        eof_ = true;
        throw;
    }
    scan_.reset();
    window->reachesEnd = window->rows.size() < size_t(batch);
    if (seek) {
        window->from = seek->keys;
        window->fromGreater = seek->greater;
        // What a transaction read stays true until it writes or ends.
        if (connection_->transactionDepth > 0) {
            window->inTransaction = true;
            window->automatic = true;
            connection_->keepWindow(window);
        }
    }
    enterWindow(std::move(window), 0);
}

void Table::enterWindow(std::shared_ptr<const detail::Window> window, size_t at)
{
    suspendScan();
    deleted_ = false;
    if (at >= window->rows.size()) {
        positioned_ = false;
        eof_ = true;
        return;
    }
    window_ = std::move(window);
    windowRow_ = at;
    rowid_ = window_->rows[at].cells[0].number;
    rowidLater_ = nullptr;
    positioned_ = true;
    eof_ = false;
    scanning_ = true;
    connection_->addScan(this);
}

std::vector<detail::Window::Key> Table::windowKeys(const std::vector<Cell>& cells) const
{
    std::vector<detail::Window::Key> keys;
    keys.reserve(cells.size());
    for (const Cell& cell : cells)
        keys.push_back(detail::Window::keyOf(cell));
    return keys;
}

qint64 Table::currentRowid() const
{
    if (rowidLater_)
        rowid_ = std::exchange(rowidLater_, nullptr)();
    return rowid_;
}

std::vector<detail::Connection::Read> Table::rangeReads(const std::vector<Value>& from, const std::vector<Value>& through, int most) const
{
    const std::vector<Cell> low = seekKeys(from);
    std::vector<int> keyColumns;
    for (const int column : keyColumns_)
        keyColumns.push_back(column + 1);
    QString within = QStringLiteral("(%1) >= (%2)").arg(keyNames(low.size()), marks(1, int(low.size())));
    if (through.empty())
        return {{table_->name, selectSql(allColumns(), within, most), low, keyColumns}};
    const std::vector<Cell> high = seekKeys(through);
    within += QStringLiteral(" AND (%1) <= (%2)").arg(keyNames(high.size()), marks(int(low.size()) + 1, int(high.size())));
    std::vector<Cell> bounds = low;
    bounds.insert(bounds.end(), high.begin(), high.end());
    const QString after = QStringLiteral("(%1) > (%2)").arg(keyNames(high.size()), marks(1, int(high.size())));
    return {{table_->name, selectSql(allColumns(), within, 0), bounds, keyColumns},
            {table_->name, selectSql(allColumns(), after, 1), high, keyColumns}};
}

std::shared_ptr<const detail::Window> Table::rangeWindow(const std::vector<Value>& from, const std::vector<Value>& through, int most,
                                                         const std::vector<std::vector<detail::Window::Row>>& rows) const
{
    auto window = std::make_shared<detail::Window>();
    window->table = table_;
    window->index = index_;
    window->from = windowKeys(seekKeys(from));
    window->inTransaction = connection_->transactionDepth > 0;
    window->rows = rows.at(0);
    // The record after the range tells where it ends; without one the index ends there.
    if (through.empty())
        window->reachesEnd = most == 0 || window->rows.size() < size_t(most);
    else if (!rows.at(1).empty())
        window->rows.push_back(rows.at(1).front());
    else
        window->reachesEnd = true;
    return window;
}

void Table::stepScan()
{
    deleted_ = false;
    live_ = false;
    bool row = false;
    try {
        row = scan_->step(what());
    } catch (const StoreError&) {
        suspendScan();
        positioned_ = false;
        eof_ = true;
        throw;
    }
    if (!row) {
        suspendScan();
        positioned_ = false;
        eof_ = true;
        return;
    }
    ++scanRows_;
    rowid_ = scan_->integer(0);
    live_ = true;
    positioned_ = true;
    eof_ = false;
}

Table::Cell Table::cellAt(size_t position) const
{
    if (window_)
        return window_->rows[windowRow_].cells[position + 1];
    if (!live_)
        return row_[position];
    return scan_->cell(int(position) + 1);
}

QByteArray Table::storedBytes(const QString& fieldName) const
{
    requireRecord("読み取り");
    const int position = positionOf(fieldName);
    if (live_)
        return scan_->bytes(position + 1);
    // A server's text is valid UTF-8, so its value in the window gives its bytes back unchanged.
    if (window_) {
        const Cell& cell = window_->rows[windowRow_].cells[size_t(position) + 1];
        return cell.isInteger ? QByteArray::number(cell.number) : cell.text.toUtf8();
    }
    // A record kept while the connection wrote is read again.
    detail::Statement read = connection_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=%3")
                                                      .arg(schema::quoted(fieldName), schema::quoted(table_->name), connection_->mark(1)));
    read->bind(1, Cell::ofInteger(currentRowid()));
    return read->step(what()) ? read->bytes(0) : QByteArray();
}

void Table::materialize()
{
    if (!live_ && !window_)
        return;
    row_.resize(table_->fields.size());
    for (size_t i = 0; i < row_.size(); ++i)
        row_[i] = cellAt(i);
    live_ = false;
    window_.reset();
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
    deleted_ = false;
    if (window_ && windowRow_ + 1 < window_->rows.size()) {
        rowid_ = window_->rows[++windowRow_].cells[0].number;
        return;
    }
    if (window_ && window_->reachesEnd) {
        suspendScan();
        positioned_ = false;
        eof_ = true;
        return;
    }
    if (!window_ && scanning_ && (scanLimit_ == 0 || scanRows_ < scanLimit_)) {
        stepScan();
        return;
    }
    // The scan was interrupted by a write, or read its whole batch: continue after the current
    // key and rowid.
    suspendScan();
    std::vector<Cell> keys;
    for (int column : keyColumns_)
        keys.push_back(row_[size_t(column)]);
    startScan(continueSql(), keys, true, connection_->dialect().nextBatch);
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
                         : QStringLiteral("%1の項目「%2」の値「%3」は時刻（HH:MM）ではありません。").arg(whichRecord(), field, value));
}

QDate Table::date(const char* fieldName) const
{
    const QString value = field(fieldName).text();
    if (const std::optional<QDate> date = input::storedDate(value))
        return *date;
    const QString field = QString::fromUtf8(fieldName);
    throw StoreError(value.isEmpty()
                         ? QStringLiteral("%1の項目「%2」が空です。").arg(whichRecord(), field)
                         : QStringLiteral("%1の項目「%2」の値「%3」は日付（YYYY/MM/DD）ではありません。").arg(whichRecord(), field, value));
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
        .arg(connection_->name(), table_->name, key.join(QStringLiteral("、")));
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
    for (size_t i = 0; i < table_->fields.size(); ++i) {
        const schema::FieldDef& def = table_->fields[i];
        if (mode_ == Mode::Editing && !pendingSet_[i])
            continue;
        Cell cell = pending_[i];
        if (!pendingSet_[i] && def.type == FieldType::Integer)
            cell.isInteger = true; // an unset integer field of a new record holds 0
        values.push_back(cell);
        names << schema::quoted(def.name);
    }

    QString sql;
    if (mode_ == Mode::Adding) {
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
                  .arg(schema::quoted(table_->name), names.join(u','), marks(1, int(names.size())),
                       QLatin1String(connection_->dialect().insertEnd));
    } else {
        QStringList assignments;
        for (int i = 0; i < names.size(); ++i)
            assignments << names[i] + u'=' + connection_->mark(i + 1);
        if (assignments.isEmpty()) {
            mode_ = Mode::Browse;
            return;
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=%3")
                  .arg(schema::quoted(table_->name), assignments.join(u','), connection_->mark(int(names.size()) + 1));
    }
    detail::Statement statement = connection_->prepare(sql);
    int position = 1;
    for (const Cell& value : values)
        statement->bind(position++, value);
    if (mode_ == Mode::Editing)
        statement->bind(position, Cell::ofInteger(currentRowid()));
    statement->step(what());
    connection_->forgetWindows(table_->name);

    // The cursor now stands on the stored record.
    if (mode_ == Mode::Adding) {
        rowidLater_ = statement->insertedRowidLater();
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
    // A batch read from a server is held whole by this program: removing its current record
    // leaves the rest of it true, so the scan goes on through the batch instead of reading again
    // after every removal. Every other scan stops as before any write.
    const bool keepBatch = scanning_ && connection_->dialect().nextBatch > 0;
    if (keepBatch)
        connection_->removeScan(this);
    else
        materialize();
    connection_->suspendScans();
    if (keepBatch)
        connection_->addScan(this);
    detail::Statement statement =
        connection_->prepare(QStringLiteral("DELETE FROM %1 WHERE rowid=%2").arg(schema::quoted(table_->name), connection_->mark(1)));
    statement->bind(1, Cell::ofInteger(currentRowid()));
    statement->step(what());
    connection_->forgetWindows(table_->name);
    deleted_ = true;
}

} // namespace store
