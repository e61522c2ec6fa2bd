#pragma once
#include <cstdint>
#include <string>

// From the system's secure random source; throws when it cannot be read.

// A greeting id of 9 or 10 digits, evenly spread: ids tell nothing about each other.
std::uint64_t RandomGreetingId();
// 128 random bits as 32 lower-case hex digits, for links and forms nobody can guess.
std::string RandomToken();
