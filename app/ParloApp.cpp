#include "app/ParloApp.h"
#include "agent/IntroDlg.h"
#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/NewGreetingDlg.h"
#include "app/ParloView.h"
#include "app/SetupDlg.h"
#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/FileUtil.h"
#include <ole2.h>

BEGIN_MESSAGE_MAP(CParloApp, CAgentApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CParloApp::CParloApp() = default;

void InitGlobals()
{
    FillVocabulary();
    LoadSettings();
}

bool CParloApp::InitInstance()
{
    AfxEnableControlContainer();
    oleStarted_ = true;
    InitialiseCommonControls();
    SetRegistryKey("Zentorix");
    LoadStdProfileSettings(4);
    InitGlobals();

    if (GetSettings().ShowPromo != 0)
        RunIntroductionTour();
    if (!RunFirstSetup())
        return false;

    SetNewGreetingDialog(&AskForNewGreeting);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CParloDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CParloView)));
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return false;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    CreateAgentControl(m_pMainWnd);
    return true;
}

int CParloApp::ExitInstance()
{
    SetNewGreetingDialog(nullptr);
    const int result = CAgentApp::ExitInstance();
    if (oleStarted_) {
        ::OleUninitialize();
        oleStarted_ = false;
    }
    return result;
}

bool CParloApp::RunFirstSetup()
{
    AppSettings& settings = GetSettings();
    if (!settings.UserName.empty())
        return true;
    CSetupDlg dialog;
    if (dialog.DoModal() != IDOK)
        return false;
    settings.UserName = dialog.name;
    settings.UserEmail = dialog.email;
    settings.Gender = dialog.gender;
    return SaveSettings();
}

CDocument* CParloApp::OpenDocumentFile(const std::string& path)
{
    if (FileExists(path))
        return CWinApp::OpenDocumentFile(path);
    ShowMessageBox(nullptr, "Failed to open " + path + "\nFile could not be found.", "Parlacard", MB_OK);
    return nullptr;
}

void CParloApp::RunIntroductionTour()
{
    // However it ends, start-up goes on.
    CIntroDlg tour;
    tour.DoModal();
}

void CParloApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
