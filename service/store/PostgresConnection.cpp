#include "service/store/PostgresConnection.h"
#include "service/store/StoreUnavailable.h"
#include <cstring>
#include <stdexcept>

namespace {

// Each result comes in binary form.
const int BinaryFormat = 1;

// The first line of libpq's words; the rest repeats the statement.
std::string FirstLine(const char* text)
{
    std::string line = text ? text : "unknown error";
    return line.substr(0, line.find('\n'));
}

// Errors that say the server is not there for us just now rather than that the statement
// was wrong: connection trouble (class 08), the server shutting down or starting (57P0x).
bool IsUnavailable(const char* state)
{
    return state && (std::strncmp(state, "08", 2) == 0 || std::strncmp(state, "57P0", 4) == 0);
}

} // namespace

PostgresConnection::PostgresConnection(std::string location) : location_(std::move(location))
{
}

PostgresConnection::~PostgresConnection()
{
    PQfinish(connection_);
}

void PostgresConnection::Disconnect()
{
    PQfinish(connection_);
    connection_ = nullptr;
}

PGconn* PostgresConnection::Connected()
{
    serverGone_ = false;
    if (connection_ && PQstatus(connection_) == CONNECTION_OK)
        return connection_;
    PQfinish(connection_);
    // A server that stops answering (a network gone, not a refusal) fails the calls within
    // about 20 s rather than holding their threads. A location of its own may set other
    // values; it comes later and wins.
    const char* const keys[] = { "connect_timeout", "tcp_user_timeout", "keepalives_idle", "keepalives_interval",
                                 "keepalives_count", "application_name", "dbname", nullptr };
    const char* const values[] = { "10", "20000", "10", "5", "2", "parlacard-service", location_.c_str(), nullptr };
    connection_ = PQconnectdbParams(keys, values, 1);
    if (!connection_)
        throw StoreUnavailable("the database cannot be reached: out of memory");
    if (PQstatus(connection_) != CONNECTION_OK) {
        const std::string reason = FirstLine(PQerrorMessage(connection_));
        Disconnect();
        serverGone_ = true;
        throw StoreUnavailable("the database cannot be reached: " + reason);
    }
    return connection_;
}

PostgresResult PostgresConnection::Checked(PGresult* raw, const char* sql)
{
    PostgresResult result(raw);
    const ExecStatusType status = PQresultStatus(raw);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    const char* state = raw ? PQresultErrorField(raw, PG_DIAG_SQLSTATE) : nullptr;
    const std::string reason = FirstLine(raw ? PQresultErrorMessage(raw) : PQerrorMessage(connection_));
    if (PQstatus(connection_) != CONNECTION_OK || IsUnavailable(state)) {
        Disconnect();
        serverGone_ = true;
        throw StoreUnavailable("the database cannot be reached: " + reason);
    }
    throw std::runtime_error("database: " + reason + " (in: " + FirstLine(sql) + ")");
}

PostgresResult PostgresConnection::Run(const PostgresQuery& query)
{
    PGconn* connection = Connected();
    const std::vector<const char*> values = query.Values();
    const std::vector<int> lengths = query.Lengths();
    const std::vector<int> formats(values.size(), BinaryFormat);
    return Checked(PQexecParams(connection, query.Sql(), query.Count(), query.Types(), values.data(), lengths.data(),
                                formats.data(), BinaryFormat),
                   query.Sql());
}

void PostgresConnection::Execute(const char* sql)
{
    Checked(PQexec(Connected(), sql), sql);
}

PostgresTransaction::PostgresTransaction(PostgresConnection& connection) : connection_(connection)
{
    connection_.Execute("BEGIN");
}

PostgresTransaction::~PostgresTransaction()
{
    if (done_)
        return;
    try {
        connection_.Execute("ROLLBACK");
    } catch (const std::exception&) {
        // A broken connection has rolled back by itself.
    }
}

void PostgresTransaction::Commit()
{
    connection_.Execute("COMMIT");
    done_ = true;
}
