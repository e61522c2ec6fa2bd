#include "service/pages/CharacterFileName.h"
#include "cast/WebCharacterName.h"
#include "service/pages/ContentHash.h"
#include <vector>

namespace {

// Decimal, without leading zeros, up to 9999.
bool IsIndex(const std::string& text)
{
    if (text.empty() || text.size() > 4 || (text[0] == '0' && text.size() > 1))
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::vector<std::string> Parts(const std::string& name)
{
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', at)) {
        parts.push_back(name.substr(at, dot - at));
        at = dot + 1;
    }
    parts.push_back(name.substr(at));
    return parts;
}

} // namespace

std::optional<CharacterFileName> ParseCharacterFileName(const std::string& name)
{
    std::vector<std::string> parts = Parts(name);
    if (parts.size() < 2 || parts.size() > 4 || !IsWebCharacterName(parts.front()))
        return std::nullopt;
    CharacterFileName parsed{ parts.front(), std::string(), std::string(), nullptr };
    const std::string extension = parts.back();
    std::vector<std::string> middle(parts.begin() + 1, parts.end() - 1);
    if (!middle.empty() && IsContentHash(middle.back())) {
        parsed.hash = middle.back();
        middle.pop_back();
    }
    if (middle.size() > 1 || (!middle.empty() && !IsIndex(middle.front())))
        return std::nullopt;
    const bool indexed = !middle.empty();
    if (extension == "json" && !indexed && parsed.hash.empty())
        parsed.type = "application/json";
    else if (extension == "png" && (!indexed || middle.front() != "0"))
        parsed.type = "image/png";
    else if (extension == "wav" && indexed)
        parsed.type = "audio/wav";
    else
        return std::nullopt;
    parsed.file = parsed.character + (indexed ? "." + middle.front() : std::string()) + "." + extension;
    return parsed;
}
