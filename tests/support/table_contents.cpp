#include "table_contents.h"

#include "store/database.h"
#include "store/desk_database.h"

#include <QDir>
#include "store/schema.h"

#include <algorithm>

const QStringList kAllTables = {"カレンダー", "マスタ", "営業",     "基本", "設定",     "特定日",   "日別",          "発番",
                                "予約",       "予約者", "予約取消", "祝日", "定期予約", "定期日程", "キャンセル待ち"};

std::vector<QStringList> tableContents(const QString& table)
{
    const auto& indexes = store::schema::indexes();
    const auto key = std::find_if(indexes.begin(), indexes.end(), [&](const auto& index) { return index.table == table; });
    store::Table cursor = store::openDeskDatabase(store::deskDatabaseIn(QDir::currentPath())).table(table);
    cursor.setIndex(key->name);
    std::vector<QStringList> records;
    for (cursor.seek(">=", {store::Value()}); !cursor.eof(); cursor.moveNext()) {
        QStringList record;
        for (const auto& field : store::schema::findTable(table)->fields)
            record << cursor.text(field.name);
        records.push_back(record);
    }
    return records;
}

Contents tableContents(const QStringList& tables)
{
    Contents all;
    for (const QString& table : tables)
        all[table] = tableContents(table);
    return all;
}
