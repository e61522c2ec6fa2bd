#include "app/MainFrame.h"
#include "app/ParloView.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "support/ApplicationShutdown.h"
#include "support/CharacterFiles.h"
#include "support/DialogDriver.h"
#include "support/KeyPresses.h"
#include "support/MessagePump.h"
#include "support/MessageBoxAnswerer.h"
#include "support/RecordedPlayer.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

class ParloView : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillVocabulary();
        GetSettings() = AppSettings{};
        GetSettings().UserName = "Ann";
        GetSettings().CharacterName = "Merlin";
        app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CParloDoc), RUNTIME_CLASS(CMainFrame),
                                                  RUNTIME_CLASS(CParloView)));
        app.OnFileNew();
        frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        ASSERT_NE(nullptr, frame);
        frame->ShowWindow(SW_SHOW);
        view = dynamic_cast<CParloView*>(frame->GetActiveView());
        ASSERT_NE(nullptr, view);
        doc = view->GetDocument();
    }
    void TearDown() override { ShutDownApplication(app); }

    // A greeting of the given spoken texts, listed in the view, nothing selected.
    void Load(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts)
            doc->InsertAction(new GreetingAction("Merlin", "Say", text), doc->GetActionCount());
        doc->SetModifiedFlag(false);
        doc->UpdateAllViews(nullptr);
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        HWND list = view->GetListControl();
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            char text[256] = "";
            ListView_GetItemText(list, i, 0, text, sizeof(text));
            rows.push_back(text);
        }
        return rows;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < doc->GetActionCount(); ++i)
            texts.push_back(doc->GetAction(i)->GetArgument());
        return texts;
    }
    void Select(int row)
    {
        HWND list = view->GetListControl();
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        NMITEMACTIVATE click{};
        click.hdr = { list, IDC_ACTION_LIST, static_cast<UINT>(NM_CLICK) };
        click.iItem = row;
        view->SendMessage(WM_NOTIFY, IDC_ACTION_LIST, reinterpret_cast<LPARAM>(&click));
    }
    bool Enabled(int id) const { return IsWindowEnabled(view->GetDlgItem(id)) != FALSE; }
    // Waits, running the messages as the program's loop does, until the control has the focus.
    bool FocusComesTo(HWND control) { return PumpUntil(app, [control] { return GetFocus() == control; }, 5000); }
    bool FocusComesTo(int id) { return FocusComesTo(view->GetDlgItem(id)); }
    static std::string FocusName()
    {
        char name[64] = "";
        GetWindowTextA(GetFocus(), name, sizeof name);
        return std::to_string(GetDlgCtrlID(GetFocus())) + " \"" + name + "\"";
    }
    void Command(int id) { view->SendMessage(WM_COMMAND, id); }
    // Adds a spoken action through the real editor.
    void AddThroughEditor(const std::string& text)
    {
        driver.On(IDD_ACTION, [text](HWND dialog) {
            DialogDriver::Type(dialog, IDC_SPEECH, text);
            DialogDriver::Click(dialog, IDOK);
        });
        Command(ID_ACTION_ADD);
    }

    TestRegistry registry;
    CharacterFiles installed{ { "Merlin" } };
    DialogDriver driver;
    MessageBoxAnswerer boxes;
    CWinApp app;
    CMainFrame* frame = nullptr;
    CParloView* view = nullptr;
    CParloDoc* doc = nullptr;
};

