#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

// Every field of every record of a table of Kelvora.mdb, as texts, in the order of the table's
// first index (its key), so that two states of a table can be compared whole.
std::vector<QStringList> tableContents(const QString& table);

using Contents = std::map<QString, std::vector<QStringList>>;
Contents tableContents(const QStringList& tables);

// Every table, in the order the reorganisation copies them.
extern const QStringList kAllTables;
