#pragma once

#include "store/schema.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

// What `kelvora-db check` asks of every stored value, on a file and on a server alike: the shape
// of the catalogue (schema::Shape), and the lines that name a value that does not have it.
namespace store::schema {

// Whether a text value has `shape`.
bool textFits(Shape shape, QByteArrayView text);
// Whether a value of an integer field fits it: 0 or 1 for a flag, else a 16-bit integer.
bool integerFits(Shape shape, qint64 value);
// What the values of a field should look like, as the check's lines say it.
QString expectedShape(const FieldDef& field);
// A stored value as one short line of text: control characters spelled out, a long one cut.
QString shownValue(const QString& text);

// The line for a row with a value that is NULL or does not have its field's shape; `key` names
// the row ("予約_設定番号=00001, …"), `shown` is the value from shownValue().
QString faultyValueLine(const TableDef& table, const QString& key, const FieldDef& field, bool isNull, const QString& shown);

// Names the first few faults of each kind and counts the rest.
class FaultTally {
public:
    explicit FaultTally(QStringList& problems) : problems_(problems) {}
    void add(const QString& kind, const std::function<QString()>& line);
    // Lines for the kinds that had more than were named.
    void close();

private:
    QStringList& problems_;
    QHash<QString, int> counts_;
    QStringList order_;
};

} // namespace store::schema
