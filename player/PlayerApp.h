#pragma once
#include "agent/AgentCtlEx.h"
#include "framework/WinApp.h"
#include "player/Performer.h"
#include <memory>

// The greeting player: reads the greeting named on its command line, performs it from the
// asked action on with the character control, and ends when the characters have left.
// It exits with 0 once the greeting has been performed (or stopped by the user) and with
// 1 when it refused its input or could not load a character.
class CPlayerApp : public CWinApp {
public:
    CPlayerApp();

    bool InitInstance() override;
    int ExitInstance() override;

private:
    bool CreateAgentControl();

    CAgentCtlEx agentControl_;
    std::unique_ptr<CPerformer> performer_;
    int exitCode_ = 1;
};
