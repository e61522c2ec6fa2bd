#include "service/pages/PageLinks.h"
#include <algorithm>

namespace {

bool IsScript(const std::string& address)
{
    return address.size() > 3 && address.compare(address.size() - 3, 3, ".js") == 0;
}

} // namespace

// The addresses are the site's own file names (letters, digits, '-', '_', '/', '.'):
// nothing in them needs escaping in JSON.
std::string ImportMap(const std::map<std::string, std::string>& addresses)
{
    std::string imports;
    for (const auto& [plain, hashed] : addresses)
        if (IsScript(plain))
            imports += (imports.empty() ? "\"" : ",\"") + plain + "\":\"" + hashed + "\"";
    return "{\"imports\":{" + imports + "}}";
}

std::string LinkHashedAddresses(const std::string& page, const std::map<std::string, std::string>& addresses,
                                const std::string& importMap)
{
    std::string linked = page;
    for (const auto& [plain, hashed] : addresses) {
        const std::string quoted = "\"" + plain + "\"";
        for (size_t at = linked.find(quoted); at != std::string::npos; at = linked.find(quoted, at + hashed.size()))
            linked.replace(at, quoted.size(), "\"" + hashed + "\"");
    }
    const size_t firstModule =
        std::min(linked.find("<link rel=\"modulepreload\""), linked.find("<script type=\"module\""));
    if (firstModule != std::string::npos)
        linked.insert(firstModule, "<script type=\"importmap\">" + importMap + "</script>\n");
    return linked;
}
