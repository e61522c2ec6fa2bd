#include "support/RecordedPlayer.h"
#include "support/FileText.h"
#include <windows.h>

RecordedPlayer::RecordedPlayer()
{
    DeleteFileA(LogPath().c_str());
}

RecordedPlayer::~RecordedPlayer()
{
    DeleteFileA(LogPath().c_str());
}

std::string RecordedPlayer::ProgramFolder()
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of('\\'));
}

std::string RecordedPlayer::LogPath()
{
    return ProgramFolder() + "\\PlayerLog.txt";
}

namespace {
std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::string text = ReadFileText(path);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}
}

std::vector<std::string> RecordedPlayer::Starts(size_t expected) const
{
    std::vector<std::string> lines;
    // Generous: a loaded machine starts programs slowly under Wine.
    for (int waited = 0; waited < 30000; waited += 20) {
        lines = ReadLines(LogPath());
        if (lines.size() >= expected)
            break;
        Sleep(20);
    }
    return lines;
}
