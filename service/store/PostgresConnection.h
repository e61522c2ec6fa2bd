#pragma once
#include "service/store/PostgresQuery.h"
#include "service/store/PostgresResult.h"
#include <libpq-fe.h>
#include <string>

// One connection to the database, made when first needed and made again after it broke
// (the server restarted, the network dropped): a call that finds the database gone throws
// StoreUnavailable, and the next one tries to connect again.
class PostgresConnection {
public:
    // location: a postgresql:// address or a libpq "key=value" string.
    explicit PostgresConnection(std::string location);
    ~PostgresConnection();
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    PostgresResult Run(const PostgresQuery& query);
    // Statements without values (schema steps, BEGIN, COMMIT).
    void Execute(const char* sql);

    // Whether the last call found the server gone.
    bool FoundServerGone() const { return serverGone_; }
    // Closes it; the next call connects again.
    void Disconnect();

private:
    PGconn* Connected();
    PostgresResult Checked(PGresult* result, const char* sql);

    std::string location_;
    PGconn* connection_ = nullptr;
    bool serverGone_ = false;
};

// BEGIN, then ROLLBACK unless committed.
class PostgresTransaction {
public:
    explicit PostgresTransaction(PostgresConnection& connection);
    ~PostgresTransaction();
    PostgresTransaction(const PostgresTransaction&) = delete;
    PostgresTransaction& operator=(const PostgresTransaction&) = delete;
    void Commit();

private:
    PostgresConnection& connection_;
    bool done_ = false;
};
