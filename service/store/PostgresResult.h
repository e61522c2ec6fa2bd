#pragma once
#include <libpq-fe.h>
#include <cstdint>
#include <memory>
#include <string>

// The rows a statement returned, in binary form, or how many rows it changed.
class PostgresResult {
public:
    explicit PostgresResult(PGresult* result) : result_(result, PQclear) {}

    int Rows() const { return PQntuples(result_.get()); }
    // Rows an INSERT, UPDATE or DELETE touched.
    int Changed() const;

    // A whole number of any width (bigint, integer, smallint, boolean).
    std::int64_t Integer(int row, int column) const;
    // The value's bytes as they are (bytea, text).
    std::string Bytes(int row, int column) const;
    bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }

private:
    std::shared_ptr<PGresult> result_;
};
