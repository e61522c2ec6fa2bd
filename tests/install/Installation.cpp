#include "Installation.h"
#include "ProcessTree.h"
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

namespace {

// Installing and uninstalling take a few seconds under Wine; this is only the deadline.
const DWORD SetupTimeout = 180000;

std::string ShellFolder(int id)
{
    char path[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) {
        ADD_FAILURE() << "the shell does not know folder " << id;
        return std::string();
    }
    return path;
}

} // namespace

std::string BesideTest(const std::string& name)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length < MAX_PATH ? length : 0);
    return program.substr(0, program.rfind('\\') + 1) + name;
}

std::string DefaultInstallFolder()
{
    return ShellFolder(CSIDL_PROGRAM_FILES) + "\\Parlacard";
}

std::string CharacterFolder()
{
    char windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_TRUE(length > 0 && length < MAX_PATH);
    return std::string(windows, length < MAX_PATH ? length : 0) + "\\MSAgent\\Chars";
}

std::string StartMenuFolder()
{
    return ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Parlacard Maker";
}

const std::vector<std::string>& BundledCharacters()
{
    static const std::vector<std::string> names = { "Tolvan", "Mirelle", "Grumbold", "Merlin",   "Peedy",
                                                    "Genie",  "Robby",   "Yulebard", "Crookbeak" };
    return names;
}

unsigned long InstallSilently(const std::string& folder)
{
    // /D= must come last and stays unquoted, as NSIS reads it.
    return RunProcessTree("\"" + BesideTest("ParlacardSetup.exe") + "\" /S" + (folder.empty() ? "" : " /D=" + folder),
                          SetupTimeout);
}

unsigned long UninstallSilently(const std::string& folder)
{
    return RunProcessTree("\"" + folder + "\\Uninstall.exe\" /S", SetupTimeout);
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
