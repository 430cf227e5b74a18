#pragma once

// What the server store sends and gets back through libpq, apart from what it means: statements
// waiting for the next round trip, their answers, and the waits on the socket. Only the server
// store includes it (libpq stays inside the store).

#include "store/connection.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <libpq-fe.h>
#include <memory>
#include <vector>

namespace store::detail::pg {

using Clock = std::chrono::steady_clock;

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

struct ConnDeleter {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
using Conn = std::unique_ptr<PGconn, ConnDeleter>;

bool succeeded(const PGresult* result);

// A field of a row as the store hands values over: integer columns as integers, NULL as the empty
// text.
Cell cellOf(const PGresult* result, int row, int column);
// Values as the server takes them: text, an integer as its digits.
QByteArray textOf(const Cell& value);

// The answer to one statement sent with others, once the round trip is over (`arrived`); no
// result when it was never sent or the connection was lost first.
struct Answer {
    Result result;
    bool arrived = false;
};

// A statement waiting for the next round trip: a text run as it is (with values for $1, $2, ...),
// or the preparation or a run of a prepared statement.
struct Command {
    enum class Kind { Text, Prepare, Execute };
    Kind kind = Kind::Text;
    QByteArray sql;  // Text, Prepare
    QByteArray name; // Prepare, Execute
    std::vector<QByteArray> values;
    QString what; // the table or action a failure names
    std::shared_ptr<Answer> answer;
    bool commits = false;

    static Command text(QByteArray sql, QString what = {}, std::shared_ptr<Answer> answer = {}, std::vector<QByteArray> values = {});
    // Hands it to libpq's pipeline; false when the connection cannot take it.
    bool send(PGconn* conn) const;
};

// How a wait for the server ended.
enum class Wait { Done, Lost, Silent };

// Waits until the socket is ready for `events` (POLLIN, POLLOUT), giving the program's windows a
// turn (store::setWhileWaiting) each time the server has kept it waiting a moment; Silent once
// `deadline` passed first.
Wait awaitSocket(PGconn* conn, short events, Clock::time_point deadline);
// A moment's pause, the windows given a turn.
void pauseATurn();
// Sends what libpq holds for the server, reading what comes meanwhile.
Wait flush(PGconn* conn, Clock::time_point deadline);
// The next result, as PQgetResult gives it, once it has come; Lost when the connection is gone
// instead (a server's error before it went is a result).
Wait nextResult(PGconn* conn, Clock::time_point deadline, Result& result);

} // namespace store::detail::pg
