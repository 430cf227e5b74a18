// `kelvora-db check`: the file against the schema catalogue, row by row where the program would
// misread a value, quickly enough for a file of a million reservations (one pass over each table,
// the duplicate keys read from their indexes).

#include "store/file_tools.h"

#include "store/database.h"
#include "store/raw_file.h"
#include "store/reserver_keys.h"
#include "store/schema.h"
#include "store/schema_upgrade.h"
#include "store/store_error.h"
#include "store/value_shape.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <functional>
#include <sqlite3.h>

namespace store {

namespace {

using detail::columnText;
using detail::RawFile;
using schema::FieldDef;
using schema::FieldType;
using schema::Shape;

// Why a stored value is not what the program reads.
enum Fault { Sound = 0, Null = 1, Misshapen = 2 };

Fault faultOf(sqlite3_value* value, FieldType type, Shape shape)
{
    const int storage = sqlite3_value_type(value);
    if (storage == SQLITE_NULL)
        return Null;
    if (type == FieldType::Integer)
        return storage == SQLITE_INTEGER && schema::integerFits(shape, sqlite3_value_int64(value)) ? Sound : Misshapen;
    if (shape == Shape::Free)
        return Sound;
    if (storage != SQLITE_TEXT)
        return Misshapen;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return schema::textFits(shape, QByteArrayView(text, sqlite3_value_bytes(value))) ? Sound : Misshapen;
}

// shape_fault(value, field type, shape): the Fault of one stored value.
void shapeFaultFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    sqlite3_result_int(context, faultOf(arguments[0], FieldType(sqlite3_value_int(arguments[1])), Shape(sqlite3_value_int(arguments[2]))));
}

// A stored value as one short line of text.
QString shown(sqlite3_stmt* stmt, int column)
{
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return QStringLiteral("NULL");
    return schema::shownValue(columnText(stmt, column));
}

QString columnList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << schema::quoted(name);
    return quoted.join(u',');
}

struct Column {
    QString type;
    bool notNull = false;
};

class Checker {
public:
    explicit Checker(const QString& path)
        : file_(path, RawFile::Mode::Read), version_(detail::storedVersion(file_.get(), path)), tally_(problems_)
    {
        const int rc = sqlite3_create_function(file_.get(), "shape_fault", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY,
                                               nullptr, shapeFaultFunction, nullptr, nullptr);
        if (rc != SQLITE_OK)
            file_.fail(rc);
    }

    // `progress` hears the steps: the definitions, the integrity check, the rows of each table
    // and the keys of each unique index.
    QStringList run(const Progress& progress)
    {
        const auto& indexes = schema::indexes();
        const qint64 steps = 2 + qint64(schema::tables().size()) +
                             std::count_if(indexes.begin(), indexes.end(), [](const schema::IndexDef& i) { return i.unique; });
        qint64 done = 0;
        for (const schema::TableDef& table : schema::tables()) {
            if (table.since <= version_)
                checkTableDefinition(table);
        }
        checkIndexes();
        checkTriggers();
        checkUnknownObjects();
        report(progress, ++done, steps);
        if (!checkIntegrity())
            return problems_; // rows of a damaged file cannot be read one by one
        report(progress, ++done, steps);
        for (const schema::TableDef& table : schema::tables()) {
            checkRows(table);
            report(progress, ++done, steps);
        }
        checkReserverKeys();
        for (const schema::IndexDef& index : indexes) {
            if (index.unique) {
                checkDuplicates(index);
                report(progress, ++done, steps);
            }
        }
        tally_.close();
        return problems_;
    }

private:
    void checkTableDefinition(const schema::TableDef& table)
    {
        QHash<QString, Column>& columns = columns_[table.name];
        for (const QStringList& row :
             file_.rows(QStringLiteral("SELECT name, type, \"notnull\" FROM pragma_table_info(%1)").arg(sqlLiteral(table.name))))
            columns.insert(row[0], Column{row[1], row[2] == QLatin1String("1")});
        if (columns.isEmpty()) {
            problems_ << QStringLiteral("テーブル「%1」がありません。").arg(table.name);
            return;
        }
        QStringList nullable;
        for (const FieldDef& field : table.fields) {
            const auto found = columns.constFind(field.name);
            if (found == columns.constEnd()) {
                problems_ << QStringLiteral("テーブル「%1」に項目「%2」がありません。").arg(table.name, field.name);
                continue;
            }
            if (found->type.compare(schema::sqlType(field.type), Qt::CaseInsensitive) != 0)
                problems_ << QStringLiteral("テーブル「%1」の項目「%2」の型が %3 です（%4 のはずです）。")
                                 .arg(table.name, field.name, found->type, schema::sqlType(field.type));
            if (!found->notNull)
                nullable << QStringLiteral("「%1」").arg(field.name);
        }
        for (auto it = columns.constBegin(); it != columns.constEnd(); ++it) {
            if (table.fieldIndex(it.key()) < 0)
                problems_ << QStringLiteral("テーブル「%1」に余分な項目「%2」があります。").arg(table.name, it.key());
        }
        const QList<QStringList> strict = file_.rows(
            QStringLiteral("SELECT strict FROM pragma_table_list WHERE schema = 'main' AND name = %1").arg(sqlLiteral(table.name)));
        strict_[table.name] = !strict.isEmpty() && strict[0][0] == QLatin1String("1");
        if (!strict_[table.name])
            problems_ << QStringLiteral("テーブル「%1」が STRICT ではないため、項目の型が守られません。").arg(table.name);
        if (!nullable.isEmpty())
            problems_ << QStringLiteral("テーブル「%1」の項目%2に NOT NULL がないため、値のない行を入れられます。")
                             .arg(table.name, nullable.join(QString()));
    }

