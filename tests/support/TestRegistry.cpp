#include "support/TestRegistry.h"
#include <shlwapi.h>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

const char* const TestRegistry::KeyPath = "Software\\Zentorix\\Parlacard";

namespace {
std::string SectionPath(const std::string& section)
{
    return section.empty() ? TestRegistry::KeyPath : std::string(TestRegistry::KeyPath) + "\\" + section;
}
}

TestRegistry::TestRegistry()
{
    Wipe();
}

TestRegistry::~TestRegistry()
{
    Wipe();
}

void TestRegistry::Wipe()
{
    for (HKEY root : { HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER }) {
        const DWORD result = SHDeleteKeyA(root, KeyPath);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            ADD_FAILURE() << "could not delete " << KeyPath << ": error " << result;
    }
}

void TestRegistry::SetString(HKEY root, const std::string& section, const std::string& name,
                             const std::string& value)
{
    Set(root, section, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TestRegistry::SetDword(HKEY root, const std::string& section, const std::string& name, DWORD value)
{
    Set(root, section, name, REG_DWORD, &value, sizeof(value));
}

std::optional<std::string> TestRegistry::GetString(HKEY root, const std::string& section,
                                                   const std::string& name) const
{
    std::optional<std::string> data = Get(root, section, name, REG_SZ);
    if (data && !data->empty() && data->back() == '\0')
        data->pop_back();
    return data;
}

std::optional<DWORD> TestRegistry::GetDword(HKEY root, const std::string& section,
                                            const std::string& name) const
{
    const std::optional<std::string> data = Get(root, section, name, REG_DWORD);
    if (!data)
        return std::nullopt;
    DWORD value = 0;
    memcpy(&value, data->data(), std::min(data->size(), sizeof(value)));
    return value;
}

void TestRegistry::Set(HKEY root, const std::string& section, const std::string& name, DWORD type,
                       const void* data, DWORD size)
{
    HKEY key;
    LONG result = RegCreateKeyExA(root, SectionPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS)
        ADD_FAILURE() << "could not write " << SectionPath(section) << "\\" << name << ": error " << result;
}

std::optional<std::string> TestRegistry::Get(HKEY root, const std::string& section, const std::string& name,
                                             DWORD expectedType)
{
    HKEY key;
    if (RegOpenKeyExA(root, SectionPath(section).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::string data;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.resize(size);
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if (result != ERROR_SUCCESS) {
        ADD_FAILURE() << "could not read " << SectionPath(section) << "\\" << name << ": error " << result;
        return std::nullopt;
    }
    if (type != expectedType) {
        ADD_FAILURE() << SectionPath(section) << "\\" << name << " has type " << type << ", not "
                      << expectedType;
        return std::nullopt;
    }
    return data;
}
