#include "settings/AppSettings.h"
#include "settings/FileUtil.h"
#include "settings/Registry.h"
#include "settings/SiteInfo.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"
#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { GetSettings() = AppSettings{}; }
    TestRegistry registry;
};

} // namespace

TEST_F(Settings, FreshInstallationGivesTheDefaults)
{
    ASSERT_TRUE(LoadSettings());
    const AppSettings& s = GetSettings();
    EXPECT_EQ("Say Hi", s.DefaultGreetingType);
    EXPECT_EQ("", s.UserName);
    EXPECT_EQ("Male", s.Gender);
    EXPECT_EQ("", s.UserEmail);
    EXPECT_EQ("Merlin", s.CharacterName);
    EXPECT_EQ("(None)", s.CharacterAnimation);
    EXPECT_EQ(0, s.AutoAddress);
    EXPECT_EQ(1, s.ShowPromo);
    EXPECT_EQ(1, s.loaded);
}

TEST_F(Settings, SaveWritesEveryValueWithItsTypeAndLoadReadsThemBack)
{
    AppSettings& s = GetSettings();
    s.DefaultGreetingType = "Birthday";
    s.UserName = "  Ann Example  ";
    s.Gender = "Female";
    s.UserEmail = "ann@example.org";
    s.CharacterName = "Peedy";
    s.CharacterAnimation = "Wave";
    s.AutoAddress = 1;
    s.ShowPromo = 0;
    ASSERT_TRUE(SaveSettings());

    EXPECT_EQ("  Ann Example  ", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName"));
    EXPECT_EQ("Birthday", registry.GetString(HKEY_LOCAL_MACHINE, "General", "DefaultGreetingType"));
    EXPECT_EQ("Female", registry.GetString(HKEY_LOCAL_MACHINE, "General", "Gender"));
    EXPECT_EQ("ann@example.org", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserEmail"));
    EXPECT_EQ("Peedy", registry.GetString(HKEY_LOCAL_MACHINE, "Character", "Name"));
    EXPECT_EQ("Wave", registry.GetString(HKEY_LOCAL_MACHINE, "Character", "Animation"));
    EXPECT_EQ(1u, registry.GetDword(HKEY_LOCAL_MACHINE, "General", "AutoAddress"));
    EXPECT_EQ(0u, registry.GetDword(HKEY_LOCAL_MACHINE, "General", "ShowPromo"));

    GetSettings() = AppSettings{};
    ASSERT_TRUE(LoadSettings());
    EXPECT_EQ("  Ann Example  ", s.UserName);
    EXPECT_EQ("Birthday", s.DefaultGreetingType);
    EXPECT_EQ("Female", s.Gender);
    EXPECT_EQ("ann@example.org", s.UserEmail);
    EXPECT_EQ("Peedy", s.CharacterName);
    EXPECT_EQ("Wave", s.CharacterAnimation);
    EXPECT_EQ(1, s.AutoAddress);
    EXPECT_EQ(0, s.ShowPromo);
}

TEST_F(Settings, OddRegistryValuesNeverBreakTheRead)
{
    // A number stored as text, a string stored as binary without its terminating zero,
    // and an empty string.
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "ShowPromo", "a long text, not a number");
    registry.SetDword(HKEY_LOCAL_MACHINE, "General", "UserName", 0x00636241);  // "Abc\0"
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "Gender", "");
    ASSERT_TRUE(LoadSettings());
    const AppSettings& s = GetSettings();
    EXPECT_EQ(1, s.ShowPromo);
    EXPECT_EQ("Abc", s.UserName);
    EXPECT_EQ("", s.Gender);
}

TEST_F(Settings, ReadRegStringReadsDataWithoutTerminatingZero)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Zentorix\\Parlacard\\SiteInfo", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "CharactersPage", 0, REG_BINARY,
                                            reinterpret_cast<const BYTE*>("http://x/"), 9));
    RegCloseKey(key);
    EXPECT_EQ("http://x/", ReadRegString("SiteInfo", "CharactersPage", "fallback"));
}

