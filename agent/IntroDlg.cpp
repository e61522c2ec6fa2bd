#include "agent/IntroDlg.h"
#include "agent/AgentApp.h"
#include "agent/BesideCharacter.h"
#include "controls/BrowserLaunch.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/SiteInfo.h"

namespace {

struct ScriptLine {
    const char* animationBefore;
    const char* text;
    const char* animationAfter;
    bool hideAfter;
};

const ScriptLine Script[] = {
    { "Wave", "Hello and welcome to the Parlacard Maker.", "", false },
    { "GetAttention",
      "This free product allows you to make parlacards that feature me and my friends. You will meet my friends "
      "later on.",
      "", false },
    { "Explain",
      "Using this program, you can send talking animated greetings to your friends, family or anyone else on the "
      "Web.",
      "", false },
    { "Surprised", "Your friends will be amazed when I pop-up on their screen and start reading your message.",
      "Surprised", false },
    { "Surprised", "I mean, truly amazed.", "Surprised", false },
    { "",
      "Making a parlacard is as easy as baking a cake. You can choose from a list of pre-defined greetings or make "
      "your own.",
      "Process", false },
    { "", "Sorry about that. I got carried away with the cake thing.", "Sad", false },
    { "Explain",
      "When making a greeting, you can specify what I will say, which animations I will perform and where I'll "
      "stand on your friends screen.",
      "", false },
    { "", "You have all the freedom you want to express yourself.", "DoMagic1", false },
    { "Explain", "Parlacard is simple to use, fun, and best of all it's free!", "Congratulate_2", false },
    { "Explain", "To start using Parlacard, please press the 'Continue' button now.", "Wave", false },
    { "", "Thank You.", "DoMagic2", true },
};

} // namespace

BEGIN_MESSAGE_MAP(CIntroDlg, CDialog)
    ON_BN_CLICKED(IDC_CONTINUE, OnContinue)
    ON_BN_CLICKED(IDC_OTHER_PRODUCTS, OnOtherProducts)
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_STOP_TALKING, OnStopTalking)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CIntroDlg::CIntroDlg(CWnd* parent) : CDialog(IDD_INTRO, parent) {}

void CIntroDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_INTRO_TITLE, title_);
}

bool CIntroDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    title_.SetBoldGuiFont();
    ::CheckDlgButton(m_hWnd, IDC_DONT_SHOW_AGAIN, GetSettings().ShowPromo ? BST_UNCHECKED : BST_CHECKED);
    SetDlgItemText(IDC_INTRO_TEXT, LoadResourceString(IDS_INTRODUCTION));

    CAgentApp* app = GetAgentApp();
    if (app && app->CreateAgentControl(this) && app->LoadCharacter(DefaultCharacter)) {
        loaded_ = true;
        // Should the move fail, the dialog stays centred and the character stands over it.
        MoveBesideCharacter(m_hWnd);
        // All queued at once: the character performs them one after another while the
        // dialog is already in the user's hands.
        for (const ScriptLine& line : Script)
            app->PerformCharacter(line.text, line.animationBefore, false, line.hideAfter, line.animationAfter);
    } else {
        AfxMessageBox("Failed to load default character (" + std::string(DefaultCharacter) +
                          ").\n\nThis is probably due to an incomplete installation.\nPlease visit our web site at " +
                          ServiceSite + " to download and install the latest version.",
                      MB_OK | MB_ICONINFORMATION);
    }
    return true;
}

void CIntroDlg::OnContinue()
{
    PostMessage(WM_CLOSE);
}

void CIntroDlg::OnOtherProducts()
{
    OpenWebPage(ReadSiteAddress(OtherProductsPage));
}

void CIntroDlg::OnClose()
{
    // The rest of the script, its last hide too, goes with the dialog.
    if (loaded_)
        GetAgentApp()->StopCharacter();
    Default();
}

void CIntroDlg::OnStopTalking()
{
    if (loaded_)
        GetAgentApp()->StopCharacter();
}

void CIntroDlg::OnDestroy()
{
    // Saved with every other setting when the program's view closes.
    GetSettings().ShowPromo = ::IsDlgButtonChecked(m_hWnd, IDC_DONT_SHOW_AGAIN) == BST_CHECKED ? 0 : 1;
    Default();
}
