#include "framework/WinApp.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/RecentFileList.h"
#include "framework/ResourceString.h"
#include "framework/Wnd.h"
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

namespace {

CWinApp* theApplication = nullptr;

// The user's documents; empty when the shell names none.
std::string DocumentsFolder()
{
    char path[MAX_PATH] = "";
    return SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

} // namespace

CWinApp* AfxGetApp() { return theApplication; }
CWnd* AfxGetMainWnd() { return theApplication ? theApplication->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleA(nullptr); }
HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleA(nullptr); }

std::string AfxGetAppName()
{
    return theApplication ? theApplication->GetAppName() : LoadResourceString(AFX_IDS_APP_TITLE);
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName)
{
    theApplication = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    appName_ = appName ? appName : LoadResourceString(AFX_IDS_APP_TITLE);
}

CWinApp::~CWinApp()
{
    if (theApplication == this)
        theApplication = nullptr;
}

bool CWinApp::InitInstance()
{
    return true;
}

void CWinApp::AfxEnableControlContainer()
{
    ::OleInitialize(nullptr);
}

void CWinApp::InitialiseCommonControls()
{
    INITCOMMONCONTROLSEX controls{ sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES };
    ::InitCommonControlsEx(&controls);
}

void CWinApp::SetRegistryKey(const std::string& company)
{
    registryKey_ = company;
}

void CWinApp::LoadStdProfileSettings(UINT mruCount)
{
    if (mruCount == 0)
        return;
    recentFiles_ = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List", static_cast<int>(mruCount));
    recentFiles_->ReadList();
}