TEST_F(Settings, SiteAddressesComeFromTheRegistryWhenPresentEvenEmpty)
{
    EXPECT_EQ("http://www.parlacard.example/characters/", ReadSiteAddress(CharactersPage));
    EXPECT_EQ("http://www.parlacard.example/send/default.asp", ReadSiteAddress(SendGreetingPage));
    EXPECT_EQ("http://www.parlacard.example/help/", ReadSiteAddress(OnlineHelpPage));
    EXPECT_EQ("http://www.parlacard.example/feedback/", ReadSiteAddress(FeedbackPage));
    EXPECT_EQ("http://www.parlacard.example/products/", ReadSiteAddress(OtherProductsPage));
    EXPECT_EQ("http://www.parlacard.example/update/ver.txt", ReadSiteAddress(UpdateManifestAddress));

    registry.SetString(HKEY_LOCAL_MACHINE, "ContactInfo", "OnlineHelp", "http://help.example.net/");
    registry.SetString(HKEY_LOCAL_MACHINE, "ContactInfo", "Feedback", "");
    EXPECT_EQ("http://help.example.net/", ReadSiteAddress(OnlineHelpPage));
    EXPECT_EQ("", ReadSiteAddress(FeedbackPage));
    // Another value of the same section stays at its default.
    EXPECT_EQ("http://www.parlacard.example/products/", ReadSiteAddress(OtherProductsPage));
}

TEST_F(Settings, NumbersReadBackExactlyAndMissingOnesTakeTheDefault)
{
    WriteRegNumber("General", "AutoAddress", -7);
    EXPECT_EQ(-7, ReadRegNumber("General", "AutoAddress", 3));
    EXPECT_EQ(3, ReadRegNumber("General", "Missing", 3));
    EXPECT_EQ(5, ReadRegNumber("NoSuchSection", "AutoAddress", 5));
}

TEST(FileUtil, FileExistsFindsFilesFoldersAndWildcards)
{
    TempFolder folder;
    folder.Write("greeting.pcg", "x");
    EXPECT_TRUE(FileExists(folder.File("greeting.pcg")));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_TRUE(FileExists(folder.File("*.pcg")));
    EXPECT_FALSE(FileExists(folder.File("other.pcg")));
    EXPECT_FALSE(FileExists(folder.File("missing\\greeting.pcg")));
    EXPECT_FALSE(FileExists(""));
}

TEST(FileUtil, FindCharacterFileLooksInTheCharacterFolderOfWindows)
{
    char windows[MAX_PATH];
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    const std::string folder = std::string(windows) + "\\MSAgent\\Chars";
    CreateDirectoryA((std::string(windows) + "\\MSAgent").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\Testling.ACS";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    EXPECT_EQ(path, FindCharacterFile("Testling"));
    EXPECT_EQ("", FindCharacterFile("Nobody"));
    // Wildcards would find the file, but a name is a name.
    EXPECT_EQ("", FindCharacterFile("Test*"));
    EXPECT_EQ("", FindCharacterFile("Testlin?"));
    DeleteFileA(path.c_str());
    EXPECT_EQ("", FindCharacterFile("Testling"));
}

// Character names come from greetings that other people wrote: a name that could lead
// out of the character folder finds nothing, even where a file lies at its end.
TEST(FileUtil, FindCharacterFileNeverLeavesTheCharacterFolder)
{
    char windows[MAX_PATH];
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    const std::string outside = std::string(windows) + "\\Outsider.ACS";
    HANDLE file = CreateFileA(outside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    for (const std::string& name : std::vector<std::string>{ "..\\..\\Outsider", "../../Outsider", std::string(windows) + "\\Outsider",
                                     "C:Outsider", "\\\\?\\" + std::string(windows) + "\\Outsider" })
        EXPECT_EQ("", FindCharacterFile(name)) << name;
    DeleteFileA(outside.c_str());

    for (const std::string& name : std::vector<std::string>{ "Merlin", "Mr. Bones", "Caf\xE9", std::string(64, 'a') })
        EXPECT_TRUE(IsPlainCharacterName(name)) << name;
    for (const std::string& name : std::vector<std::string>{ "", "a..b", "..", "a\\b", "a/b", "C:x", "a*", "a?", "a<b", "a>b", "a|b", "a\"b",
                                     std::string("a\tb"), std::string("a\x01"), std::string(65, 'a') })
        EXPECT_FALSE(IsPlainCharacterName(name)) << name;
}
