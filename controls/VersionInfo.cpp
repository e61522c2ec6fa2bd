#include "controls/VersionInfo.h"
#include <windows.h>
#include <cstdio>

VersionInfo::VersionInfo(const std::string& fileName) : fileName_(fileName)
{
    Load();
}

bool VersionInfo::Load()
{
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(fileName_.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(fileName_.c_str(), 0, size, data.data()))
        return false;
    data_.swap(data);

    void* value = nullptr;
    UINT length = 0;
    // Several translations, or a table of odd size, count as none.
    if (::VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length) && value && length == 4) {
        const WORD* translation = static_cast<const WORD*>(value);
        char text[8];
        std::snprintf(text, sizeof(text), "%.4x", translation[0]);
        language_ = text;
        std::snprintf(text, sizeof(text), "%.4x", translation[1]);
        codePage_ = text;
    } else {
        language_ = "0409";
        codePage_ = "04E4";
    }
    stringPrefix_ = "\\StringFileInfo\\" + language_ + codePage_;
    return true;
}

bool VersionInfo::GetFixedFileVersion(VersionNumber& version) const
{
    if (data_.empty())
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(const_cast<char*>(data_.data()), "\\", &value, &length) || !value ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    version.SetMajor(HIWORD(fixed->dwFileVersionMS));
    version.SetMinor(LOWORD(fixed->dwFileVersionMS));
    version.SetBuild(HIWORD(fixed->dwFileVersionLS));
    version.SetRevision(LOWORD(fixed->dwFileVersionLS));
    return true;
}
