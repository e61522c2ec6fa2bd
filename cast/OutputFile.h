#pragma once
#include <cstddef>
#include <string>

// Writes a tool's output through a temporary name, so that a failed run leaves no
// half-written file where the build looks for the finished one. Problems are told on
// standard error under the tool's name.
bool WriteOutputFile(const std::string& path, const void* bytes, size_t size, const char* tool);
