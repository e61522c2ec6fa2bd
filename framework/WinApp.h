#pragma once
#include "framework/CmdTarget.h"
#include "framework/CommandLineInfo.h"
#include <memory>
#include <string>
#include <vector>

class CWnd;
class CDocument;
class CDocTemplate;
class CRecentFileList;

// The one application object: start-up, the message loop, documents, the user's profile.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    // Start-up; false ends the program before the message loop.
    virtual bool InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // Idle work between messages; returns true while more idle work is wanted.
    virtual bool OnIdle(LONG count);
    virtual bool PreTranslateMessage(MSG* msg);

    const std::string& GetAppName() const { return appName_; }

    // Activates hosting of ActiveX controls (COM on this thread).
    void AfxEnableControlContainer();
    // The system's visual controls for dialogs.
    void InitialiseCommonControls();
    // The user's profile goes under HKEY_CURRENT_USER\Software\<company>\<application>.
    void SetRegistryKey(const std::string& company);
    void LoadStdProfileSettings(UINT mruCount = 4);

    std::string GetProfileString(const std::string& section, const std::string& entry, const std::string& fallback) const;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) const;
    UINT GetProfileInt(const std::string& section, const std::string& entry, int fallback) const;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) const;

    // Documents
    void AddDocTemplate(CDocTemplate* docTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    virtual CDocument* OpenDocumentFile(const std::string& path);
    virtual void AddToRecentFileList(const std::string& path);
    bool SaveAllModified();
    // Asks the user for a file name with the common file dialog; false when cancelled. A
    // name without a folder starts in the folder last chosen, at first the user's documents.
    bool DoPromptFileName(std::string& path, bool open, CDocTemplate* docTemplate);

    void ParseCommandLine(CCommandLineInfo& info);
    bool ProcessShellCommand(CCommandLineInfo& info);
    // The arguments after the program name; set before InitInstance.
    std::string m_strCmdLine;

    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    void OnAppExit();

protected:
    DECLARE_MESSAGE_MAP()

private:
    std::string appName_;
    std::string registryKey_;
    std::vector<std::unique_ptr<CDocTemplate>> templates_;
    std::unique_ptr<CRecentFileList> recentFiles_;
    std::string fileDialogFolder_;
    bool OpenProfileKey(const std::string& section, bool create, HKEY* key) const;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
std::string AfxGetAppName();

// The program's entry: runs the application object's start-up and message loop.
int AfxWinMain(HINSTANCE instance, const char* commandLine, int showCommand);
