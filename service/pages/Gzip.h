#pragma once
#include <string>

// The bytes in gzip form (what browsers take as Content-Encoding: gzip), at zlib's level
// (1 fastest to 9 smallest, or Z_DEFAULT_COMPRESSION).
std::string Gzip(const std::string& bytes, int level);
