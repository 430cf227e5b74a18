#pragma once

#include "store/schema.h"

#include <QString>

// Faults of a database file and its folder, made on purpose by tests.

// Turns the immutable attribute of a file or folder on or off; false when the file system or the
// process's privileges do not allow it. Unlike permissions it also stops root, as whom the tests run.
bool setImmutable(const QString& path, bool on);

// A file or folder that nobody may change for as long as this lives.
class ImmutablePath {
public:
    explicit ImmutablePath(const QString& path) : path_(path), holds_(setImmutable(path, true)) {}
    ~ImmutablePath()
    {
        if (holds_)
            setImmutable(path_, false);
    }
    ImmutablePath(const ImmutablePath&) = delete;
    ImmutablePath& operator=(const ImmutablePath&) = delete;

    bool holds() const { return holds_; }

private:
    QString path_;
    bool holds_;
};

// Copies the database file `source` to `copy` as a crash in the middle of a save leaves it: the
// save has written part of its pages into `copy`, and `copy` + "-journal" holds those pages as
// they were. Opened as the program opens it, `copy` is rolled back to `source` as it is now; read
// without the journal it holds part of the save. `source` itself is left as it was.
void copyWithSaveCutShort(const QString& source, const QString& copy);

// Runs SQL on the database file `path` through a connection of its own, as another program would.
void runOn(const QString& path, const QString& sql);

// SQL that takes from a database of this program what the versions after `version` added: their
// tables, their indexes on the tables of `version`, and their triggers.
QString dropLaterThan(int version, store::schema::Engine engine = store::schema::Engine::File);
// Turns the database file `path`, made by this program, into one as the program of `version`
// made it: without what later versions added, with that version recorded (none for version 1).
void makeFormerVersionFile(const QString& path, int version = 1);

// Records `version` in the database file `path` as a later program would.
void setFileVersion(const QString& path, int version);
