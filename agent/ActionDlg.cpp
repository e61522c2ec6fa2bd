#include "agent/ActionDlg.h"
#include "agent/AgentApp.h"
#include "agent/BesideCharacter.h"
#include "agent/HelpDlg.h"
#include "controls/BrowserLaunch.h"
#include "framework/DataExchange.h"
#include "framework/ListText.h"
#include "framework/MessageBox.h"
#include "framework/TextUtil.h"
#include "greeting/CommandTable.h"
#include "greeting/GreetingAction.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/FileUtil.h"
#include "settings/SiteInfo.h"

int CActionDlg::ActionState = IDC_SAY;
CActionDlg::AnimationCacheEntry CActionDlg::AnimationCache;

BEGIN_MESSAGE_MAP(CActionDlg, CDialog)
    ON_WM_DESTROY()
    ON_COMMAND_RANGE(IDC_SHOW, IDC_SHOW, OnCommandClicked)
    ON_COMMAND_RANGE(IDC_HIDE, IDC_MOVE, OnCommandClicked)
    ON_CBN_SELCHANGE(IDC_CHARACTER, CheckSelectedCharacter)
    ON_BN_CLICKED(IDC_PREVIEW, OnPreview)
    ON_EN_CHANGE(IDC_SPEECH, UpdateOkAndPreview)
    ON_BN_CLICKED(IDC_HELP_BUTTON, OnHelp)
END_MESSAGE_MAP()

namespace {
void AddString(HWND combo, const std::string& text)
{
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Selects the first entry that begins with the text, ignoring case.
void SelectByPrefix(HWND combo, const std::string& text)
{
    ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
}
} // namespace

std::string CommandForRadio(int radioId)
{
    for (const CommandInfo& command : CommandTable)
        if (command.editorRadio == radioId)
            return command.name;
    return std::string();
}

int RadioForCommand(const std::string& command)
{
    const CommandInfo* info = FindCommand(command);
    return info ? info->editorRadio : 0;
}

std::string CleanSpeechText(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    line = TrimWhiteSpace(line);
    for (char& c : line)
        if (c == '"')
            c = '\'';
    return line;
}

CActionDlg::CActionDlg(CWnd* parent, GreetingAction* action) : CDialog(IDD_ACTION, parent), action_(action) {}

bool CActionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    HWND characters = GetDlgItem(IDC_CHARACTER);
    ::SendMessageA(characters, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : CharacterNames)
        AddString(characters, name);
    SelectByPrefix(characters, action_ ? action_->GetCharacter() : GetSettings().CharacterName);
    CheckSelectedCharacter();

    if (action_) {
        SetWindowText("Edit Action");
        if (const int radio = RadioForCommand(action_->GetCommand()))
            ActionState = radio;
    } else {
        SetWindowText("New Action");
    }
    ::CheckRadioButton(m_hWnd, IDC_SHOW, IDC_MOVE, ActionState);
    RefreshForCommand();

    if (action_) {
        if (ActionState == IDC_SAY) {
            HWND speech = GetDlgItem(IDC_SPEECH);
            ::SetWindowTextA(speech, action_->GetArgument().c_str());
            ::SendMessageA(speech, EM_SETSEL, 0, -1);
            ::SendMessageA(speech, EM_SCROLLCARET, 0, 0);
            ::SetFocus(speech);
        } else {
            HWND argumentList = GetDlgItem(IDC_ARGUMENT);
            SelectByPrefix(argumentList, action_->GetArgument());
            ::SetFocus(argumentList);
        }
    }
    UpdateOkAndPreview();
    return false;  // the focus is set
}

void CActionDlg::OnCommandClicked(UINT id)
{
    ActionState = static_cast<int>(id);
    RefreshForCommand();
}

void CActionDlg::RefreshForCommand()
{
    const bool say = ActionState == IDC_SAY;
    HWND speech = GetDlgItem(IDC_SPEECH);
    HWND argumentList = GetDlgItem(IDC_ARGUMENT);
    HWND shown = say ? speech : argumentList;
    ::ShowWindow(speech, say ? SW_SHOW : SW_HIDE);
    ::ShowWindow(argumentList, say ? SW_HIDE : SW_SHOW);
    ::SetFocus(shown);

    ::SendMessageA(argumentList, CB_RESETCONTENT, 0, 0);
    std::string label;
    switch (ActionState) {
    case IDC_SHOW:
    case IDC_HIDE:
        label = ActionState == IDC_SHOW ? "Use animation when showing character?" : "Use animation when hiding character?";
        AddString(argumentList, "Don't Animate");
        AddString(argumentList, "Animate");
        SelectByPrefix(argumentList, "Animate");
        break;
    case IDC_SAY:
        label = "What should the character say?";
        break;
    case IDC_ANIMATE:
        label = "Which animation to perform?";
        FillAnimationList();
        break;
    case IDC_MOVE:
        label = "Where should the character move to?";
        for (const std::string& position : PositionNames)
            AddString(argumentList, position);
        SelectByPrefix(argumentList, "Center");
        break;
    }
    SetDlgItemText(IDC_ARGUMENT_LABEL, label);
    PlaceArgumentControls(shown);
    UpdateOkAndPreview();
}

