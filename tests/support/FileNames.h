#pragma once
#include <string>
#include <vector>

// The names of the files (not folders) a search pattern finds, in order.
std::vector<std::string> FileNames(const std::string& pattern);