// The popup menus opened while the hook is set, each with which of Add, Edit, Play From and
// Remove it offers, read as it opens; each menu is then closed again.
struct OpenedMenu {
    HMENU menu;
    std::vector<bool> actionStates;
};
std::vector<OpenedMenu> openedMenus;
LRESULT CALLBACK ReadOpenedMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
        HMENU menu = reinterpret_cast<HMENU>(message->wParam);
        openedMenus.push_back({ menu, {} });
        for (UINT id : { ID_ACTION_ADD, ID_ACTION_EDIT, ID_ACTION_PLAYFROM, ID_ACTION_REMOVE })
            openedMenus.back().actionStates.push_back(!(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED));
        PostMessageA(message->hwnd, WM_CANCELMODE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(ParloView, RowsDescribeTheActionsWithTheirCommandImages)
{
    doc->InsertAction(new GreetingAction("Peedy", "Move", "Top Left"), 0);
    doc->InsertAction(new GreetingAction("Merlin", "Animate", "Wave"), 1);
    doc->UpdateAllViews(nullptr);
    EXPECT_EQ((std::vector<std::string>{ "Peedy moves to TOP LEFT", "Merlin performs the WAVE animation" }), Rows());
    LVITEMA item{};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 1;
    SendMessageA(view->GetListControl(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(4, item.iImage);
    EXPECT_EQ(doc->GetAction(1), reinterpret_cast<GreetingAction*>(item.lParam));
    EXPECT_FALSE(Enabled(ID_ACTION_EDIT));
}

// Opened greetings fill the list from their files' lines, one after another, and the
// buttons keep their pictures' places and their tips.
TEST_F(ParloView, OpenedGreetingsFillTheRowsAndLeaveTheButtonsAsTheyWere)
{
    TempFolder folder;
    const std::string head = "Parlacard File Version : 1\r\nBob\r\n\r\n\r\n\r\n\r\n";
    folder.Write("one.pcg", head + "Genie,Move,Center\r\nMerlin,Say,\"Hi, Bob\"\r\n");
    folder.Write("two.pcg", head + "Peedy,Hide,Animate\r\nodd\r\nRobby,Animate,Wave\r\n");
    const auto buttonText = [this](int id) {
        char text[128] = "";
        GetWindowTextA(view->GetDlgItem(id), text, sizeof text);
        return std::string(text);
    };
    const std::string playText = buttonText(ID_TOOLS_PLAYGREETING);
    const std::string addText = buttonText(ID_ACTION_ADD);
    EXPECT_NE(std::string::npos, playText.find("Preview the parlacard"));

    ASSERT_NE(nullptr, app.OpenDocumentFile(folder.File("one.pcg")));
    EXPECT_EQ((std::vector<std::string>{ "Genie moves to CENTER", "Merlin says: \"Hi, Bob\"" }), Rows());
    ASSERT_NE(nullptr, app.OpenDocumentFile(folder.File("two.pcg")));
    EXPECT_EQ((std::vector<std::string>{ "Peedy hides  (Animate)", "Undefined Action.",
                                         "Robby performs the WAVE animation" }),
              Rows());
    HWND list = view->GetListControl();
    const int images[] = { 1, 0, 4 };
    for (int row = 0; row < 3; ++row) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE | LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(images[row], item.iImage) << row;
        EXPECT_EQ(doc->GetAction(row), reinterpret_cast<GreetingAction*>(item.lParam)) << row;
    }
    EXPECT_NE(nullptr, reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)));
    EXPECT_EQ(playText, buttonText(ID_TOOLS_PLAYGREETING));
    EXPECT_EQ(addText, buttonText(ID_ACTION_ADD));
    EXPECT_FALSE(Enabled(ID_ACTION_EDIT));
}

TEST_F(ParloView, AddGoesToTheTopWithoutSelectionAndAfterTheSelectedRow)
{
    Load({ "one", "two" });
    AddThroughEditor("first");
    EXPECT_EQ((std::vector<std::string>{ "first", "one", "two" }), Texts());
    EXPECT_EQ(0, view->GetSelectedIndex());
    EXPECT_TRUE(doc->IsModified());
    Select(2);
    AddThroughEditor("last");
    EXPECT_EQ((std::vector<std::string>{ "first", "one", "two", "last" }), Texts());
    EXPECT_EQ(3, view->GetSelectedIndex());
    EXPECT_EQ("Merlin says: \"last\"", Rows()[3]);
    EXPECT_TRUE(Enabled(ID_ACTION_REMOVE));
}

