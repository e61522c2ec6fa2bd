#include "settings/Registry.h"
#include <windows.h>
#include <vector>

const char* const SettingsKey = "Software\\Zentorix\\Parlacard";

namespace {
bool OpenSection(const std::string& section, bool create, HKEY* key)
{
    const std::string path = std::string(SettingsKey) + "\\" + section;
    if (create)
        return ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, key, nullptr) == ERROR_SUCCESS;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key) == ERROR_SUCCESS;
}
}

std::string ReadRegString(const std::string& section, const std::string& valueName, const std::string& fallback)
{
    HKEY key;
    if (!OpenSection(section, false, &key))
        return fallback;
    DWORD longest = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest,
                           nullptr, nullptr) != ERROR_SUCCESS) {
        ::RegCloseKey(key);
        return fallback;
    }
    // One byte more than the longest data, zero-filled, so that data stored without its
    // terminating zero still ends.
    std::vector<char> buffer(static_cast<size_t>(longest) + 1, '\0');
    DWORD size = longest;
    const LONG status = ::RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(buffer.data()), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return fallback;
    return std::string(buffer.data());
}

int ReadRegNumber(const std::string& section, const std::string& valueName, int fallback)
{
    HKEY key;
    if (!OpenSection(section, false, &key))
        return fallback;
    DWORD number = 0;
    DWORD size = sizeof(number);
    const LONG status = ::RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(&number), &size);
    ::RegCloseKey(key);
    // Data shorter than a number is not one.
    if (status != ERROR_SUCCESS || size != sizeof(number))
        return fallback;
    return static_cast<int>(number);
}

void WriteRegString(const std::string& section, const std::string& valueName, const std::string& text)
{
    HKEY key;
    if (!OpenSection(section, true, &key))
        return;
    ::RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
}

void WriteRegNumber(const std::string& section, const std::string& valueName, int number)
{
    HKEY key;
    if (!OpenSection(section, true, &key))
        return;
    const DWORD data = static_cast<DWORD>(number);
    ::RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    ::RegCloseKey(key);
}
