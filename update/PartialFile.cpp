#include "update/PartialFile.h"
#include <string>

namespace {

// Enough for a Desktop that holds the same download many times over.
const int MaxNameVariants = 100;

// "Setup.exe", "Setup (2).exe", "Setup (3).exe", ... for variant 1, 2, 3, ...
std::string NameVariant(const std::string& path, int variant)
{
    if (variant == 1)
        return path;
    const size_t name = path.find_last_of("\\/") + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < name)
        dot = path.size();
    return path.substr(0, dot) + " (" + std::to_string(variant) + ")" + path.substr(dot);
}

} // namespace

PartialFile::PartialFile(const std::string& targetPath) : targetPath_(targetPath)
{
}

PartialFile::~PartialFile()
{
    Discard();
}

bool PartialFile::Create()
{
    const size_t separator = targetPath_.find_last_of("\\/");
    const std::string folder = separator == std::string::npos ? "." : targetPath_.substr(0, separator + 1);
    char name[MAX_PATH];
    // A name of its own in the same folder, so that the final rename stays on one volume.
    if (!::GetTempFileNameA(folder.c_str(), "pcu", 0, name))
        return false;
    temporaryPath_ = name;
    file_ = ::CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        Discard();
        return false;
    }
    return true;
}

bool PartialFile::Write(const void* data, DWORD size)
{
    DWORD written = 0;
    return file_ != INVALID_HANDLE_VALUE && ::WriteFile(file_, data, size, &written, nullptr) && written == size;
}

bool PartialFile::Commit()
{
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    const bool closed = ::CloseHandle(file_) != FALSE;
    file_ = INVALID_HANDLE_VALUE;
    // A rename that never replaces: a name taken meanwhile by someone else is skipped too.
    for (int variant = 1; closed && variant <= MaxNameVariants; ++variant) {
        const std::string path = NameVariant(targetPath_, variant);
        if (::MoveFileExA(temporaryPath_.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
            temporaryPath_.clear();
            committedPath_ = path;
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    Discard();
    return false;
}

void PartialFile::Discard()
{
    if (file_ != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    if (!temporaryPath_.empty()) {
        ::DeleteFileA(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}
