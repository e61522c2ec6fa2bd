#include "framework/TextUtil.h"

std::string TrimWhiteSpace(const std::string& text)
{
    const char* const white = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(white);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(white) - first + 1);
}