bool CWinApp::OpenProfileKey(const std::string& section, bool create, HKEY* key) const
{
    if (registryKey_.empty())
        return false;
    const std::string path = "Software\\" + registryKey_ + "\\" + appName_ + "\\" + section;
    if (create)
        return ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_READ | KEY_WRITE, nullptr, key, nullptr) == ERROR_SUCCESS;
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key) == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(const std::string& section, const std::string& entry,
                                      const std::string& fallback) const
{
    HKEY key;
    if (!OpenProfileKey(section, false, &key))
        return fallback;
    DWORD type = 0, size = 0;
    std::string value = fallback;
    if (::RegQueryValueExA(key, entry.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::string data(size + 1, '\0');
        if (::RegQueryValueExA(key, entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
            ERROR_SUCCESS)
            value = data.c_str();
    }
    ::RegCloseKey(key);
    return value;
}

bool CWinApp::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) const
{
    HKEY key;
    if (!OpenProfileKey(section, true, &key))
        return false;
    LONG status;
    if (value.empty()) {
        status = ::RegDeleteValueA(key, entry.c_str());
        if (status == ERROR_FILE_NOT_FOUND)
            status = ERROR_SUCCESS;
    } else {
        status = ::RegSetValueExA(key, entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1));
    }
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

UINT CWinApp::GetProfileInt(const std::string& section, const std::string& entry, int fallback) const
{
    HKEY key;
    if (!OpenProfileKey(section, false, &key))
        return fallback;
    DWORD type = 0, value = 0, size = sizeof(value);
    const bool read = ::RegQueryValueExA(key, entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                          ERROR_SUCCESS && type == REG_DWORD;
    ::RegCloseKey(key);
    return read ? value : static_cast<UINT>(fallback);
}

bool CWinApp::WriteProfileInt(const std::string& section, const std::string& entry, int value) const
{
    HKEY key;
    if (!OpenProfileKey(section, true, &key))
        return false;
    const DWORD data = static_cast<DWORD>(value);
    const LONG status = ::RegSetValueExA(key, entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    templates_.emplace_back(docTemplate);
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return templates_.empty() ? nullptr : templates_.front().get();
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path)
{
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    return docTemplate ? docTemplate->OpenDocumentFile(path, true) : nullptr;
}

void CWinApp::AddToRecentFileList(const std::string& path)
{
    if (recentFiles_)
        recentFiles_->Add(path);
}

bool CWinApp::SaveAllModified()
{
    for (auto& docTemplate : templates_)
        if (!docTemplate->SaveAllModified())
            return false;
    return true;
}

bool CWinApp::DoPromptFileName(std::string& path, bool open, CDocTemplate* docTemplate)
{
    std::string filter;
    std::string extension;
    if (docTemplate) {
        const std::string name = docTemplate->GetDocString(CDocTemplate::filterName);
        extension = docTemplate->GetDocString(CDocTemplate::filterExt);
        if (!name.empty() && !extension.empty())
            filter += name + '\0' + "*" + extension + '\0';
    }
    filter += LoadResourceString(AFX_IDS_ALLFILTER) + '\0' + "*.*" + '\0' + '\0';

    char file[MAX_PATH] = "";
    lstrcpynA(file, path.c_str(), MAX_PATH);
    const std::string title = LoadResourceString(open ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE);
    // Never the program's own folder, where the system would start and a user cannot write.
    if (fileDialogFolder_.empty())
        fileDialogFolder_ = DocumentsFolder();
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = fileDialogFolder_.empty() ? nullptr : fileDialogFolder_.c_str();
    ofn.lpstrDefExt = extension.size() > 1 ? extension.c_str() + 1 : nullptr;
    // The dialog remembers its folder here rather than in the current directory, which would
    // keep the user's folder in use while the program runs.
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_NOCHANGEDIR |
                (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    const BOOL chosen = open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (chosen) {
        path = file;
        // The next dialog starts in the chosen file's folder; a drive's root keeps its separator.
        if (ofn.nFileOffset > 0 && ofn.nFileOffset < path.size()) {
            fileDialogFolder_ = path.substr(0, ofn.nFileOffset);
            if (fileDialogFolder_.size() > 3 && fileDialogFolder_.back() == '\\')
                fileDialogFolder_.pop_back();
        }
    }
    return chosen != FALSE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    std::vector<std::string> arguments;
    std::string argument;
    for (std::string::size_type pos = 0;
         (pos = SplitFirstArgument(m_strCmdLine, pos, argument)) != std::string::npos;)
        arguments.push_back(argument);
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool isFlag = !a.empty() && (a[0] == '/' || a[0] == '-');
        info.ParseParam(isFlag ? a.substr(1) : a, isFlag, i + 1 == arguments.size());
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return true;
    }
    return false;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* docTemplate = GetFirstDocTemplate())
        docTemplate->OpenDocumentFile(std::string(), true);
}

void CWinApp::OnFileOpen()
{
    std::string path;
    if (DoPromptFileName(path, true, GetFirstDocTemplate()))
        OpenDocumentFile(path);
}

void CWinApp::OnOpenRecentFile(UINT id)
{
    const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (!recentFiles_ || index >= recentFiles_->GetCount())
        return;
    const std::string path = (*recentFiles_)[index];
    if (!OpenDocumentFile(path))
        recentFiles_->Remove(index);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui)
{
    if (recentFiles_)
        recentFiles_->UpdateMenu(ui);
    else
        ui->Enable(false);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

bool CWinApp::OnIdle(LONG count)
{
    if (count == 0 && m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    return false;
}

bool CWinApp::PreTranslateMessage(MSG* msg)
{
    // The window the message is for, then its parents, may translate it (accelerators).
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd))
            if (wnd->PreTranslateMessage(msg))
                return true;
        if (m_pMainWnd && hwnd == m_pMainWnd->m_hWnd)
            return false;
    }
    return m_pMainWnd && m_pMainWnd->m_hWnd && msg->hwnd != m_pMainWnd->m_hWnd &&
           m_pMainWnd->PreTranslateMessage(msg);
}

int CWinApp::Run()
{
    MSG msg;
    LONG idleCount = 0;
    for (;;) {
        while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        // Mouse moves and timers come often and change nothing worth an update pass.
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE && msg.message != WM_TIMER &&
            msg.message != WM_PAINT)
            idleCount = 0;
    }
    const int exitCode = static_cast<int>(msg.wParam);
    ExitInstance();
    return exitCode;
}

int CWinApp::ExitInstance()
{
    if (recentFiles_)
        recentFiles_->WriteList();
    templates_.clear();
    return 0;
}

int AfxWinMain(HINSTANCE, const char* commandLine, int showCommand)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_nCmdShow = showCommand;
    app->m_strCmdLine = commandLine ? commandLine : "";
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            ::DestroyWindow(app->m_pMainWnd->m_hWnd);
        return app->ExitInstance();
    }
    return app->Run();
}
