#include "update/DesktopFolder.h"
#include <windows.h>
#include <shlobj.h>

std::string DesktopFolder()
{
    LPITEMIDLIST location = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &location)) || !location)
        return std::string();
    char path[MAX_PATH] = "";
    const bool found = ::SHGetPathFromIDListA(location, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(location);
        allocator->Release();
    }
    std::string folder = found ? path : "";
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}
