#include "settings/FileUtil.h"
#include <windows.h>
#include <cstring>

bool FileExists(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return true;
}

bool IsPlainCharacterName(const std::string& name)
{
    if (name.empty() || name.size() > MaxCharacterNameLength || name.find("..") != std::string::npos)
        return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c))
            return false;
    }
    return true;
}

std::string FindCharacterFile(const std::string& characterName)
{
    if (!IsPlainCharacterName(characterName))
        return std::string();
    char windows[260];
    const UINT length = ::GetWindowsDirectoryA(windows, sizeof(windows));
    if (length == 0 || length >= sizeof(windows))
        return std::string();
    const std::string path = std::string(windows, length) + "\\MSAgent\\Chars\\" + characterName + ".ACS";
    return FileExists(path) ? path : std::string();
}
