#include "player/PlayerApp.h"
#include "greeting/Vocabulary.h"
#include "player/PlayerCommandLine.h"
#include "player/PlayerMessage.h"
#include "player/PlayerScript.h"

CPlayerApp::CPlayerApp() : CWinApp(PlayerTitle)
{
}

bool CPlayerApp::InitInstance()
{
    // The character control is an ActiveX control where it is installed.
    AfxEnableControlContainer();
    FillVocabulary();

    PlayerCommandLine commandLine;
    if (!commandLine.Parse(m_lpCmdLine)) {
        ShowPlayerError(commandLine.GetError());
        return false;
    }
    PlayerScript script;
    if (!script.Load(commandLine.GetPath(), static_cast<size_t>(commandLine.GetStartIndex())))
        return false;
    if (!CreateAgentControl()) {
        ShowPlayerError("The character control could not be started.");
        return false;
    }
    m_performer = std::make_unique<CPerformer>(m_agentControl.GetControl(), SIZE{ ScreenWidth, ScreenHeight });
    const bool started = m_performer->Start(script.GetActions(), [this](bool performed) {
        m_exitCode = performed ? 0 : 1;
        ::PostQuitMessage(m_exitCode);
    });
    if (!started)
        ShowPlayerError("The greeting could not be started.");
    return started;
}

// The same control the maker uses, hidden, with failures reported through request states.
bool CPlayerApp::CreateAgentControl()
{
    const RECT none = { 0, 0, 0, 0 };
    return m_agentControl.Create(PlayerTitle, 0, none, nullptr, 0) &&
           SUCCEEDED(m_agentControl.GetControl().SetRaiseRequestErrors(false));
}

int CPlayerApp::ExitInstance()
{
    // The performance holds on to the control's characters: it goes first.
    m_performer.reset();
    if (m_agentControl.m_hWnd)
        m_agentControl.DestroyWindow();
    CWinApp::ExitInstance();
    return m_exitCode;
}