void CActionDlg::PlaceArgumentControls(HWND shown)
{
    auto clientRect = [this](HWND control) {
        RECT rect;
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    const RECT target = clientRect(shown);
    HWND preview = GetDlgItem(IDC_PREVIEW);
    const RECT button = clientRect(preview);
    const int buttonWidth = button.right - button.left;
    const int buttonHeight = button.bottom - button.top;
    if (ActionState == IDC_SAY)
        ::SetWindowPos(preview, nullptr, target.right - buttonWidth, target.top - 3 - buttonHeight, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        ::SetWindowPos(preview, nullptr, target.right + 5, target.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    HWND labelWindow = GetDlgItem(IDC_ARGUMENT_LABEL);
    const RECT label = clientRect(labelWindow);
    ::SetWindowPos(labelWindow, nullptr, target.left, target.top - 2 - (label.bottom - label.top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CActionDlg::FillAnimationList()
{
    HWND argumentList = GetDlgItem(IDC_ARGUMENT);
    ::SendMessageA(argumentList, CB_RESETCONTENT, 0, 0);
    if (!LoadSelectedCharacter())
        return;
    const std::string selected = SelectedCharacter();
    if (AnimationCache.characterName != selected || AnimationCache.names.empty()) {
        CAgentApp* app = GetAgentApp();
        if (!app || !app->GetAnimationNames(AnimationCache.names)) {
            AnimationCache.names.clear();
            AnimationCache.characterName.clear();
            return;
        }
    }
    for (const std::string& name : AnimationCache.names)
        AddString(argumentList, name);
    SelectByPrefix(argumentList, GetSettings().CharacterAnimation);
    if (::SendMessageA(argumentList, CB_GETCURSEL, 0, 0) == CB_ERR)
        SelectByPrefix(argumentList, NoAnimation);
    AnimationCache.characterName = selected;
}

std::string CActionDlg::SelectedCharacter() const
{
    return SelectedComboBoxText(GetDlgItem(IDC_CHARACTER));
}

bool CActionDlg::LoadSelectedCharacter()
{
    const std::string selected = SelectedCharacter();
    if (selected.empty())
        return false;
    CAgentApp* app = GetAgentApp();
    loaded_ = app && app->LoadCharacter(selected);
    return loaded_;
}

void CActionDlg::CheckSelectedCharacter()
{
    const std::string name = SelectedCharacter();
    if (name.empty())
        return;
    if (!FindCharacterFile(name).empty()) {
        if (ActionState == IDC_ANIMATE)
            FillAnimationList();
        return;
    }
    if (AfxMessageBox("The character you selected (" + name +
                          ") is not installed on your computer.\n\nWould you like to go to the Parlacard character "
                          "gallery and download " + name + " now?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        OpenCharactersPage();
    } else if (FindCharacterFile(DefaultCharacter).empty()) {
        if (AfxMessageBox(std::string(DefaultCharacter) +
                              ", the default character is not installed on your computer.\n\nYou must install him in "
                              "order to use this product.\nWould you like to go to the Parlacard character gallery and "
                              "download him?",
                          MB_YESNO | MB_ICONQUESTION) == IDYES)
            OpenCharactersPage();
        else
            AfxMessageBox("Without the default character (" + std::string(DefaultCharacter) +
                              ") some of the features of this product are disabled.",
                          MB_OK);
    }
    if (name != DefaultCharacter) {
        SelectByPrefix(GetDlgItem(IDC_CHARACTER), DefaultCharacter);
        CheckSelectedCharacter();
    }
}

void CActionDlg::OpenCharactersPage() const
{
    const std::string address = ReadSiteAddress(CharactersPage);
    if (!address.empty())
        OpenWebPage(address);
}

std::string CActionDlg::CollectArgument() const
{
    if (ActionState == IDC_SAY)
        return CleanSpeechText(GetDlgItemText(IDC_SPEECH));
    return SelectedComboBoxText(GetDlgItem(IDC_ARGUMENT));
}

void CActionDlg::UpdateOkAndPreview()
{
    const bool enable = ActionState != IDC_SAY || !CollectArgument().empty();
    ::EnableWindow(GetDlgItem(IDOK), enable);
    ::EnableWindow(GetDlgItem(IDC_PREVIEW), enable);
}

void CActionDlg::DoDataExchange(CDataExchange* dx)
{
    if (!dx->m_bSaveAndValidate)
        return;
    character = SelectedCharacter();
    command = CommandForRadio(ActionState);
    argument = CollectArgument();
    AppSettings& settings = GetSettings();
    if (ActionState == IDC_ANIMATE)
        settings.CharacterAnimation = argument;
    settings.CharacterName = character;
}

void CActionDlg::ResetCharacter() const
{
    CAgentApp* app = GetAgentApp();
    app->StopCharacter();
    app->HideCharacter(true);
    app->MoveToPosition("Center");
}

void CActionDlg::OnPreview()
{
    if (loaded_)
        ResetCharacter();
    if (!LoadSelectedCharacter())
        return;
    // The character comes on where it stands now: the editor steps aside, not onto it.
    MoveBesideCharacter(m_hWnd);
    CAgentApp* app = GetAgentApp();
    const std::string chosen = CollectArgument();
    switch (ActionState) {
    case IDC_SHOW:
        app->PerformCharacter("Showing", "", chosen == "Don't Animate", true, "");
        break;
    case IDC_HIDE:
        app->PerformCharacter("Hiding", "", chosen == "Don't Animate", true, "");
        break;
    case IDC_SAY:
        app->PerformCharacter(chosen, "", true, true, "");
        break;
    case IDC_ANIMATE:
        app->PerformCharacter(chosen, chosen, true, true, "");
        break;
    case IDC_MOVE:
        app->MoveToPosition(chosen == "Center" ? "Top Center" : "Center");
        app->PerformCharacter("Moving", "", true, false, "");
        app->MoveToPosition(chosen);
        app->PerformCharacter(chosen, "", true, true, "");
        break;
    }
}

void CActionDlg::OnHelp()
{
    CHelpDlg help(IDS_HELP_ACTION);
    help.DoModal();
}

void CActionDlg::OnDestroy()
{
    if (loaded_)
        ResetCharacter();
    Default();
}
