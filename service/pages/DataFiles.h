#pragma once
#include <optional>
#include <string>

// Whole files of the data folder, byte for byte. A file is written beside its place and
// renamed into it, so a reader never sees half of one.
std::optional<std::string> ReadDataFile(const std::string& path);
// Throws std::runtime_error when the file cannot be written.
void WriteDataFile(const std::string& path, const std::string& bytes);