TEST_F(ParloView, EditChangesTheActionAndItsRowInPlace)
{
    Load({ "one", "two" });
    Select(1);
    driver.On(IDD_ACTION, [](HWND dialog) {
        DialogDriver::Click(dialog, IDC_HIDE);
        DialogDriver::Click(dialog, IDOK);
    });
    Command(ID_ACTION_EDIT);
    EXPECT_EQ("Hide", doc->GetAction(1)->GetCommand());
    EXPECT_EQ("Merlin hides  (Animate)", Rows()[1]);
    EXPECT_EQ(1, view->GetSelectedIndex());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ParloView, RemovingTheLastRowSelectsTheNewLastAndTheOnlyRowNothing)
{
    Load({ "one", "two", "three" });
    Select(2);
    Command(ID_ACTION_REMOVE);
    EXPECT_EQ((std::vector<std::string>{ "one", "two" }), Texts());
    EXPECT_EQ(1, view->GetSelectedIndex());
    Command(ID_ACTION_REMOVE);
    Command(ID_ACTION_REMOVE);
    EXPECT_EQ(0, doc->GetActionCount());
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(-1, view->GetSelectedIndex());
    EXPECT_FALSE(Enabled(ID_ACTION_EDIT));
    EXPECT_FALSE(Enabled(ID_ACTION_REMOVE));
    EXPECT_FALSE(Enabled(ID_ACTION_PLAYFROM));
    EXPECT_TRUE(Enabled(ID_ACTION_ADD));
}

TEST_F(ParloView, MovingPastEitherEndChangesNothing)
{
    Load({ "one", "two", "three" });
    Select(0);
    Command(IDC_MOVE_UP);
    Select(2);
    Command(IDC_MOVE_DOWN);
    EXPECT_EQ((std::vector<std::string>{ "one", "two", "three" }), Texts());
    EXPECT_FALSE(doc->IsModified());

    Command(IDC_MOVE_UP);
    EXPECT_EQ((std::vector<std::string>{ "one", "three", "two" }), Texts());
    EXPECT_EQ(1, view->GetSelectedIndex());
    Command(IDC_MOVE_UP);
    EXPECT_EQ((std::vector<std::string>{ "three", "one", "two" }), Texts());
    EXPECT_EQ("Merlin says: \"three\"", Rows()[0]);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ParloView, ADoubleClickWithoutSelectionOpensNothing)
{
    Load({ "one" });
    NMITEMACTIVATE click{};
    click.hdr = { view->GetListControl(), IDC_ACTION_LIST, static_cast<UINT>(NM_DBLCLK) };
    click.iItem = -1;
    view->SendMessage(WM_NOTIFY, IDC_ACTION_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_TRUE(driver.Seen().empty());
}

TEST_F(ParloView, SendNowRefusesAnEmptyGreetingAndOffersAPreviewFirst)
{
    RecordedPlayer player;
    Command(ID_TOOLS_SENDNOW);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Can't send an empty greeting.\n\nPlease use the 'Add' button to add actions to the greeting.",
              boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].flags);

    Load({ "one" });
    boxes.Answer(IDYES);
    Command(ID_TOOLS_SENDNOW);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("This greeting was not previewed.\n\nWould you like to preview it now before sending it?",
              boxes.Boxes()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[1].flags);
    ASSERT_EQ(1u, player.Starts(1).size());
    EXPECT_NE(std::string::npos, player.Starts(1)[0].find(" *0"));
    EXPECT_TRUE(doc->IsPreviewed());
    EXPECT_TRUE(driver.Seen().empty());
}

TEST_F(ParloView, PlayFromPassesTheSelectedRowAndPlayStartsAtTheTop)
{
    RecordedPlayer player;
    Load({ "one", "two", "three" });
    Command(ID_ACTION_PLAYFROM);  // nothing selected: nothing played
    Select(2);
    Command(ID_ACTION_PLAYFROM);
    // Two players started at once may log in either order: wait for the first.
    ASSERT_EQ(1u, player.Starts(1).size());
    Command(ID_TOOLS_PLAYGREETING);
    const auto starts = player.Starts(2);
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(" *2", starts[0].substr(starts[0].size() - 3));
    EXPECT_EQ(" *0", starts[1].substr(starts[1].size() - 3));
}

