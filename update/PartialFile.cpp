#include "update/PartialFile.h"

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
    if (!closed ||
        !::MoveFileExA(temporaryPath_.c_str(), targetPath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Discard();
        return false;
    }
    temporaryPath_.clear();
    return true;
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
