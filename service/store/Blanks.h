#pragma once
#include <string>

// The text without the spaces, tabs and carriage returns at either end.
std::string TrimBlanks(const std::string& text);
