#include "CharacterFiles.h"
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
        paths_.push_back(PathOf(name));
        CloseHandle(CreateFileA(paths_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
}

CharacterFiles::~CharacterFiles()
{
    for (const std::string& path : paths_)
        DeleteFileA(path.c_str());
}

std::string CharacterFiles::PathOf(const std::string& name) const
{
    return folder_ + "\\" + name + ".ACS";
}
