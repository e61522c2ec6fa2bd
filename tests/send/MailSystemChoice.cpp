#include "MailSystemChoice.h"
#include "support/FileText.h"
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const char AnswerFile[] = "MockMapiAnswer.txt";
const char CallsFile[] = "MockMapiCalls.txt";
const char RelaunchedVariable[] = "PARLACARD_SEND_TESTS_RELAUNCHED";

std::string ProgramPath()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string Beside(const std::string& name)
{
    const std::string program = ProgramPath();
    return program.substr(0, program.find_last_of('\\') + 1) + name;
}

// Wine's per-program override key: HKCU\Software\Wine\AppDefaults\<exe>\DllOverrides.
std::string OverridesKey()
{
    const std::string program = ProgramPath();
    return "Software\\Wine\\AppDefaults\\" + program.substr(program.find_last_of('\\') + 1) + "\\DllOverrides";
}

bool OverridesKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, OverridesKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Runs this program again with the same command line and answers its exit code.
DWORD RunAgain()
{
    std::string commandLine = GetCommandLineA();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    SetEnvironmentVariableA(RelaunchedVariable, "1");
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        fprintf(stderr, "could not start the test program again: error %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// Wine looks for a program's own override key once, as the program starts, and never
// sees one created later (its values, though, are read at each load). A run that does not
// find the key creates it and goes again as a new process, before any test has run.
struct OverridesKeyAtStart {
    OverridesKeyAtStart()
    {
        if (OverridesKeyExists() || GetEnvironmentVariableA(RelaunchedVariable, nullptr, 0) > 0)
            return;
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, OverridesKey().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            fprintf(stderr, "could not create %s: the address book tests will fail\n", OverridesKey().c_str());
            return;
        }
        RegCloseKey(key);
        ExitProcess(RunAgain());
    }
} overridesKeyAtStart;

void SetOverride(const char* loadOrder)
{
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, OverridesKey().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr);
    ASSERT_EQ(ERROR_SUCCESS, result) << "creating " << OverridesKey();
    result = RegSetValueExA(key, "mapi32", 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder),
                            static_cast<DWORD>(strlen(loadOrder) + 1));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, result) << "setting the mapi32 override";
}

void RemoveOverride()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, OverridesKey().c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    const LONG result = RegDeleteValueA(key, "mapi32");
    RegCloseKey(key);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "removing the mapi32 override failed with error " << result;
}


} // namespace

MailSystemChoice::MailSystemChoice(MailSystem system)
{
    DeleteFileA(Beside(AnswerFile).c_str());
    DeleteFileA(Beside(CallsFile).c_str());
    if (!OverridesKeyExists())
        ADD_FAILURE() << OverridesKey() << " was missing when this program started: Wine will not read it";
    switch (system) {
    case MailSystem::Mock:
        if (GetModuleHandleA("MAPI32.DLL"))
            ADD_FAILURE() << "a MAPI32.DLL is loaded already (Wine keeps its own once used): the mock cannot load";
        SetOverride("native,builtin");
        break;
    case MailSystem::WinesOwn:
        RemoveOverride();
        break;
    case MailSystem::None:
        SetOverride("");   // an empty load order disables the library
        break;
    }
}

MailSystemChoice::~MailSystemChoice()
{
    RemoveOverride();
    DeleteFileA(Beside(AnswerFile).c_str());
    DeleteFileA(Beside(CallsFile).c_str());
}

void MailSystemChoice::Answer(const std::vector<std::string>& instructions) const
{
    std::string text;
    for (const std::string& line : instructions)
        text += line + "\r\n";
    HANDLE file = CreateFileA(Beside(AnswerFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "creating " << AnswerFile;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(wrote && written == text.size()) << "writing " << AnswerFile;
}

std::vector<std::string> MailSystemChoice::Calls() const
{
    std::vector<std::string> lines;
    const std::string text = ReadFileText(Beside(CallsFile));
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}
