#pragma once

#include <QString>

// The PostgreSQL server the tests run the store against. CTest starts one for the whole run and
// names its socket folder in KELVORA_TEST_SERVER; a test program started by hand starts its own
// (tests/support/test_server.sh) and stops it when it ends. A server that cannot be started
// fails the test: it is never skipped.
namespace test_server {

// The connection string of a new, empty database on the server.
QString freshDatabase();
// The server's Unix socket, for a link put in front of it (support/link_proxy).
QString socketFile();
// Drops a database made by freshDatabase(), closing what is still connected to it.
void dropDatabase(const QString& address);
// Runs SQL as the server's administrator on the database of `address`, or on the maintenance
// database when it is empty (to break a database on purpose, stop a connection, make a role).
void runSql(const QString& sql, const QString& address = {});

} // namespace test_server