TEST_F(ParloView, TheEditMenuAndTheContextMenuFollowTheButtons)
{
    Load({ "one" });
    auto editMenuStates = [this]() {
        HMENU edit = GetSubMenu(GetMenu(frame->m_hWnd), 1);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
        std::vector<bool> enabled;
        for (UINT id : { ID_ACTION_ADD, ID_ACTION_EDIT, ID_ACTION_PLAYFROM, ID_ACTION_REMOVE })
            enabled.push_back(!(GetMenuState(edit, id, MF_BYCOMMAND) & MF_GRAYED));
        return enabled;
    };
    EXPECT_EQ((std::vector<bool>{ true, false, false, false }), editMenuStates());
    Select(0);
    EXPECT_EQ((std::vector<bool>{ true, true, true, true }), editMenuStates());

    // The context menu, read as it opens and then closed.
    openedMenus.clear();
    ListView_SetItemState(view->GetListControl(), -1, 0, LVIS_SELECTED);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &ReadOpenedMenu, nullptr, GetCurrentThreadId());
    NMITEMACTIVATE click{};
    click.hdr = { view->GetListControl(), IDC_ACTION_LIST, static_cast<UINT>(NM_RCLICK) };
    view->SendMessage(WM_NOTIFY, IDC_ACTION_LIST, reinterpret_cast<LPARAM>(&click));
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(1u, openedMenus.size());
    EXPECT_EQ((std::vector<bool>{ true, false, false, false }), openedMenus[0].actionStates);
}