    void checkIndexes()
    {
        for (const schema::IndexDef& index : schema::indexes()) {
            if (index.since > version_)
                continue;
            const QString name = sqlLiteral(index.storedName());
            const QList<QStringList> owner =
                file_.rows(QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND name = %1").arg(name));
            if (owner.isEmpty()) {
                problems_ << QStringLiteral("テーブル「%1」にインデックス「%2」がありません。").arg(index.table, index.name);
                continue;
            }
            QStringList keys;
            for (const QStringList& key : file_.rows(QStringLiteral("SELECT name FROM pragma_index_info(%1) ORDER BY seqno").arg(name)))
                keys << key[0];
            if (owner[0][0] != index.table || keys != index.keys)
                problems_ << QStringLiteral("テーブル「%1」のインデックス「%2」のキー項目が違います（%3）。")
                                 .arg(index.table, index.name, keys.join(u','));
        }
    }

    void checkTriggers()
    {
        for (const schema::TriggerDef& trigger : schema::triggers()) {
            if (trigger.since <= version_ &&
                file_
                    .rows(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = %1 AND tbl_name = %2")
                              .arg(sqlLiteral(trigger.storedName()), sqlLiteral(trigger.table)))
                    .isEmpty())
                problems_ << QStringLiteral("テーブル「%1」にトリガー「%2」がありません。").arg(trigger.table, trigger.name);
        }
    }

    // Triggers, views, tables and indexes of another program: a trigger or view may change or
    // hide what the program reads and writes.
    void checkUnknownObjects()
    {
        QSet<QString> knownIndexes;
        for (const schema::IndexDef& index : schema::indexes())
            knownIndexes.insert(index.storedName());
        QSet<QString> knownTriggers;
        for (const schema::TriggerDef& trigger : schema::triggers())
            knownTriggers.insert(trigger.table + u'\n' + trigger.storedName());
        static const QHash<QString, QString> kinds = {
            {"table", "テーブル"}, {"index", "インデックス"}, {"view", "ビュー"}, {"trigger", "トリガー"}};
        for (const QStringList& object : file_.rows(QStringLiteral(
                 "SELECT type, name, tbl_name FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY type, name"))) {
            const QString& type = object[0];
            const QString& name = object[1];
            if ((type == QLatin1String("table") && schema::findTable(name)) ||
                (type == QLatin1String("index") && knownIndexes.contains(name)) ||
                (type == QLatin1String("trigger") && knownTriggers.contains(object[2] + u'\n' + name)))
                continue;
            const QString kind = kinds.value(type, type);
            if (type == QLatin1String("table") || type == QLatin1String("view"))
                problems_ << QStringLiteral("このシステムのものではない%1「%2」があります。").arg(kind, name);
            else
                problems_ << QStringLiteral("テーブル「%1」に、このシステムのものではない%2「%3」があります。").arg(object[2], kind, name);
        }
    }

    bool checkIntegrity()
    {
        bool sound = true;
        for (const QStringList& line : file_.rows(QStringLiteral("PRAGMA integrity_check"))) {
            if (line.value(0) != QLatin1String("ok")) {
                problems_ << QStringLiteral("整合性検査: %1").arg(line.value(0));
                sound = false;
            }
        }
        return sound;
    }

    // The fields of the catalogue that the file has.
    QStringList presentFields(const schema::TableDef& table, const QStringList& names) const
    {
        QStringList present;
        for (const QString& name : names) {
            if (columns_[table.name].contains(name))
                present << name;
        }
        return present;
    }

    // The key that names a row: the fields of the table's first index (its Key_ index), or the
    // row number where the file lacks them.
    QStringList keyOf(const schema::TableDef& table) const
    {
        for (const schema::IndexDef& index : schema::indexes()) {
            if (index.table == table.name)
                return presentFields(table, index.keys).size() == index.keys.size() ? index.keys : QStringList{"rowid"};
        }
        return {"rowid"};
    }

    static QString keyText(sqlite3_stmt* stmt, const QStringList& keys)
    {
        QStringList parts;
        for (int i = 0; i < keys.size(); ++i)
            parts << QStringLiteral("%1=%2").arg(keys[i], shown(stmt, i));
        return parts.join(QStringLiteral(", "));
    }

    // One pass over the table, returning only the rows with a value the program would misread.
    // A field that a STRICT table already keeps to its type and from NULL needs no look.
    void checkRows(const schema::TableDef& table)
    {
        const QHash<QString, Column>& columns = columns_[table.name];
        if (columns.isEmpty())
            return;
        std::vector<const FieldDef*> checked;
        for (const FieldDef& field : table.fields) {
            const auto found = columns.constFind(field.name);
            if (found == columns.constEnd())
                continue;
            const bool keptByFile =
                strict_[table.name] && found->notNull && found->type.compare(schema::sqlType(field.type), Qt::CaseInsensitive) == 0;
            if (field.shape == Shape::Free && field.type != FieldType::Integer && keptByFile)
                continue;
            checked.push_back(&field);
        }
        if (checked.empty())
            return;

        const QStringList keys = keyOf(table);
        QStringList selected{columnList(keys)};
        QStringList anyFault;
        for (const FieldDef* field : checked) {
            const QString fault =
                QStringLiteral("shape_fault(%1, %2, %3)").arg(schema::quoted(field->name)).arg(int(field->type)).arg(int(field->shape));
            selected << schema::quoted(field->name) << fault;
            anyFault << fault;
        }
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                .arg(selected.join(u','), schema::quoted(table.name), anyFault.join(QStringLiteral(" OR ")));
        file_.forEachRow(sql, [&](sqlite3_stmt* stmt) {
            for (size_t i = 0; i < checked.size(); ++i) {
                const int column = int(keys.size() + 2 * i);
                const Fault fault = Fault(sqlite3_column_int(stmt, column + 1));
                if (fault == Sound)
                    continue;
                const FieldDef& field = *checked[i];
                tally_.add(QStringLiteral("テーブル「%1」の項目「%2」").arg(table.name, field.name),
                           [&] { return schema::faultyValueLine(table, keyText(stmt, keys), field, fault == Null, shown(stmt, column)); });
            }
        });
    }

    void checkReserverKeys()
    {
        for (const QString& table : {QStringLiteral("予約者"), reserver_keys::kTable}) {
            const schema::TableDef& definition = *schema::findTable(table);
            QStringList names;
            for (const FieldDef& field : definition.fields)
                names << field.name;
            if (definition.since > version_ || presentFields(definition, names).size() != names.size())
                return;
        }
        const bool notes = columns_[reserver_keys::kNotedTable].contains(QStringLiteral("変更_予約者NO"));
        const QString line = reserver_keys::mismatchLine(file_.rows(reserver_keys::sourceQuery()), file_.rows(reserver_keys::storedQuery()),
                                                         notes ? file_.rows(reserver_keys::notedQuery()) : QList<QStringList>());
        if (!line.isEmpty())
            problems_ << line;
    }

    void checkDuplicates(const schema::IndexDef& index)
    {
        const schema::TableDef* table = schema::findTable(index.table);
        if (columns_[index.table].isEmpty() || presentFields(*table, index.keys).size() != index.keys.size())
            return;
        const QString keys = columnList(index.keys);
        const QString sql =
            QStringLiteral("SELECT %1, count(*) FROM %2 GROUP BY %1 HAVING count(*) > 1").arg(keys, schema::quoted(index.table));
        file_.forEachRow(sql, [&](sqlite3_stmt* stmt) {
            tally_.add(QStringLiteral("テーブル「%1」のキー「%2」の重複").arg(index.table, index.name), [&] {
                return QStringLiteral("テーブル「%1」のキー「%2」（%3）が %4 行にあります。1 行だけのはずです。")
                    .arg(index.table, index.name, keyText(stmt, index.keys))
                    .arg(sqlite3_column_int(stmt, int(index.keys.size())));
            });
        });
    }

    RawFile file_;
    int version_; // what the file may be checked for: a table of a later version is not missing
    QStringList problems_;
    schema::FaultTally tally_;
    QHash<QString, QHash<QString, Column>> columns_;
    QHash<QString, bool> strict_;
};

} // namespace

QStringList checkDatabaseFile(const QString& path, const Progress& progress)
{
    requireDatabaseFile(path);
    return Checker(path).run(progress);
}

} // namespace store
