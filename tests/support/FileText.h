#pragma once
#include <string>

// The whole content of a file, read while others may still write it; empty when the
// file cannot be opened.
std::string ReadFileText(const std::string& path);

// Creates or replaces the file with exactly these bytes; false when it cannot.
bool WriteFileText(const std::string& path, const std::string& bytes);
