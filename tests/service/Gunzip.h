#pragma once
#include <string>

// The bytes a gzip stream holds (up to 1 MB); a failed expectation when it is not one.
std::string Gunzip(const std::string& packed);
