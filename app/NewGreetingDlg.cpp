#include "app/NewGreetingDlg.h"
#include "agent/AgentApp.h"
#include "agent/HelpDlg.h"
#include "framework/DataExchange.h"
#include "framework/ListText.h"
#include "framework/MessageBox.h"
#include "framework/TextUtil.h"
#include "greeting/GreetingTemplate.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

BEGIN_MESSAGE_MAP(CNewGreetingDlg, CDialog)
    ON_EN_CHANGE(IDC_RECIPIENT, UpdateControls)
    ON_EN_CHANGE(IDC_NAME, UpdateControls)
    ON_LBN_SELCHANGE(IDC_GREETING_TYPES, OnTypeChosen)
    ON_CONTROL(LBN_DBLCLK, IDC_GREETING_TYPES, OnTypeDoubleClicked)
    ON_BN_CLICKED(IDC_HELP_BUTTON, OnHelp)
END_MESSAGE_MAP()

namespace {

const char* const GreetingTypes[] = {
    EmptyGreetingType, "Say Hi", "I Miss You", "Thank You", "Send A Joke", "Send A Story",
    "Recommend A Web Site", "Birthday", "Mom", "Dad", "Recommend Parlacard To Friends",
};

// The types that go to nobody in particular.
bool HasRecipient(const std::string& type)
{
    return type != "Mom" && type != "Dad" && type != EmptyGreetingType;
}

} // namespace

CNewGreetingDlg::CNewGreetingDlg(CWnd* parent) : CDialog(IDD_NEW_GREETING, parent) {}

bool CNewGreetingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    title_.SetBoldGuiFont();
    HWND types = GetDlgItem(IDC_GREETING_TYPES);
    for (const char* type : GreetingTypes)
        ::SendMessageA(types, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
    const AppSettings& settings = GetSettings();
    ::SendMessageA(types, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(settings.DefaultGreetingType.c_str()));
    ::SendDlgItemMessageA(m_hWnd, IDC_GENDER, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(settings.Gender.c_str()));
    ::SendDlgItemMessageA(m_hWnd, IDC_RECIPIENT, EM_LIMITTEXT, MaxNameLength, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_NAME, EM_LIMITTEXT, MaxNameLength, 0);
    UpdateControls();
    return true;
}

void CNewGreetingDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_CBStringExact(dx, IDC_GENDER, gender);
    DDX_LBStringExact(dx, IDC_GREETING_TYPES, greetingType);
    DDX_Control(dx, IDC_NEW_TITLE, title_);
    DDX_Text(dx, IDC_RECIPIENT, recipientName);
    DDV_MaxChars(dx, recipientName, MaxNameLength);
    DDX_Text(dx, IDC_NAME, userName);
    DDV_MaxChars(dx, userName, MaxNameLength);
}

std::string CNewGreetingDlg::SelectedType() const
{
    return SelectedListBoxText(GetDlgItem(IDC_GREETING_TYPES));
}

void CNewGreetingDlg::UpdateControls()
{
    ::EnableWindow(GetDlgItem(IDC_RECIPIENT), HasRecipient(SelectedType()));
    ::EnableWindow(GetDlgItem(IDOK), !TrimWhiteSpace(GetDlgItemText(IDC_NAME)).empty());
}

void CNewGreetingDlg::OnTypeChosen()
{
    UpdateControls();
    // The recipient's name is typed next where the type has one. The dialog's own move
    // selects what the edit holds, so that typing replaces it; a type without a recipient
    // leaves the keyboard in the list.
    HWND recipient = GetDlgItem(IDC_RECIPIENT);
    if (::IsWindowEnabled(recipient))
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(recipient), TRUE);
}

void CNewGreetingDlg::OnTypeDoubleClicked()
{
    if (::IsWindowEnabled(GetDlgItem(IDOK))) {
        OnOK();
        return;
    }
    ShowMessageBox(m_hWnd, "Please type in your name before continuing.", "Parlacard", MB_OK | MB_ICONINFORMATION);
    ::SetFocus(GetDlgItem(IDC_NAME));
}

void CNewGreetingDlg::OnHelp()
{
    // At start-up this dialog comes before the character control, which the help needs.
    if (CAgentApp* app = GetAgentApp())
        app->CreateAgentControl(AfxGetMainWnd());
    CHelpDlg(IDS_HELP_NEW_GREETING).DoModal();
}

void CNewGreetingDlg::OnOK()
{
    AppSettings& settings = GetSettings();
    settings.DefaultGreetingType = SelectedType();
    settings.Gender = SelectedComboBoxText(GetDlgItem(IDC_GENDER));
    settings.UserName = GetDlgItemText(IDC_NAME);
    SaveSettings();
    CDialog::OnOK();
}

bool AskForNewGreeting(NewGreetingChoice& choice)
{
    CNewGreetingDlg dialog;
    dialog.userName = choice.senderName;
    if (dialog.DoModal() != IDOK)
        return false;
    choice.greetingType = dialog.greetingType;
    // Blanks around the name would stand around it in every greeting line.
    choice.recipientName = TrimWhiteSpace(dialog.recipientName);
    choice.senderName = dialog.userName;
    choice.gender = dialog.gender;
    return true;
}
