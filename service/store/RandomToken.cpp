#include "service/store/RandomToken.h"
#include <sys/random.h>
#include <cerrno>
#include <stdexcept>

namespace {

const std::uint64_t FirstId = 100000000ull;     // the smallest of 9 digits
const std::uint64_t IdCount = 9999999999ull - FirstId + 1;

void FillRandom(void* buffer, size_t size)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const ssize_t got = getrandom(bytes, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw std::runtime_error("the system's random source cannot be read");
        bytes += got;
        size -= static_cast<size_t>(got);
    }
}

} // namespace

std::uint64_t RandomGreetingId()
{
    // Drawing again above the last whole multiple keeps every id equally likely.
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % IdCount;
    std::uint64_t drawn;
    do {
        FillRandom(&drawn, sizeof drawn);
    } while (drawn >= limit);
    return FirstId + drawn % IdCount;
}

std::string RandomToken()
{
    unsigned char bytes[16];
    FillRandom(bytes, sizeof bytes);
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (unsigned char byte : bytes) {
        token += digits[byte >> 4];
        token += digits[byte & 15];
    }
    return token;
}
