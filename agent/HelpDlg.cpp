#include "agent/HelpDlg.h"
#include "agent/AgentApp.h"
#include "agent/BesideCharacter.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CHelpDlg, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CHelpDlg::CHelpDlg(UINT textId, CWnd* parent) : CDialog(IDD_HELP, parent), textId_(textId) {}

bool CHelpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const std::string text = LoadResourceString(textId_);
    SetDlgItemText(IDC_HELP_TEXT, text);
    // Without the default character the text is only shown: there is nobody to read it.
    CAgentApp* app = GetAgentApp();
    if (app && app->LoadCharacter(DefaultCharacter)) {
        app->PerformCharacter(text, "Read", false, true, "");
        reading_ = true;
        // He reads where he stands; the text he reads stays in sight beside him.
        MoveBesideCharacter(m_hWnd);
    }
    return true;
}

void CHelpDlg::OnDestroy()
{
    if (reading_) {
        CAgentApp* app = GetAgentApp();
        app->StopCharacter();
        app->HideCharacter(true);
        reading_ = false;
    }
    Default();
}
