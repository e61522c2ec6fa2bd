#include "PlayerTestSupport.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

// The built player stands beside this test program.
std::string PlayerBesideTests()
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of('\\')) + "\\DODevavi.EXE";
}

struct WindowSearch {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindVisibleCharacter(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process == search->process && IsWindowVisible(window) && lstrcmpA(name, "ParlacardStageCharacter") == 0)
        search->found = true;
    return !search->found;
}

} // namespace

TEST(PlayerProgram, PlaysAGreetingFromAFolderWithBlanksAndExitsByItself)
{
    InstalledSampleCharacters installed{ { "PlayerTestA" } };
    TempFolder folder;
    const std::string greetings = folder.File("my greetings");
    ASSERT_TRUE(CreateDirectoryA(greetings.c_str(), nullptr));
    folder.Write("my greetings\\hello there.pcg",
                 GreetingText({ "Nobody,Dance,skipped", "PlayerTestA,Show,Don't Animate", "PlayerTestA,Say,Hi there" }));

    // As the maker starts it: the path unquoted, then the start action.
    std::string commandLine = "\"" + PlayerBesideTests() + "\" " + greetings + "\\hello there.pcg *1";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << commandLine << ": error " << GetLastError();
    CloseHandle(process.hThread);

    WindowSearch search{ process.dwProcessId, false };
    DWORD waited = WAIT_TIMEOUT;
    for (int round = 0; round < 600 && waited == WAIT_TIMEOUT; ++round) {
        if (!search.found)
            EnumWindows(FindVisibleCharacter, reinterpret_cast<LPARAM>(&search));
        waited = WaitForSingleObject(process.hProcess, 50);
    }
    if (waited == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 99);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);

    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited) << "the player did not exit within 30 s";
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(search.found) << "the player never showed its character";
}
