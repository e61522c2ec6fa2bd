#pragma once
#include <string>

// The names under which characters go on the web: they become file names and parts of
// addresses, so only letters, digits, blanks, '-' and '_' (1 to 64, the first a letter
// or digit). Shared by the tool that writes the web characters and the site serving them.
inline bool IsWebCharacterName(const std::string& name)
{
    const auto alphanumeric = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    if (name.empty() || name.size() > 64 || !alphanumeric(name[0]))
        return false;
    for (char c : name)
        if (!alphanumeric(c) && c != ' ' && c != '-' && c != '_')
            return false;
    return true;
}
