#pragma once

#include "store/database.h"

#include <QString>

namespace store {

// Where a desk's database is: the server that the data folder's Kelvora.ini names, or else the
// file Kelvora.mdb in that folder. The program finds it once, at start (or at the first start's
// choice of a folder), opens it and hands the open database to everything it calls.
struct DeskDatabase {
    QString folder;  // the data folder, absolute
    QString address; // the server's connection string as the settings file holds it; empty for the file

    bool onServer() const { return !address.isEmpty(); }
    // Kelvora.mdb and Kelvorabkup.mdb of the folder: by their bare names when the folder is the
    // process's current folder (as messages have always named them), else by their full paths.
    QString mainFile() const;
    QString backupFile() const;
};

// Opens the desk's database: the server, or the main file; a missing file or an unreachable
// server is a StoreError. Only the program's start (and the tools) call it: everything above the
// store is handed the database that is open already.
Database openDeskDatabase(const DeskDatabase& where);

// Reads the folder's Kelvora.ini, when there is one. Its [database] `connection` is the whole
// text after "connection=" on its line (commas, quotes, spaces and "=" are libpq's and reach it
// unchanged). A settings file that names no usable connection (none, one libpq cannot read, or
// one holding a password) is a StoreError naming the file and the reason: a desk never falls back
// to a file of its own, which no other desk would see.
DeskDatabase deskDatabaseIn(const QString& folder);

// Writes a settings file naming the server `address` into `folder` (the tools and tests use it).
void writeDeskSettings(const QString& folder, const QString& address);

} // namespace store
