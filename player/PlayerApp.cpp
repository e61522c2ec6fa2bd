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
    if (!commandLine.Parse(m_strCmdLine)) {
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
    performer_ = std::make_unique<CPerformer>(agentControl_.GetControl(), SIZE{ ScreenWidth, ScreenHeight });
    const bool started = performer_->Start(script.GetSetUp(), script.GetActions(), [this](bool performed) {
        exitCode_ = performed ? 0 : 1;
        ::PostQuitMessage(exitCode_);
    });
    if (!started)
        ShowPlayerError("The greeting could not be started.");
    return started;
}

// The same control the maker uses, hidden, with failures reported through request states.
bool CPlayerApp::CreateAgentControl()
{
    const RECT none = { 0, 0, 0, 0 };
    return agentControl_.Create(PlayerTitle, 0, none, nullptr, 0) &&
           SUCCEEDED(agentControl_.GetControl().SetRaiseRequestErrors(false));
}

int CPlayerApp::ExitInstance()
{
    // The performance holds on to the control's characters: it goes first.
    performer_.reset();
    if (agentControl_.m_hWnd)
        agentControl_.DestroyWindow();
    CWinApp::ExitInstance();
    return exitCode_;
}
