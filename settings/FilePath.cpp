#include "settings/FilePath.h"

namespace {

// What the system's path splitting holds of each part, terminator included.
const size_t DriveCapacity = 3;
const size_t PartCapacity = 256;

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool Fits(const std::string& text, size_t capacity)
{
    return text.size() < capacity;
}

} // namespace

void FilePath::SplitPath(const std::string& fullPath)
{
    std::string rest = fullPath;
    drive_.clear();
    const bool hasDrive = rest.size() >= 2 && rest[1] == ':' &&
                          ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'));
    if (hasDrive) {
        drive_ = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    const size_t lastSeparator = rest.find_last_of("\\/");
    directory_ = lastSeparator == std::string::npos ? std::string() : rest.substr(0, lastSeparator + 1);
    rest.erase(0, directory_.size());
    const size_t dot = rest.find_last_of('.');
    extension_ = dot == std::string::npos ? std::string() : rest.substr(dot);
    fileName_ = rest.substr(0, rest.size() - extension_.size());
}

std::string FilePath::MakePath()
{
    std::string path = drive_ + directory_;
    if (!directory_.empty() && !IsSeparator(directory_.back()))
        path += '\\';
    path += fileName_;
    if (!extension_.empty() && extension_.front() != '.')
        path += '.';
    path += extension_;
    // A path cut short would name another file: one that does not fit names none.
    const bool fits = Fits(drive_, DriveCapacity) && Fits(directory_, PartCapacity) && Fits(fileName_, PartCapacity) &&
                      Fits(extension_, PartCapacity) && Fits(path, MaxPath);
    fullPath_ = fits ? path : std::string();
    return fullPath_;
}
