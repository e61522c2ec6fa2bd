#include "framework/RecentFileList.h"
#include "framework/CmdTarget.h"
#include "framework/WinApp.h"
#include <algorithm>

CRecentFileList::CRecentFileList(UINT firstCommand, const std::string& section, int size)
    : firstCommand_(firstCommand), section_(section), size_(size) {}

namespace {
bool SamePath(const std::string& a, const std::string& b)
{
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    auto it = std::find_if(paths_.begin(), paths_.end(), [&](const std::string& p) { return SamePath(p, path); });
    if (it != paths_.end())
        paths_.erase(it);
    paths_.insert(paths_.begin(), path);
    if (static_cast<int>(paths_.size()) > size_)
        paths_.resize(size_);
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount())
        paths_.erase(paths_.begin() + index);
}

void CRecentFileList::ReadList()
{
    paths_.clear();
    CWinApp* app = AfxGetApp();
    for (int i = 0; i < size_; ++i) {
        const std::string path = app->GetProfileString(section_, "File" + std::to_string(i + 1), "");
        if (!path.empty())
            paths_.push_back(path);
    }
}

void CRecentFileList::WriteList() const
{
    CWinApp* app = AfxGetApp();
    for (int i = 0; i < size_; ++i)
        app->WriteProfileString(section_, "File" + std::to_string(i + 1), i < GetCount() ? paths_[i] : "");
}

void CRecentFileList::UpdateMenu(CCmdUI* ui) const
{
    HMENU menu = ui->m_hMenu;
    if (!menu)
        return;
    // Take out the entries of the last pass, then put in the current ones where the first was.
    for (int i = 1; i < size_; ++i)
        ::DeleteMenu(menu, firstCommand_ + i, MF_BYCOMMAND);
    if (paths_.empty()) {
        ui->SetText("Recent File");
        ui->Enable(false);
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        std::string text = "&" + std::to_string(i + 1) + " ";
        for (char c : AbbreviatePath(paths_[i], 40)) {
            if (c == '&')
                text += '&';  // a lone ampersand would underline the next letter
            text += c;
        }
        if (i == 0) {
            ::ModifyMenuA(menu, ui->m_nIndex, MF_BYPOSITION | MF_STRING | MF_ENABLED, firstCommand_, text.c_str());
        } else {
            ::InsertMenuA(menu, ui->m_nIndex + i, MF_BYPOSITION | MF_STRING, firstCommand_ + i, text.c_str());
        }
    }
}

std::string AbbreviatePath(const std::string& path, size_t maxLength)
{
    if (path.size() <= maxLength)
        return path;
    const size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() + 4 >= maxLength || slash == std::string::npos)
        return name;
    // Keep the start of the path (the drive and first folder) and the file name.
    const size_t keep = maxLength - name.size() - 4;
    return path.substr(0, keep) + "...\\" + name;
}
