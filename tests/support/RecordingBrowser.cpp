#include "support/RecordingBrowser.h"
#include <algorithm>
#include <fstream>
#include <sstream>
#include <gtest/gtest.h>

namespace {
const char* const ShellHandlers[] = { "http\\shell\\open\\command", "https\\shell\\open\\command" };
const char* const PageHandler = "htmlfile\\shell\\open\\command";

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length < MAX_PATH ? length : 0);
    return program.substr(0, program.rfind('\\') + 1);
}

std::optional<std::string> ReadDefault(HKEY key)
{
    char buffer[1024];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::string(buffer, strnlen(buffer, size));
}

void WriteDefault(const std::string& subkey, const std::string& value)
{
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS)
        ADD_FAILURE() << "could not write HKCR\\" << subkey << ": error " << result;
}
}

RecordingBrowser::RecordingBrowser()
    : recorder(ProgramFolder() + "BrowserRecorder.exe"), log(ProgramFolder() + "BrowserRecorder.log")
{
    if (GetFileAttributesA(recorder.c_str()) == INVALID_FILE_ATTRIBUTES)
        ADD_FAILURE() << recorder << " is missing: the test program's build copies it there";
    DeleteFileA(log.c_str());
    for (const char* handler : ShellHandlers)
        SetDefault(handler, RecorderCommand());
    SetHtmCommand(RecorderCommand());
}

RecordingBrowser::~RecordingBrowser()
{
    std::for_each(saved.rbegin(), saved.rend(), &RecordingBrowser::Restore);
    DeleteFileA(log.c_str());
}

std::string RecordingBrowser::RecorderCommand() const
{
    return "\"" + recorder + "\" \"%1\"";
}

void RecordingBrowser::BreakShell()
{
    for (const char* handler : ShellHandlers)
        SetDefault(handler, "\"C:\\no such folder\\browser.exe\" \"%1\"");
}

void RecordingBrowser::SetHtmCommand(const std::string& command)
{
    SetDefault(".htm", "htmlfile");
    SetDefault(PageHandler, command);
}

void RecordingBrowser::RemoveHtmType()
{
    RemoveKey(".htm");
}

std::vector<std::string> RecordingBrowser::WaitForAddresses(size_t count, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<std::string> addresses;
        std::ifstream file(log, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        // Only whole lines count: the recorder may be writing the last one.
        std::string contents = text.str();
        const size_t end = contents.rfind('\n');
        contents.resize(end == std::string::npos ? 0 : end + 1);
        std::istringstream lines(contents);
        for (std::string line; std::getline(lines, line);)
            addresses.push_back(line);
        if (addresses.size() >= count || GetTickCount() - start >= timeoutMs)
            return addresses;
        Sleep(50);
    }
}

void RecordingBrowser::Save(const std::string& subkey)
{
    for (const SavedKey& key : saved) {
        if (key.subkey == subkey)
            return;
    }
    HKEY key;
    const bool existed = RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
    std::optional<std::string> value;
    if (existed) {
        value = ReadDefault(key);
        RegCloseKey(key);
    }
    saved.push_back(SavedKey{ subkey, existed, value });
}

void RecordingBrowser::SetDefault(const std::string& subkey, const std::string& value)
{
    Save(subkey);
    WriteDefault(subkey, value);
}

void RecordingBrowser::RemoveKey(const std::string& subkey)
{
    Save(subkey);
    const LONG result = RegDeleteKeyA(HKEY_CLASSES_ROOT, subkey.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "could not delete HKCR\\" << subkey << ": error " << result;
}

void RecordingBrowser::Restore(const SavedKey& saved)
{
    if (!saved.existed) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, saved.subkey.c_str());
    } else if (saved.value) {
        WriteDefault(saved.subkey, *saved.value);
    } else {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, saved.subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
    }
}
