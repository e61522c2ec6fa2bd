#include "support/TempFolder.h"
#include <windows.h>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>

namespace {
// Removes a folder and everything below it; false with the error of the first failure.
bool RemoveTree(const std::string& folder, DWORD& error)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!RemoveTree(child, error))
                    break;
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!DeleteFileA(child.c_str())) {
                    error = GetLastError();
                    break;
                }
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (error == ERROR_SUCCESS && !RemoveDirectoryA(folder.c_str()))
        error = GetLastError();
    return error == ERROR_SUCCESS;
}
}

// GetTempFileName picks a name no one else holds; the file it makes becomes the folder.
TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    char unique[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp) || !GetTempFileNameA(temp, "pct", 0, unique) ||
        !DeleteFileA(unique) || !CreateDirectoryA(unique, nullptr)) {
        ADD_FAILURE() << "could not create a temporary folder: error " << GetLastError();
        return;
    }
    path = unique;
}

TempFolder::~TempFolder()
{
    DWORD error = ERROR_SUCCESS;
    if (!path.empty() && !RemoveTree(path, error))
        ADD_FAILURE() << "could not remove the temporary folder " << path << ": error " << error;
}

std::string TempFolder::File(const std::string& name) const
{
    return path + "\\" + name;
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream file(File(name), std::ios::binary);
    file << bytes;
    if (!file.flush())
        ADD_FAILURE() << "could not write " << File(name);
}

std::string TempFolder::Read(const std::string& name) const
{
    std::ifstream file(File(name), std::ios::binary);
    if (!file) {
        ADD_FAILURE() << "could not read " << File(name);
        return std::string();
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
