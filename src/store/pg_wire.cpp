#include "store/pg_wire.h"

#include "store/busy_wait.h"
#include "store/stored_text.h"

#include <cerrno>
#include <poll.h>

namespace store::detail::pg {

namespace {

// How long the server may take to answer before the windows get a turn, and between turns.
constexpr int kWaitTurnMs = 50;

// The type numbers of PostgreSQL's integer columns (int8, int2, int4).
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;

} // namespace

bool succeeded(const PGresult* result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

Cell cellOf(const PGresult* result, int row, int column)
{
    Cell cell;
    const char* text = PQgetvalue(result, row, column);
    const Oid type = PQftype(result, column);
    if (!PQgetisnull(result, row, column) && (type == kInt8 || type == kInt2 || type == kInt4)) {
        cell.isInteger = true;
        cell.number = QByteArray(text).toLongLong();
    } else {
        cell.text = storedText(text, PQgetlength(result, row, column));
    }
    return cell;
}

QByteArray textOf(const Cell& value)
{
    return value.isInteger ? QByteArray::number(value.number) : value.text.toUtf8();
}

Command Command::text(QByteArray sql, QString what, std::shared_ptr<Answer> answer, std::vector<QByteArray> values)
{
    Command command;
    command.sql = std::move(sql);
    command.what = std::move(what);
    command.answer = std::move(answer);
    command.values = std::move(values);
    return command;
}

bool Command::send(PGconn* conn) const
{
    std::vector<const char*> pointers;
    for (const QByteArray& value : values)
        pointers.push_back(value.constData());
    const int count = int(pointers.size());
    switch (kind) {
    case Kind::Text: return PQsendQueryParams(conn, sql.constData(), count, nullptr, pointers.data(), nullptr, nullptr, 0) == 1;
    case Kind::Prepare: return PQsendPrepare(conn, name.constData(), sql.constData(), 0, nullptr) == 1;
    case Kind::Execute: return PQsendQueryPrepared(conn, name.constData(), count, pointers.data(), nullptr, nullptr, 0) == 1;
    }
    return false;
}

Wait awaitSocket(PGconn* conn, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd socket{PQsocket(conn), events, 0};
        if (socket.fd < 0)
            return Wait::Lost;
        const int ready = ::poll(&socket, 1, kWaitTurnMs);
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return Wait::Done; // ready, or broken: libpq tells which
        if (Clock::now() >= deadline)
            return Wait::Silent;
        waitTurn();
    }
}

void pauseATurn()
{
    ::poll(nullptr, 0, kWaitTurnMs);
    waitTurn();
}

Wait flush(PGconn* conn, Clock::time_point deadline)
{
    for (;;) {
        const int left = PQflush(conn);
        if (left <= 0)
            return left == 0 ? Wait::Done : Wait::Lost;
        // Reading what the server sends meanwhile keeps it from waiting for us while we wait for it.
        if (const Wait waited = awaitSocket(conn, POLLIN | POLLOUT, deadline); waited != Wait::Done)
            return waited;
        if (PQconsumeInput(conn) != 1)
            return Wait::Lost;
    }
}

Wait nextResult(PGconn* conn, Clock::time_point deadline, Result& result)
{
    while (PQisBusy(conn)) {
        if (const Wait waited = awaitSocket(conn, POLLIN, deadline); waited != Wait::Done)
            return waited;
        if (PQconsumeInput(conn) != 1)
            return Wait::Lost;
    }
    result.reset(PQgetResult(conn));
    // A server's error comes with its SQLSTATE, even when it closed the connection after it (it
    // was stopped); libpq's own words about a connection gone come without.
    const bool fromServer = result && PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    return PQstatus(conn) == CONNECTION_OK || fromServer ? Wait::Done : Wait::Lost;
}

} // namespace store::detail::pg
