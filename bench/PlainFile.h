#pragma once
#include <windows.h>
#include <string>

// A whole file read with one system call, as the yardstick of loads.
inline bool PlainRead(const std::string& path, std::string& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD read = 0;
    const bool ok = ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                    read == bytes.size();
    return ::CloseHandle(file) && ok;
}
