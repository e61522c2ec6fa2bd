#pragma once
#include <string>

// The text without white space (blanks, tabs, line breaks) at either end.
std::string TrimWhiteSpace(const std::string& text);
