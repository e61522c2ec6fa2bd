#pragma once
#include <string>

// A pattern for a path of the site. Through a proxy the request names the site in full
// ("http://host/path"); sent to the site itself it names the path only.
inline std::string OnSite(const std::string& pathPattern)
{
    return "(?:http://www\\.parlacard\\.example(?::80)?)?" + pathPattern;
}
