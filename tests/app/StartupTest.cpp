#include "app/ParloApp.h"
#include "framework/DocTemplate.h"
#include "framework/Wnd.h"
#include "greeting/GreetingAction.h"
#include "greeting/ParloDoc.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "support/ApplicationShutdown.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"
#include "support/WindowText.h"
#include <gtest/gtest.h>

namespace {

// The application with its character steps recorded instead of performed.
class RecordingApp : public CParloApp {
public:
    explicit RecordingApp(std::vector<std::string>& events) : events_(events) {}

protected:
    void RunIntroductionTour() override { events_.push_back("tour"); }
    bool CreateAgentControl(CWnd* parent) override
    {
        events_.push_back(parent && parent == m_pMainWnd && parent->IsWindowVisible() ? "agent after main window"
                                                                                        : "agent");
        return true;
    }

private:
    std::vector<std::string>& events_;
};

class Startup : public ::testing::Test {
protected:
    void SetUp() override { GetSettings() = AppSettings{}; }

    CParloDoc* Document(CWinApp& app)
    {
        auto* single = dynamic_cast<CSingleDocTemplate*>(app.GetFirstDocTemplate());
        return single ? dynamic_cast<CParloDoc*>(single->GetOnlyDocument()) : nullptr;
    }

    TestRegistry registry;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
    std::vector<std::string> events;
};

} // namespace

TEST_F(Startup, FirstRunShowsTourThenSetupThenTheNewGreetingInTheMainWindow)
{
    driver.On(IDD_SETUP, [&](HWND dialog) {
        events.push_back("setup");
        DialogDriver::SetText(dialog, IDC_NAME, "Ann");
        DialogDriver::SetText(dialog, IDC_EMAIL, "ann@example.org");
        DialogDriver::Click(dialog, IDOK);
    });
    driver.On(IDD_NEW_GREETING, [&](HWND dialog) {
        events.push_back("new greeting for " + DialogDriver::GetText(dialog, IDC_NAME));
        HWND types = GetDlgItem(dialog, IDC_GREETING_TYPES);
        SendMessageA(types, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Birthday"));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GREETING_TYPES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        DialogDriver::SetText(dialog, IDC_RECIPIENT, "Pat");
        DialogDriver::Click(dialog, IDOK);
    });
    RecordingApp app(events);
    ASSERT_TRUE(app.InitInstance());

    EXPECT_EQ((std::vector<std::string>{ "tour", "setup", "new greeting for Ann", "agent after main window" }), events);
    ASSERT_NE(nullptr, app.m_pMainWnd);
    EXPECT_TRUE(app.m_pMainWnd->IsWindowVisible());
    EXPECT_EQ("Greeting - Parlacard Maker", WindowText(app.m_pMainWnd->m_hWnd));
    CParloDoc* doc = Document(app);
    ASSERT_NE(nullptr, doc);
    // The birthday greeting, for Pat and from Ann, with nothing left to fill in.
    ASSERT_GE(doc->GetActionCount(), 8);
    EXPECT_EQ("Pat", doc->GetRecipientName());
    std::string spoken;
    for (int i = 0; i < doc->GetActionCount(); ++i)
        spoken += doc->GetAction(i)->GetArgument() + "\n";
    EXPECT_NE(std::string::npos, spoken.find("Pat")) << spoken;
    EXPECT_NE(std::string::npos, spoken.find("Ann")) << spoken;
    EXPECT_EQ(std::string::npos, spoken.find('<')) << spoken;
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ("Ann", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName"));
    EXPECT_EQ("Male", registry.GetString(HKEY_LOCAL_MACHINE, "General", "Gender"));
    EXPECT_TRUE(boxes.Boxes().empty());
    ShutDownApplication(app);
}

TEST_F(Startup, WithoutTourAndWithAUserItGoesStraightToTheGreeting)
{
    registry.SetDword(HKEY_LOCAL_MACHINE, "General", "ShowPromo", 0);
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "UserName", "Ann");
    driver.On(IDD_NEW_GREETING, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    RecordingApp app(events);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ((std::vector<std::string>{ "agent after main window" }), events);
    EXPECT_EQ(std::vector<UINT>{ IDD_NEW_GREETING }, driver.Seen());
    ASSERT_NE(nullptr, app.m_pMainWnd);
    // Cancelled at start-up, the greeting is empty.
    EXPECT_EQ(0, Document(app)->GetActionCount());
    ShutDownApplication(app);
}

TEST_F(Startup, CancelledSetupEndsBeforeAnyWindow)
{
    driver.On(IDD_SETUP, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    RecordingApp app(events);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_EQ(nullptr, app.GetFirstDocTemplate());
    EXPECT_EQ((std::vector<std::string>{ "tour" }), events);
    EXPECT_FALSE(registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName"));
    ShutDownApplication(app);
}

TEST_F(Startup, AMissingFileOnTheCommandLineIsReportedAndEndsStartup)
{
    registry.SetDword(HKEY_LOCAL_MACHINE, "General", "ShowPromo", 0);
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "UserName", "Ann");
    TempFolder folder;
    const std::string path = folder.File("No Such Greeting.pcg");
    RecordingApp app(events);
    app.m_strCmdLine = "\"" + path + "\"";
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Failed to open " + path + "\nFile could not be found.", boxes.Boxes()[0].text);
    EXPECT_EQ("Parlacard", boxes.Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Boxes()[0].flags);
    EXPECT_EQ(nullptr, boxes.Boxes()[0].owner);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_TRUE(events.empty());
    ShutDownApplication(app);
}

TEST_F(Startup, AGreetingOnTheCommandLineOpensAndSavesBackByteForByte)
{
    registry.SetDword(HKEY_LOCAL_MACHINE, "General", "ShowPromo", 0);
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "UserName", "Ann");
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "UserEmail", "ann@example.org");
    TempFolder folder;
    const std::string bytes =
        "Parlacard File Version : 1\r\nBob\r\nbob@example.org,carl@example.org\r\nAnn\r\nann@example.org\r\n\r\n"
        "Merlin,Show,Animate\r\nMerlin,Say,\"Hello, \"\"Bob\"\"!\"\r\nPeedy,Move,Top Left\r\n";
    folder.Write("Birthday.pcg", bytes);
    RecordingApp app(events);
    app.m_strCmdLine = "\"" + folder.File("Birthday.pcg") + "\"";
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ("Birthday.pcg - Parlacard Maker", WindowText(app.m_pMainWnd->m_hWnd));
    CParloDoc* doc = Document(app);
    ASSERT_NE(nullptr, doc);
    ASSERT_EQ(3, doc->GetActionCount());
    EXPECT_EQ("Merlin says: \"Hello, \"Bob\"!\"", doc->GetAction(1)->GetDescription());

    folder.Write("Birthday.pcg", "overwritten");
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(bytes, folder.Read("Birthday.pcg"));
    EXPECT_FALSE(doc->IsModified());
    ShutDownApplication(app);
    // The file went into the recent-file list of the user's profile.
    EXPECT_EQ(folder.File("Birthday.pcg"), registry.GetString(HKEY_CURRENT_USER, "Recent File List", "File1"));
}