TEST_F(ParloView, ResizingFollowsTheRules)
{
    Load({ "one" });
    auto rect = [this](int id) {
        RECT r;
        GetWindowRect(view->GetDlgItem(id), &r);
        MapWindowPoints(nullptr, view->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    SetWindowPos(frame->m_hWnd, nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOMOVE);
    RECT client;
    view->GetClientRect(&client);
    const RECT add = rect(ID_ACTION_ADD), list = rect(IDC_ACTION_LIST), play = rect(ID_TOOLS_PLAYGREETING);
    const RECT send = rect(ID_TOOLS_SENDNOW), help = rect(IDC_HELP_BUTTON), edit = rect(ID_ACTION_EDIT);
    EXPECT_LT(add.right, client.right);
    EXPECT_GT(add.right, client.right - 15);
    EXPECT_EQ(add.right, edit.right);
    EXPECT_EQ(add.right, help.right);
    EXPECT_EQ(list.right, play.right);
    EXPECT_LT(list.right, add.left);
    EXPECT_LT(play.bottom, client.bottom);
    EXPECT_EQ(play.bottom, send.bottom);
    EXPECT_LT(send.right, play.left);
    EXPECT_LT(list.bottom, play.top);
    EXPECT_LT(help.bottom, play.top);
}

TEST_F(ParloView, AnsweringNoOpensTheSendDialogAndAPreviewStopsTheQuestion)
{
    RecordedPlayer player;
    Load({ "one" });
    boxes.Answer(IDNO);
    driver.On(IDD_SEND, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    Command(ID_TOOLS_SENDNOW);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ((std::vector<UINT>{ IDD_SEND }), driver.Seen());

    // After a preview, even with edits since, Send goes straight to the dialog.
    Command(ID_TOOLS_PLAYGREETING);
    ASSERT_EQ(1u, player.Starts(1).size());
    Select(0);
    Command(ID_ACTION_REMOVE);
    Load({ "two" });
    driver.On(IDD_SEND, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    Command(ID_TOOLS_SENDNOW);
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ((std::vector<UINT>{ IDD_SEND, IDD_SEND }), driver.Seen());
}

TEST_F(ParloView, TheKeyboardStartsInTheListAndComesBackToItAfterEachDialog)
{
    Load({ "one", "two" });
    HWND list = view->GetListControl();
    ASSERT_TRUE(FocusComesTo(list)) << "the focus is on " << FocusName();
    // The first row carries the focus mark without being chosen.
    EXPECT_EQ(LVIS_FOCUSED, ListView_GetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED));

    driver.On(IDD_OPTIONS, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    frame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_TRUE(FocusComesTo(list)) << "after Options the focus is on " << FocusName();

    Select(1);
    driver.On(IDD_ACTION, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    Command(ID_ACTION_EDIT);
    EXPECT_TRUE(FocusComesTo(list)) << "after the editor the focus is on " << FocusName();

    // A question and a dialog opened from a button give the keyboard back to the list too.
    SetFocus(view->GetDlgItem(ID_TOOLS_SENDNOW));
    boxes.Answer(IDNO);
    driver.On(IDD_SEND, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    Command(ID_TOOLS_SENDNOW);
    EXPECT_TRUE(FocusComesTo(list)) << "after Send the focus is on " << FocusName();
}

TEST_F(ParloView, KeysMoveThroughTheFormAndArrowsChooseRowsForTheButtons)
{
    Load({ "one", "two", "three" });
    HWND list = view->GetListControl();
    ASSERT_TRUE(FocusComesTo(list)) << "the focus is on " << FocusName();

    PressKey(VK_DOWN);
    ASSERT_TRUE(PumpUntil(app, [&] { return view->GetSelectedIndex() == 1; }, 5000))
        << "Down chose row " << view->GetSelectedIndex();
    EXPECT_TRUE(Enabled(ID_ACTION_EDIT));
    EXPECT_TRUE(Enabled(ID_ACTION_REMOVE));
    EXPECT_TRUE(Enabled(ID_ACTION_PLAYFROM));

    PressKey(VK_TAB);
    EXPECT_TRUE(FocusComesTo(ID_ACTION_ADD)) << "Tab went to " << FocusName();
    PressKey(VK_TAB);
    EXPECT_TRUE(FocusComesTo(ID_ACTION_EDIT)) << "Tab went to " << FocusName();
    PressKey(VK_TAB, { VK_SHIFT });
    PressKey(VK_TAB, { VK_SHIFT });
    EXPECT_TRUE(FocusComesTo(list)) << "Shift+Tab went to " << FocusName();

    // F6 goes from part to part of the form: the list, the buttons beside it, those below it.
    PressKey(VK_F6);
    EXPECT_TRUE(FocusComesTo(ID_ACTION_ADD)) << "F6 went to " << FocusName();
    PressKey(VK_F6);
    EXPECT_TRUE(FocusComesTo(IDC_MOVE_UP)) << "F6 went to " << FocusName();
    PressKey(VK_F6);
    EXPECT_TRUE(FocusComesTo(list)) << "F6 went to " << FocusName();
    PressKey(VK_F6, { VK_SHIFT });
    EXPECT_TRUE(FocusComesTo(IDC_MOVE_UP)) << "Shift+F6 went to " << FocusName();

    // Up moves the chosen row; the list keeps it chosen.
    PressKey(VK_SPACE);
    ASSERT_TRUE(PumpUntil(app, [&] { return Texts()[0] == "two"; }, 5000)) << Texts()[0];
    EXPECT_EQ(0, view->GetSelectedIndex());
}

TEST_F(ParloView, AltWithALetterOfTheMenuBarOpensItsMenuBeforeAButtonOfTheSameLetter)
{
    Load({ "one", "two" });
    HWND list = view->GetListControl();
    ASSERT_TRUE(FocusComesTo(list)) << "the focus is on " << FocusName();
    PressKey(VK_DOWN);
    ASSERT_TRUE(PumpUntil(app, [&] { return view->GetSelectedIndex() == 1; }, 5000));

    // Play From, Edit and Help underline the letters of File, Edit and Help: the menus win.
    // A button pressed instead would start the player, open the editor (which the driver
    // fails) or speak help, and no menu would open.
    HMENU bar = GetMenu(frame->m_hWnd);
    openedMenus.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &ReadOpenedMenu, nullptr, GetCurrentThreadId());
    const std::pair<WORD, int> letters[] = { { 'F', 0 }, { 'E', 1 }, { 'H', 4 } };
    for (const auto& [letter, position] : letters) {
        const size_t before = openedMenus.size();
        PressKey(letter, { VK_MENU });
        EXPECT_TRUE(PumpUntil(app, [&] { return openedMenus.size() > before; }, 5000))
            << "Alt+" << static_cast<char>(letter) << " opened no menu";
        if (openedMenus.size() > before) {
            EXPECT_EQ(GetSubMenu(bar, position), openedMenus[before].menu) << "Alt+" << static_cast<char>(letter);
        }
    }
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(driver.Seen().empty());
    EXPECT_TRUE(FocusComesTo(list)) << "after the menus the focus is on " << FocusName();

    // Remove's letter is no menu's: Alt+R still presses it.
    PressKey('R', { VK_MENU });
    EXPECT_TRUE(PumpUntil(app, [&] { return doc->GetActionCount() == 1; }, 5000)) << "Alt+R removed nothing";
    EXPECT_EQ((std::vector<std::string>{ "one" }), Texts());
}
