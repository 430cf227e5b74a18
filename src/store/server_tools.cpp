// Work on whole databases on a server, for the database tool.

#include "store/file_tools.h"

#include "store/connection.h"
#include "store/database.h"
#include "store/reserver_keys.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "store/value_shape.h"

#include <QMap>
#include <QSet>
#include <algorithm>

namespace store {

void createServerTables(const QString& address)
{
    const Database database = Database::open(address);
    const std::shared_ptr<detail::Connection> connection = database.connection();
    for (const schema::TableDef& table : schema::tables()) {
        if (connection->hasTable(table.name))
            throw StoreError(QStringLiteral("データベース「%1」にはすでにテーブル「%2」があります。空のデータベースを指定してください。")
                                 .arg(database.fileName(), table.name));
    }
    Transaction transaction(database);
    for (const QString& statement : schema::createStatements(schema::Engine::Server))
        connection->run(statement, QStringLiteral("テーブルの作成"));
    transaction.commit();
    connection->loadCatalogue();
}

namespace {

using Columns = QMap<QString, QStringList>; // name → type, nullable, collation

// The key that names a row in the check's lines: the fields of the table's first index, or the
// row id where the table lacks one of them.
QStringList rowKey(const schema::TableDef& table, const Columns& columns)
{
    for (const schema::IndexDef& index : schema::indexes()) {
        if (index.table != table.name)
            continue;
        for (const QString& key : index.keys) {
            if (!columns.contains(key))
                return {QStringLiteral("rowid")};
        }
        return index.keys;
    }
    return {QStringLiteral("rowid")};
}

// Every value the program would misread, as the file check names them: NULL where a column lets it
// in, a value without the shape of its field, an integer out of its range. The rows are read a
// batch at a time through a cursor on the server, all under one snapshot.
void checkServerRows(detail::Connection& connection, const schema::TableDef& table, const Columns& columns, schema::FaultTally& tally)
{
    std::vector<const schema::FieldDef*> checked;
    for (const schema::FieldDef& field : table.fields) {
        const auto found = columns.constFind(field.name);
        if (found != columns.constEnd() &&
            (field.shape != schema::Shape::Free || field.type == schema::FieldType::Integer || (*found)[1] != QLatin1String("NO")))
            checked.push_back(&field);
    }
    if (checked.empty())
        return;
    const QStringList keys = rowKey(table, columns);
    QStringList selected;
    for (const QString& key : keys)
        selected << schema::quoted(key);
    for (const schema::FieldDef* field : checked)
        selected << schema::quoted(field->name) << QStringLiteral("%1 IS NULL").arg(schema::quoted(field->name));
    const QString what = QStringLiteral("検査");
    connection.run(
        QStringLiteral("DECLARE kelvora_check NO SCROLL CURSOR FOR SELECT %1 FROM %2").arg(selected.join(u','), schema::quoted(table.name)),
        what);
    for (QList<QStringList> rows; !(rows = connection.rows(QStringLiteral("FETCH 5000 FROM kelvora_check"), what)).isEmpty();) {
        for (const QStringList& row : rows) {
            for (size_t i = 0; i < checked.size(); ++i) {
                const schema::FieldDef& field = *checked[i];
                const QString& value = row[keys.size() + 2 * qsizetype(i)];
                const bool isNull = row[keys.size() + 2 * qsizetype(i) + 1] == QLatin1String("t");
                bool number = true;
                const bool fits = !isNull && (field.type == schema::FieldType::Integer
                                                  ? schema::integerFits(field.shape, value.toLongLong(&number)) && number
                                                  : schema::textFits(field.shape, value.toUtf8()));
                if (fits)
                    continue;
                tally.add(QStringLiteral("テーブル「%1」の項目「%2」").arg(table.name, field.name), [&] {
                    QStringList key;
                    for (int k = 0; k < keys.size(); ++k)
                        key << QStringLiteral("%1=%2").arg(keys[k], schema::shownValue(row[k]));
                    return schema::faultyValueLine(table, key.join(QStringLiteral(", ")), field, isNull, schema::shownValue(value));
                });
            }
        }
    }
    connection.run(QStringLiteral("CLOSE kelvora_check"), what);
}

} // namespace

QStringList checkServerDatabase(const QString& address)
{
    const Database database = Database::open(address);
    const std::shared_ptr<detail::Connection> connection = database.connection();
    const QString what = QStringLiteral("検査");
    QStringList problems;
    QMap<QString, Columns> tableColumns;
    for (const schema::TableDef& table : schema::tables()) {
        Columns& columns = tableColumns[table.name];
        for (const QStringList& row : connection->rows(
                 QStringLiteral("SELECT column_name, data_type, is_nullable, coalesce(collation_name, '') FROM information_schema.columns "
                                "WHERE table_schema = current_schema() AND table_name = %1")
                     .arg(sqlLiteral(table.name)),
                 what))
            columns.insert(row[0], row.mid(1));
        if (columns.isEmpty()) {
            problems << QStringLiteral("テーブル「%1」がありません。").arg(table.name);
            continue;
        }
        if (!columns.contains(QStringLiteral("rowid")))
            problems << QStringLiteral("テーブル「%1」に行番号の項目「rowid」がありません。").arg(table.name);
        for (const schema::FieldDef& field : table.fields) {
            const auto found = columns.constFind(field.name);
            if (found == columns.constEnd()) {
                problems << QStringLiteral("テーブル「%1」に項目「%2」がありません。").arg(table.name, field.name);
                continue;
            }
            const QString type = schema::sqlType(field.type, schema::Engine::Server);
            if ((*found)[0] != type)
                problems << QStringLiteral("テーブル「%1」の項目「%2」の型が %3 です（%4 のはずです）。")
                                .arg(table.name, field.name, (*found)[0], type);
            if ((*found)[1] != QLatin1String("NO"))
                problems << QStringLiteral("テーブル「%1」の項目「%2」に NOT NULL がないため、値のない行を入れられます。")
                                .arg(table.name, field.name);
            if (field.type != schema::FieldType::Integer && (*found)[2] != QLatin1String("C"))
                problems << QStringLiteral("テーブル「%1」の項目「%2」の照合順序が \"C\" ではないため、並び順がファイルと違います。")
                                .arg(table.name, field.name);
        }
        for (auto it = columns.constBegin(); it != columns.constEnd(); ++it) {
            if (table.fieldIndex(it.key()) < 0 && it.key() != QLatin1String("rowid"))
                problems << QStringLiteral("テーブル「%1」に余分な項目「%2」があります。").arg(table.name, it.key());
        }
    }
    for (const schema::IndexDef& index : schema::indexes()) {
        const QList<QStringList> keys =
            connection->rows(QStringLiteral("SELECT t.relname, a.attname FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
                                            "JOIN pg_class t ON t.oid = x.indrelid JOIN pg_namespace n ON n.oid = i.relnamespace "
                                            "CROSS JOIN LATERAL unnest(x.indkey) WITH ORDINALITY AS k(attnum, position) "
                                            "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum "
                                            "WHERE n.nspname = current_schema() AND i.relname = %1 ORDER BY k.position")
                                 .arg(sqlLiteral(index.storedName())),
                             what);
        if (keys.isEmpty()) {
            problems << QStringLiteral("テーブル「%1」にインデックス「%2」がありません。").arg(index.table, index.name);
            continue;
        }
        QStringList found;
        for (const QStringList& key : keys)
            found << key[1];
        if (keys[0][0] != index.table || found != index.keys + QStringList{QStringLiteral("rowid")})
            problems << QStringLiteral("テーブル「%1」のインデックス「%2」のキー項目が違います（%3）。")
                            .arg(index.table, index.name, found.join(u','));
        else if (index.unique) {
            const QStringList quotedKeys = [&] {
                QStringList list;
                for (const QString& key : index.keys)
                    list << schema::quoted(key);
                return list;
            }();
            for (const QStringList& twice :
                 connection->rows(QStringLiteral("SELECT %1, count(*) FROM %2 GROUP BY %1 HAVING count(*) > 1 LIMIT 20")
                                      .arg(quotedKeys.join(u','), schema::quoted(index.table)),
                                  what))
                problems << QStringLiteral("テーブル「%1」のキー「%2」（%3）が %4 行にあります。1 行だけのはずです。")
                                .arg(index.table, index.name, twice.mid(0, index.keys.size()).join(QStringLiteral(", ")), twice.last());
        }
    }
    // Tables, views and triggers of another program may change or hide what the program reads.
    for (const QStringList& object : connection->rows(
             QStringLiteral("SELECT CASE c.relkind WHEN 'v' THEN 'ビュー' WHEN 'm' THEN 'ビュー' ELSE 'テーブル' END, c.relname "
                            "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                            "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'v', 'm', 'p') ORDER BY c.relname"),
             what)) {
        if (!schema::findTable(object[1]))
            problems << QStringLiteral("このシステムのものではない%1「%2」があります。").arg(object[0], object[1]);
    }
    QSet<QString> missingTriggers;
    for (const schema::TriggerDef& trigger : schema::triggers())
        missingTriggers.insert(trigger.table + u'\n' + trigger.storedName());
    for (const QStringList& trigger :
         connection->rows(QStringLiteral("SELECT event_object_table, trigger_name FROM information_schema.triggers "
                                         "WHERE trigger_schema = current_schema() GROUP BY 1, 2 ORDER BY 1, 2"),
                          what)) {
        if (!missingTriggers.remove(trigger[0] + u'\n' + trigger[1]))
            problems
                << QStringLiteral("テーブル「%1」に、このシステムのものではないトリガー「%2」があります。").arg(trigger[0], trigger[1]);
    }
    for (const schema::TriggerDef& trigger : schema::triggers()) {
        if (missingTriggers.contains(trigger.table + u'\n' + trigger.storedName()))
            problems << QStringLiteral("テーブル「%1」にトリガー「%2」がありません。").arg(trigger.table, trigger.name);
    }
    schema::FaultTally tally(problems);
    Transaction reading(database, Transaction::ForReading);
    for (const schema::TableDef& table : schema::tables())
        checkServerRows(*connection, table, tableColumns[table.name], tally);
    const auto complete = [&](const QString& name) {
        const schema::TableDef& table = *schema::findTable(name);
        return std::all_of(table.fields.begin(), table.fields.end(),
                           [&](const schema::FieldDef& field) { return tableColumns[name].contains(field.name); });
    };
    if (complete(QStringLiteral("予約者")) && complete(reserver_keys::kTable)) {
        const QString line = reserver_keys::mismatchLine(
            connection->rows(reserver_keys::sourceQuery(), what), connection->rows(reserver_keys::storedQuery(), what),
            complete(reserver_keys::kNotedTable) ? connection->rows(reserver_keys::notedQuery(), what) : QList<QStringList>());
        if (!line.isEmpty())
            problems << line;
    }
    reading.commit();
    tally.close();
    return problems;
}

QStringList checkDatabase(const QString& name, const Progress& progress)
{
    return isServerAddress(name) ? checkServerDatabase(name) : checkDatabaseFile(name, progress);
}

} // namespace store
