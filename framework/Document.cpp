#include "framework/Document.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/View.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* view : views_)
        view->m_pDocument = nullptr;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    pathName_.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::IsModified()
{
    return modified_;
}

void CDocument::SetModifiedFlag(bool modified)
{
    modified_ = modified;
}

void CDocument::DeleteContents() {}

namespace {
std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    std::string name = pathName_.empty() ? title_ : FileNameOf(pathName_);
    if (name.empty())
        name = LoadResourceString(AFX_IDS_UNTITLED);
    const std::string prompt = AfxFormatString1(LoadResourceString(AFX_IDP_ASK_TO_SAVE), name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CDocument::DoFileSave()
{
    if (pathName_.empty())
        return DoSave(std::string());
    const DWORD attributes = ::GetFileAttributesA(pathName_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return DoSave(std::string());
    return DoSave(pathName_);
}

bool CDocument::DoSave(const std::string& path, bool replace)
{
    std::string target = path;
    if (target.empty()) {
        target = pathName_.empty() ? title_ : pathName_;
        // Offer the title as the file name, without characters a file name cannot have.
        if (pathName_.empty()) {
            target.erase(std::remove_if(target.begin(), target.end(),
                                        [](char c) { return std::string("\\/:*?\"<>|").find(c) != std::string::npos; }),
                         target.end());
            if (docTemplate_)
                target += docTemplate_->GetDocString(CDocTemplate::filterExt);
        }
        if (!AfxGetApp()->DoPromptFileName(target, false, docTemplate_))
            return false;
    }
    CWaitCursor wait;
    if (!OnSaveDocument(target))
        return false;
    if (replace)
        SetPathName(target);
    return true;
}

void CDocument::SetPathName(const std::string& path, bool addToRecentFiles)
{
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    pathName_ = length > 0 && length < MAX_PATH ? std::string(full, length) : path;
    SetTitle(FileNameOf(pathName_));
    if (addToRecentFiles)
        AfxGetApp()->AddToRecentFileList(pathName_);
}

void CDocument::SetTitle(const std::string& title)
{
    title_ = title;
    UpdateFrameTitles();
}

void CDocument::UpdateFrameTitles()
{
    for (CView* view : views_)
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
}

void CDocument::AddView(CView* view)
{
    views_.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint)
{
    for (CView* view : views_)
        if (view != sender)
            view->OnUpdate(sender, hint);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(std::string());
}
