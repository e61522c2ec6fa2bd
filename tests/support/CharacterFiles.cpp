#include "support/CharacterFiles.h"
#include <windows.h>

CharacterFiles::CharacterFiles(const std::vector<std::string>& names)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string agent = std::string(windows) + "\\MSAgent";
    CreateDirectoryA(agent.c_str(), nullptr);
    folder_ = agent + "\\Chars";
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const std::string& name : names) {
        const std::string path = PathOf(name);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            created_.push_back(path);
        }
    }
}

CharacterFiles::~CharacterFiles()
{
    // Back first, so that a file made here and then put aside goes too.
    for (const std::string& path : putAside_)
        MoveFileA((path + ".aside").c_str(), path.c_str());
    for (const std::string& path : created_)
        DeleteFileA(path.c_str());
}

void CharacterFiles::Uninstall(const std::string& name)
{
    const std::string path = PathOf(name);
    if (MoveFileA(path.c_str(), (path + ".aside").c_str()))
        putAside_.push_back(path);
}

std::string CharacterFiles::PathOf(const std::string& name) const
{
    return folder_ + "\\" + name + ".ACS";
}
