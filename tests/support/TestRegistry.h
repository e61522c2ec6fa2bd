#pragma once
#include <windows.h>
#include <optional>
#include <string>

// The program's settings keys in the test prefix, HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER "Software\Zentorix\Parlacard": wiped when a test starts and again
// when it ends, so that no test sees another's settings. A section is a subkey; an
// empty section is the key itself.
class TestRegistry {
public:
    static const char* const KeyPath;

    TestRegistry();
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    void SetString(HKEY root, const std::string& section, const std::string& name, const std::string& value);
    void SetDword(HKEY root, const std::string& section, const std::string& name, DWORD value);

    // Nothing when the value is missing; a value of another type fails the test.
    std::optional<std::string> GetString(HKEY root, const std::string& section, const std::string& name) const;
    std::optional<DWORD> GetDword(HKEY root, const std::string& section, const std::string& name) const;

private:
    static void Wipe();
    static void Set(HKEY root, const std::string& section, const std::string& name, DWORD type,
                    const void* data, DWORD size);
    static std::optional<std::string> Get(HKEY root, const std::string& section, const std::string& name,
                                          DWORD expectedType);
};
