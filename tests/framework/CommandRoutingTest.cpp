#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"
#include "support/ApplicationShutdown.h"
#include <gtest/gtest.h>

namespace {

std::vector<std::string> handled;

enum : UINT {
    ID_VIEW_ONLY = 40001,  // handled by the view
    ID_DOC_AND_FRAME,      // handled by the document and the frame: the document wins
    ID_FRAME_AND_APP,      // handled by the frame and the application: the frame wins
    ID_APP_ONLY,
    ID_NOBODY,
    ID_FORCED_OFF,         // has a handler, but its update handler disables it
};

class RoutingDoc : public CDocument {
public:
    bool OnOpenDocument(const std::string&) override { return true; }
    bool OnSaveDocument(const std::string& path) override
    {
        handled.push_back("save " + path);
        return true;
    }
    void OnDocCommand() { handled.push_back("document"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RoutingDoc, CDocument)
    ON_COMMAND(ID_DOC_AND_FRAME, OnDocCommand)
END_MESSAGE_MAP()

class RoutingView : public CView {
public:
    void OnViewCommand() { handled.push_back("view"); }
    void OnUpdateForcedOff(CCmdUI* ui) { ui->Enable(false); }
    void OnSize(UINT, int cx, int cy) { handled.push_back("view size " + std::to_string(cx > 0 && cy > 0)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RoutingView, CView)
    ON_COMMAND(ID_VIEW_ONLY, OnViewCommand)
    ON_COMMAND(ID_FORCED_OFF, OnViewCommand)
    ON_UPDATE_COMMAND_UI(ID_FORCED_OFF, OnUpdateForcedOff)
    ON_WM_SIZE()
END_MESSAGE_MAP()

class RoutingFrame : public CFrameWnd {
public:
    void OnFrameCommand() { handled.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RoutingFrame, CFrameWnd)
    ON_COMMAND(ID_DOC_AND_FRAME, OnFrameCommand)
    ON_COMMAND(ID_FRAME_AND_APP, OnFrameCommand)
END_MESSAGE_MAP()

class RoutingApp : public CWinApp {
public:
    void OnAppCommand() { handled.push_back("application"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RoutingApp, CWinApp)
    ON_COMMAND(ID_FRAME_AND_APP, OnAppCommand)
    ON_COMMAND(ID_APP_ONLY, OnAppCommand)
END_MESSAGE_MAP()

class DocumentView : public ::testing::Test {
protected:
    void SetUp() override
    {
        handled.clear();
        app.SetRegistryKey("Zentorix");
        app.LoadStdProfileSettings(4);
        app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(RoutingDoc), RUNTIME_CLASS(RoutingFrame),
                                                  RUNTIME_CLASS(RoutingView)));
    }
    void TearDown() override { ShutDownApplication(app); }
    CDocument* NewDocument()
    {
        app.OnFileNew();
        return static_cast<CSingleDocTemplate*>(app.GetFirstDocTemplate())->GetOnlyDocument();
    }
    void Command(UINT id) { app.m_pMainWnd->SendMessage(WM_COMMAND, id, 0); }

    TestRegistry registry;
    MessageBoxAnswerer boxes;
    RoutingApp app;
};

// The enabled state the File/Edit style popup would show for a command.
bool MenuItemEnabled(CWnd* frame, UINT id)
{
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, id, "item");
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const bool enabled = !(GetMenuState(popup, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    DestroyMenu(popup);
    return enabled;
}

} // namespace

TEST_F(DocumentView, CommandsGoToViewThenDocumentThenFrameThenApplication)
{
    ASSERT_NE(nullptr, NewDocument());
    ASSERT_NE(nullptr, app.m_pMainWnd);
    handled.clear();
    Command(ID_VIEW_ONLY);
    Command(ID_DOC_AND_FRAME);
    Command(ID_FRAME_AND_APP);
    Command(ID_APP_ONLY);
    Command(ID_NOBODY);
    EXPECT_EQ((std::vector<std::string>{ "view", "document", "frame", "application" }), handled);
}

TEST_F(DocumentView, MenuItemsWithoutHandlerAreDisabledAndUpdateHandlersWin)
{
    ASSERT_NE(nullptr, NewDocument());
    EXPECT_TRUE(MenuItemEnabled(app.m_pMainWnd, ID_VIEW_ONLY));
    EXPECT_TRUE(MenuItemEnabled(app.m_pMainWnd, ID_APP_ONLY));
    EXPECT_FALSE(MenuItemEnabled(app.m_pMainWnd, ID_NOBODY));
    EXPECT_FALSE(MenuItemEnabled(app.m_pMainWnd, ID_FORCED_OFF));
}

TEST_F(DocumentView, TheViewFillsTheFrameAndTheTitleFollowsTheDocument)
{
    CDocument* doc = NewDocument();
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ("Greeting - Parlacard Maker", app.m_pMainWnd->GetWindowText());
    doc->SetPathName("C:\\greetings\\Birthday.pcg", false);
    EXPECT_EQ("Birthday.pcg - Parlacard Maker", app.m_pMainWnd->GetWindowText());
    handled.clear();
    SetWindowPos(app.m_pMainWnd->m_hWnd, nullptr, 0, 0, 600, 500, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ((std::vector<std::string>{ "view size 1" }), handled);
}

TEST_F(DocumentView, SaveChangesIsAskedBeforeNewAndCancelKeepsTheDocument)
{
    TempFolder folder;
    CDocument* doc = NewDocument();
    ASSERT_NE(nullptr, doc);
    doc->SetPathName(folder.File("Party.pcg"), false);
    doc->SetModifiedFlag();

    boxes.Answer(IDCANCEL);
    app.OnFileNew();
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Save changes to Party.pcg?", boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL), boxes.Boxes()[0].flags & MB_TYPEMASK);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(folder.File("Party.pcg"), doc->GetPathName());

    handled.clear();
    boxes.Answer(IDYES);
    app.OnFileNew();
    EXPECT_EQ((std::vector<std::string>{ "save " + folder.File("Party.pcg") }), handled);
    EXPECT_EQ("", doc->GetPathName());
    EXPECT_FALSE(doc->IsModified());

    // Closing the main window asks too; No lets it close without saving.
    doc->SetModifiedFlag();
    boxes.Answer(IDNO);
    handled.clear();
    app.m_pMainWnd->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_TRUE(handled.empty());
}

TEST_F(DocumentView, RecentFilesAreKeptNewestFirstInTheUsersProfile)
{
    TempFolder folder;
    CDocument* doc = NewDocument();
    ASSERT_NE(nullptr, doc);
    for (const char* name : { "a.pcg", "b.pcg", "c.pcg", "d.pcg", "e.pcg", "b.pcg" }) {
        folder.Write(name, "");
        ASSERT_NE(nullptr, app.OpenDocumentFile(folder.File(name)));
    }
    app.ExitInstance();
    EXPECT_EQ(folder.File("b.pcg"), registry.GetString(HKEY_CURRENT_USER, "Recent File List", "File1"));
    EXPECT_EQ(folder.File("e.pcg"), registry.GetString(HKEY_CURRENT_USER, "Recent File List", "File2"));
    EXPECT_EQ(folder.File("d.pcg"), registry.GetString(HKEY_CURRENT_USER, "Recent File List", "File3"));
    EXPECT_EQ(folder.File("c.pcg"), registry.GetString(HKEY_CURRENT_USER, "Recent File List", "File4"));
}

TEST(CommandLine, SplitsArgumentsTheWayTheRuntimeDoes)
{
    struct Case {
        std::string line;
        CCommandLineInfo::ShellCommand command;
        std::string file;
    } cases[] = {
        { "", CCommandLineInfo::FileNew, "" },
        { "   ", CCommandLineInfo::FileNew, "" },
        { "C:\\a.pcg", CCommandLineInfo::FileOpen, "C:\\a.pcg" },
        { "\"C:\\My Greetings\\a b.pcg\"", CCommandLineInfo::FileOpen, "C:\\My Greetings\\a b.pcg" },
        { "/dde", CCommandLineInfo::FileNew, "" },
        { "-x \"one.pcg\" two.pcg", CCommandLineInfo::FileOpen, "one.pcg" },
        { "say\\\"hi\\\".pcg", CCommandLineInfo::FileOpen, "say\"hi\".pcg" },
    };
    for (const Case& c : cases) {
        RoutingApp app;
        app.m_strCmdLine = c.line;
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(c.command, info.m_nShellCommand) << c.line;
        EXPECT_EQ(c.file, info.m_strFileName) << c.line;
    }
}
