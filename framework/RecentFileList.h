#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CCmdUI;

// The most recently used files, newest first, kept in the user's part of the registry and
// shown in the File menu in place of the first recent-file command.
class CRecentFileList {
public:
    CRecentFileList(UINT firstCommand, const std::string& section, int size);

    int GetSize() const { return size_; }
    int GetCount() const { return static_cast<int>(paths_.size()); }
    const std::string& operator[](int index) const { return paths_[index]; }

    void Add(const std::string& path);
    void Remove(int index);
    void ReadList();
    void WriteList() const;
    void UpdateMenu(CCmdUI* ui) const;

private:
    UINT firstCommand_;
    std::string section_;
    int size_;
    std::vector<std::string> paths_;
};

// A path shortened to at most maxLength characters for a menu, keeping its file name.
std::string AbbreviatePath(const std::string& path, size_t maxLength);
