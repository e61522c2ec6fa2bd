// Times the player from its start to its first character on screen: DODevavi.EXE on a
// greeting of one Show, until a visible character window of the new process appears.
// Next to it, as the yardstick, the start and exit of "cmd /c exit", the cost of any
// process start here. Best and median of several runs each.
//
//   PlayerStartBench [path of DODevavi.EXE]    (default: ..\player\DODevavi.EXE from here)
#include "Stopwatch.h"
#include "stage/AcsWriter.h"
#include "stage/SampleCharacter.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int Rounds = 7;
const double TargetMilliseconds = 500;
const DWORD GiveUpMilliseconds = 15000;
const char CharacterName[] = "PlayerBench";

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

struct CharacterSearch {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindCharacterWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<CharacterSearch*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    if (process == search->process && ::IsWindowVisible(window) && ::GetClassNameA(window, name, sizeof name) &&
        ::lstrcmpA(name, "ParlacardStageCharacter") == 0)
        search->found = true;
    return !search->found;
}

// Starts the command line and returns the milliseconds until `arrived` holds for the new
// process (or until it exits, when `arrived` is null); -1 when it fails or takes too long.
// The process is always waited for, so that runs do not overlap.
double TimeProcess(std::string commandLine, bool (*arrived)(DWORD process))
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const Stopwatch watch;
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "PlayerStartBench: cannot start %s (error %lu)\n", commandLine.c_str(), ::GetLastError());
        return -1;
    }
    ::CloseHandle(process.hThread);
    double elapsed = -1;
    if (arrived) {
        while (watch.Milliseconds() < GiveUpMilliseconds) {
            if (arrived(process.dwProcessId)) {
                elapsed = watch.Milliseconds();
                break;
            }
            if (::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
                break;
        }
    }
    if (::WaitForSingleObject(process.hProcess, GiveUpMilliseconds) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
        elapsed = -1;
    } else if (!arrived) {
        elapsed = watch.Milliseconds();
    }
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    if (exitCode != 0)
        std::fprintf(stderr, "PlayerStartBench: %s exited with %lu\n", commandLine.c_str(), exitCode);
    else if (elapsed < 0)
        std::fprintf(stderr, "PlayerStartBench: %s did not get there\n", commandLine.c_str());
    return exitCode == 0 ? elapsed : -1;
}

bool CharacterOnScreen(DWORD process)
{
    CharacterSearch search{ process, false };
    ::EnumWindows(FindCharacterWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Timing {
    double best;
    double median;
};

// Best and median of Rounds runs; false when a run fails.
bool Measure(const std::string& commandLine, bool (*arrived)(DWORD process), Timing& timing)
{
    std::vector<double> runs;
    for (int i = 0; i < Rounds; ++i) {
        const double run = TimeProcess(commandLine, arrived);
        if (run < 0)
            return false;
        runs.push_back(run);
    }
    std::sort(runs.begin(), runs.end());
    timing = { runs.front(), runs[runs.size() / 2] };
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    char self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string player = argc > 1 ? argv[1] : FolderOf(std::string(self, length)) + "\\..\\player\\DODevavi.EXE";

    // The sample character under a name of the benchmark's own, and a greeting that shows it.
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string chars = std::string(windows) + "\\MSAgent\\Chars";
    ::CreateDirectoryA((std::string(windows) + "\\MSAgent").c_str(), nullptr);
    ::CreateDirectoryA(chars.c_str(), nullptr);
    const std::string characterFile = chars + "\\" + CharacterName + ".ACS";
    std::string error;
    const std::vector<uint8_t> character = WriteCharacter(MakeSampleCharacter(), &error);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string greeting = std::string(temp) + "PlayerStartBench.pcg";
    if (character.empty() || !WriteBytes(characterFile, std::string(character.begin(), character.end())) ||
        !WriteBytes(greeting, std::string("Parlacard File Version : 1\r\n\r\n\r\n\r\n\r\n\r\n") + CharacterName +
                                  ",Show,Don't Animate\r\n")) {
        std::fprintf(stderr, "PlayerStartBench: cannot write the character or the greeting %s\n", error.c_str());
        return 1;
    }

    Timing shown{}, anchor{};
    const bool measured = Measure("\"" + player + "\" " + greeting + " *0", CharacterOnScreen, shown) &&
                          Measure("cmd /c exit", nullptr, anchor);
    ::DeleteFileA(characterFile.c_str());
    ::DeleteFileA(greeting.c_str());
    if (!measured)
        return 1;

    std::printf("player start to first character on screen (best / median of %d)\n", Rounds);
    std::printf("  DODevavi.EXE to character   %8.1f / %8.1f ms  (target under %.0f ms)\n", shown.best, shown.median,
                TargetMilliseconds);
    std::printf("  cmd /c exit, start to end   %8.1f / %8.1f ms\n", anchor.best, anchor.median);
    return shown.median < TargetMilliseconds ? 0 : 1;
}
