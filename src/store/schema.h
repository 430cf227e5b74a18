#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The catalogue of the database file: the tables with their fields in copy order, and the
// indexes with their key fields, each with the version of the file that first had it.
// `kelvora-db create` builds a file from it, `kelvora-db check` verifies a file against it, the
// upgrade adds what an older file lacks, and the cursor layer reads it to convert values.
namespace store::schema {

// The version of the files this program makes, kept in the file (PRAGMA user_version). Files made
// before versions were kept hold 0 and are version 1.
constexpr int kCurrentVersion = 4;

enum class FieldType {
    Text,     // text; integers written to it are kept as their decimal text
    Integer,  // 16-bit signed integer
    Date,     // a date, written as a date or "yyyy/mm/dd" text, held as "yyyy/mm/dd"
    DateText, // text that holds a date as "yyyy/mm/dd", or empty
    Flag,     // 1 or 0, written as an integer and read back as the text "1" or "0"
};

// What the program takes a stored value to look like; `kelvora-db check` names every value that
// does not look so, since the program would misread it. A field that the program only writes
// (`予約_重複`) is left free.
enum class Shape {
    Free,        // any text (any 16-bit integer in an integer field)
    Date,        // "yyyy/mm/dd" with leading zeros, a day that exists
    DateOrEmpty, // the same, or empty text
    Time,        // "hh:mm" from "00:00" to "23:59"
    EndTime,     // the same, or "24:00" (the end of the day)
    Flag,        // "0" or "1" (0 or 1 in an integer field)
    Digits,      // one or more decimal digits
    DateTime,    // "yyyy/mm/dd hh:mm:ss", a moment that exists
};

struct FieldDef {
    QString name;
    FieldType type;
    Shape shape = Shape::Free;
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields;
    int since = 1; // the first file version that has the table

    // Position of a field in `fields`, or -1.
    int fieldIndex(const QString& fieldName) const;
};

struct IndexDef {
    QString name; // as the program spells it, e.g. "Key_予約"
    QString table;
    QStringList keys;
    // The program keeps one record per key (it seeks the key before every insert and updates
    // what it finds), so a key held twice is a fault. The file's index itself does not refuse it.
    bool unique = false;
    int since = 1; // the first file version that has the index

    // Index names are global in a database while "Idx_日付" exists on three tables, so every
    // index is stored under a name qualified by its table.
    QString storedName() const;
};

// A trigger of the program's own, on one table and one kind of write.
struct TriggerDef {
    QString name; // as messages name it, e.g. "Trg_追加"
    QString table;
    QString event; // "INSERT", "UPDATE" or "DELETE"
    // An update fires it only when one of these fields changes (every update when empty).
    QStringList changedFields;
    // What it does, one or more statements separated by ";", on the row as NEW and OLD.
    QString body;
    int since = 1;

    // Qualified by its table, as an index is.
    QString storedName() const;
};

const std::vector<TableDef>& tables();
const std::vector<IndexDef>& indexes();
const std::vector<TriggerDef>& triggers();

const TableDef* findTable(const QString& name);
// Looks an index up within one table, ignoring the case of Latin letters ("key_予約" finds
// "Key_予約").
const IndexDef* findIndex(const QString& table, const QString& name);

// The two engines a database lives in: a file (SQLite) or a server (PostgreSQL).
enum class Engine { File, Server };

// SQL that creates every table, index and trigger of the catalogue in an empty database and, in a
// file, records the current version. On a server every table has a hidden row id (SQLite has its own),
// text compares by code point as SQLite's does, and every index ends with the row id: the cursor
// reads in the order "key, then row id".
QStringList createStatements(Engine engine = Engine::File);
// The tables alone, and the indexes alone: a copy into an empty database writes the records
// before it builds the indexes, which is much faster than keeping them up to date row by row.
QStringList createTableStatements(Engine engine);
QStringList createIndexStatements(Engine engine);
// The triggers alone (on a server each with the function it runs), made after the records and
// indexes of a copy.
QStringList createTriggerStatements(Engine engine);
// SQL that brings a database of `fromVersion` up to the current version: the tables, indexes and
// triggers it lacks, then, in a file, the version.
QStringList upgradeStatements(int fromVersion, Engine engine = Engine::File);
// The column type a field type is given.
QString sqlType(FieldType type, Engine engine = Engine::File);
// A name quoted as an SQL identifier.
QString quoted(const QString& identifier);

} // namespace store::schema
