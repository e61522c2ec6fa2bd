#include "service/store/PostgresResult.h"
#include <cstdlib>
#include <stdexcept>

int PostgresResult::Changed() const
{
    return std::atoi(PQcmdTuples(result_.get()));
}

std::int64_t PostgresResult::Integer(int row, int column) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row, column));
    const int length = PQgetlength(result_.get(), row, column);
    if (length != 1 && length != 2 && length != 4 && length != 8)
        throw std::runtime_error("database: a column that should hold a number holds " + std::to_string(length) +
                                 " bytes");
    // Big-endian, two's complement: the first byte carries the sign.
    std::uint64_t bits = (bytes[0] & 0x80) && length > 1 ? ~std::uint64_t(0) : 0;
    for (int i = 0; i < length; ++i)
        bits = bits << 8 | bytes[i];
    return static_cast<std::int64_t>(bits);
}

std::string PostgresResult::Bytes(int row, int column) const
{
    return std::string(PQgetvalue(result_.get(), row, column),
                       static_cast<size_t>(PQgetlength(result_.get(), row, column)));
}
