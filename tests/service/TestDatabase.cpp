#include "TestDatabase.h"
#include "ChildProcess.h"
#include "service/store/RandomToken.h"
#include <cstdlib>
#include <libpq-fe.h>
#include <stdexcept>

namespace {

std::string ClusterAddress()
{
    std::string address = ReadWholeFile(POSTGRES_STATE "/url");
    while (!address.empty() && (address.back() == '\n' || address.back() == '\r'))
        address.pop_back();
    if (address.empty())
        throw std::runtime_error("the tests' PostgreSQL cluster is not running: run the tests through ctest "
                                 "(its fixture starts it)");
    return address;
}

// Runs the statement on the database at the address; its first value.
std::string RunOn(const std::string& address, const std::string& sql)
{
    PGconn* connection = PQconnectdb(address.c_str());
    if (PQstatus(connection) != CONNECTION_OK) {
        const std::string reason = PQerrorMessage(connection);
        PQfinish(connection);
        throw std::runtime_error("cannot reach the tests' database: " + reason);
    }
    PGresult* result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    std::string value;
    if (status == PGRES_TUPLES_OK && PQntuples(result) > 0)
        value = PQgetvalue(result, 0, 0);
    const std::string reason = PQresultErrorMessage(result);
    PQclear(result);
    PQfinish(connection);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw std::runtime_error(sql + ": " + reason);
    return value;
}

void Cluster(const char* command)
{
    const std::string line = std::string("sh " POSTGRES_CLUSTER " ") + command + " " POSTGRES_STATE;
    if (std::system(line.c_str()) != 0)
        throw std::runtime_error(line + " failed");
}

} // namespace

TestDatabase::TestDatabase() : name_("test_" + RandomToken())
{
    const std::string cluster = ClusterAddress();
    RunOn(cluster, "CREATE DATABASE " + name_);
    address_ = cluster.substr(0, cluster.rfind('/') + 1) + name_;
}

TestDatabase::~TestDatabase()
{
    try {
        RunOn(ClusterAddress(), "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
        // The cluster goes at the end of the run anyway.
    }
}

std::string TestDatabase::Value(const std::string& sql) const
{
    return RunOn(address_, sql);
}

void TestDatabase::HaltCluster()
{
    Cluster("halt");
}

void TestDatabase::ResumeCluster()
{
    Cluster("resume");
}
