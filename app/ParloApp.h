#pragma once
#include "agent/AgentApp.h"

// The application object: start-up in its fixed order, first-run setup, and the
// existence check in front of every document open.
class CParloApp : public CAgentApp {
public:
    CParloApp();

    bool InitInstance() override;
    int ExitInstance() override;
    CDocument* OpenDocumentFile(const std::string& path) override;

    // Asks for the sender's details when none are stored; false when the user cancels.
    bool RunFirstSetup();
    void OnAppAbout();

protected:
    // The spoken tour of the character side.
    virtual void RunIntroductionTour();
    DECLARE_MESSAGE_MAP()

private:
    bool oleStarted_ = false;
};

// Fills the shared vocabulary and the screen size, then loads the settings.
void InitGlobals();
