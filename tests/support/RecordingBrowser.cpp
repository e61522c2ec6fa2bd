#include "support/RecordingBrowser.h"
#include <shlwapi.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>

namespace {
const char* const ShellHandlers[] = { "http\\shell\\open\\command", "https\\shell\\open\\command" };
const char* const PageHandler = "htmlfile\\shell\\open\\command";
const char* const HtmType = ".htm";

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
    for (const char* subkey : { ShellHandlers[0], ShellHandlers[1], PageHandler, HtmType })
        saved.push_back(Save(subkey));
    for (const char* handler : ShellHandlers)
        WriteDefault(handler, RecorderCommand());
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
        WriteDefault(handler, "\"C:\\no such folder\\browser.exe\" \"%1\"");
}

void RecordingBrowser::SetHtmCommand(const std::string& command)
{
    WriteDefault(HtmType, "htmlfile");
    WriteDefault(PageHandler, command);
}

void RecordingBrowser::RemoveHtmType()
{
    const LONG result = SHDeleteKeyA(HKEY_CLASSES_ROOT, HtmType);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "could not delete HKCR\\" << HtmType << ": error " << result;
}

std::vector<std::string> RecordingBrowser::WaitForAddresses(size_t count, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        std::ifstream file(log, std::ios::binary);
        std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // Only whole lines count: the recorder may be writing the last one.
        std::vector<std::string> addresses;
        for (size_t start = 0, end; (end = contents.find('\n', start)) != std::string::npos; start = end + 1)
            addresses.push_back(contents.substr(start, end - start));
        if (addresses.size() >= count || GetTickCount() - start >= timeoutMs)
            return addresses;
        Sleep(50);
    }
}

RecordingBrowser::SavedKey RecordingBrowser::Save(const std::string& subkey)
{
    HKEY key;
    SavedKey saved{ subkey, RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS,
                    std::nullopt };
    if (saved.existed) {
        saved.value = ReadDefault(key);
        RegCloseKey(key);
    }
    return saved;
}

void RecordingBrowser::Restore(const SavedKey& saved)
{
    if (!saved.existed) {
        SHDeleteKeyA(HKEY_CLASSES_ROOT, saved.subkey.c_str());
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
