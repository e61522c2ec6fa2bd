#include "PlayerTestSupport.h"
#include "greeting/Vocabulary.h"
#include "player/PlayerApp.h"
#include "player/PlayerScript.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

class PlayerScriptTest : public testing::Test {
protected:
    void SetUp() override { FillVocabulary(); }

    // Loads the file from start and returns the texts of the boxes shown; each box must
    // be the player's error box.
    Texts Load(const std::string& path, size_t start, bool expected)
    {
        MessageBoxAnswerer answerer;
        EXPECT_EQ(expected, script.Load(path, start)) << path;
        Texts texts;
        for (const RecordedMessageBox& box : answerer.Boxes()) {
            EXPECT_EQ("Parlacard Player", box.caption);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), box.flags & (MB_TYPEMASK | MB_ICONMASK));
            texts.push_back(box.text);
        }
        return texts;
    }

    Texts LoadGreeting(const std::vector<std::string>& lines, size_t start, bool expected)
    {
        folder.Write("greeting.pcg", GreetingText(lines));
        return Load(folder.File("greeting.pcg"), start, expected);
    }

    // The application object names the boxes, as in the player.
    CPlayerApp app;
    TempFolder folder;
    CharacterFiles installed{ { "PlayerTestA", "PlayerTestB" } };
    PlayerScript script;
};

} // namespace

TEST_F(PlayerScriptTest, KeepsTheActionsFromTheStartToTheEndInOrder)
{
    const std::vector<std::string> lines = { "PlayerTestA,Say,skipped",        "PlayerTestA,Show,Animate",
                                             "PlayerTestB,Say,\"Hello, you\"", "PlayerTestA,Move,Bottom Right",
                                             "playertestb,Animate,Wave" };
    EXPECT_EQ(Texts{}, LoadGreeting(lines, 1, true));
    const std::vector<GreetingAction>& actions = script.GetActions();
    ASSERT_EQ(4u, actions.size());
    EXPECT_EQ("Show", actions[0].GetCommand());
    EXPECT_EQ("Animate", actions[0].GetArgument());
    EXPECT_EQ("PlayerTestB", actions[1].GetCharacter());
    EXPECT_EQ("Hello, you", actions[1].GetArgument());
    EXPECT_EQ("Bottom Right", actions[2].GetArgument());
    // Character files are found without regard to case, as the system finds files.
    EXPECT_EQ("playertestb", actions[3].GetCharacter());

    EXPECT_EQ(Texts{}, LoadGreeting(lines, 4, true));
    EXPECT_EQ(1u, script.GetActions().size());
}

namespace {

std::vector<std::string> Lines(const std::vector<GreetingAction>& actions)
{
    std::vector<std::string> lines;
    for (const GreetingAction& action : actions)
        lines.push_back(action.GetCharacter() + "," + action.GetCommand() + "," + action.GetArgument());
    return lines;
}

} // namespace

TEST_F(PlayerScriptTest, SetsTheStageAsTheSkippedActionsLeaveIt)
{
    const std::vector<std::string> lines = {
        "PlayerTestA,Show,Animate",     "PlayerTestA,Move,Top Left",     "PlayerTestA,Say,Hello",
        "PlayerTestB,Move,Bottom Left", "PlayerTestB,Show,Animate",      "PlayerTestB,Animate,Wave",
        "playertestb,Move,Top Right",   "PlayerTestB,Hide,Don't Animate", "PlayerTestA,Say,From here",
        "PlayerTestB,Show,Animate",
    };
    // Moves first, then the characters still shown, without animation.
    EXPECT_EQ(Texts{}, LoadGreeting(lines, 8, true));
    EXPECT_EQ((std::vector<std::string>{ "PlayerTestA,Move,Top Left", "PlayerTestB,Move,Top Right",
                                         "PlayerTestA,Show,Don't Animate" }),
              Lines(script.GetSetUp()));
    EXPECT_EQ(2u, script.GetActions().size());

    // A character that has left and is not named again is not set up; from the start
    // nothing is.
    EXPECT_EQ(Texts{}, LoadGreeting(std::vector<std::string>(lines.begin(), lines.end() - 1), 8, true));
    EXPECT_EQ((std::vector<std::string>{ "PlayerTestA,Move,Top Left", "PlayerTestA,Show,Don't Animate" }),
              Lines(script.GetSetUp()));
    EXPECT_EQ(Texts{}, LoadGreeting({ "PlayerTestA,Show,Animate", "PlayerTestB,Show,Animate",
                                      "PlayerTestB,Hide,Animate", "PlayerTestA,Say,Hi" },
                                    3, true));
    EXPECT_EQ(std::vector<std::string>{ "PlayerTestA,Show,Don't Animate" }, Lines(script.GetSetUp()));
    EXPECT_EQ(Texts{}, LoadGreeting(lines, 0, true));
    EXPECT_TRUE(script.GetSetUp().empty());

    // A character left standing must be there to be shown.
    EXPECT_EQ(Texts{ "Action 1 of the greeting needs the character \"Nobody\", which is not installed on this "
                     "computer." },
              LoadGreeting({ "Nobody,Show,Animate", "PlayerTestA,Show,Animate" }, 1, false));
    EXPECT_TRUE(script.GetSetUp().empty());
    EXPECT_EQ(Texts{}, LoadGreeting({ "Nobody,Show,Animate", "Nobody,Hide,Animate", "PlayerTestA,Show,Animate" }, 2,
                                    true));
}

TEST_F(PlayerScriptTest, RefusesAFileThatCannotBeRead)
{
    const std::string missing = folder.File("no such greeting.pcg");
    EXPECT_EQ(Texts{ "The greeting file could not be found:\n" + missing }, Load(missing, 0, false));
    const std::string inMissingFolder = folder.File("gone\\greeting.pcg");
    EXPECT_EQ(Texts{ "The greeting file could not be found:\n" + inMissingFolder }, Load(inMissingFolder, 0, false));

    // A folder is there but cannot be read as a file; the system says why.
    const Texts folderTexts = Load(folder.Path(), 0, false);
    ASSERT_EQ(1u, folderTexts.size());
    const std::string opened = "The greeting file could not be opened:\n" + folder.Path() + "\n\n";
    EXPECT_EQ(opened, folderTexts[0].substr(0, opened.size()));
    EXPECT_GT(folderTexts[0].size(), opened.size());
    EXPECT_TRUE(script.GetActions().empty());
}

TEST_F(PlayerScriptTest, RefusesWhatIsNoGreetingWithTheMakersOwnMessages)
{
    const char wrongFormat[] = "Wrong file format.\nThis file is not a valid Parlacard file.";
    for (const char* text : { "", "parlacard File Version : 1\r\nx\r\n", "Parlacard File Version: 1\r\n",
                              "MZ\x90\x03 and more bytes of a program" }) {
        folder.Write("other.pcg", text);
        EXPECT_EQ(Texts{ wrongFormat }, Load(folder.File("other.pcg"), 0, false)) << text;
    }
    folder.Write("newer.pcg", "Parlacard File Version : 2\r\n\r\n\r\n\r\n\r\n\r\nPlayerTestA,Show,Animate\r\n");
    EXPECT_EQ(Texts{ "A newer version of the application wrote the parlacard file." },
              Load(folder.File("newer.pcg"), 0, false));

    // Whatever the maker accepts, the player accepts too.
    folder.Write("old.pcg", "Parlacard File Version : x\nDear Friend\n\n\n\n\nPlayerTestA,Show,Animate\n");
    EXPECT_EQ(Texts{}, Load(folder.File("old.pcg"), 0, true));
    EXPECT_EQ(1u, script.GetActions().size());
}

TEST_F(PlayerScriptTest, RefusesAStartPastTheLastAction)
{
    const std::vector<std::string> three = { "PlayerTestA,Show,Animate", "PlayerTestA,Say,Hi",
                                             "PlayerTestA,Hide,Animate" };
    EXPECT_EQ(Texts{ "The greeting has 3 actions, so it cannot be played from action 4." },
              LoadGreeting(three, 3, false));
    EXPECT_EQ(Texts{ "The greeting has 1 action, so it cannot be played from action 8." },
              LoadGreeting({ "PlayerTestA,Show,Animate" }, 7, false));
    EXPECT_EQ(Texts{ "The greeting has no actions to play." }, LoadGreeting({}, 0, false));
    EXPECT_TRUE(script.GetActions().empty());
}

TEST_F(PlayerScriptTest, RefusesAnActionItCannotPerform)
{
    // Commands are matched exactly, as the maker writes them.
    EXPECT_EQ(Texts{ "Action 3 of the greeting has an unknown command: \"say\"." },
              LoadGreeting({ "PlayerTestA,Show,Animate", "PlayerTestA,Say,Hi", "PlayerTestA,say,Hi" }, 0, false));
    // A blank line reads as an action with nothing in it.
    EXPECT_EQ(Texts{ "Action 2 of the greeting has an unknown command: \"\"." },
              LoadGreeting({ "PlayerTestA,Show,Animate", "" }, 0, false));
    EXPECT_EQ(Texts{ "Action 1 of the greeting names no character." },
              LoadGreeting({ ",Show,Animate" }, 0, false));
    EXPECT_EQ(Texts{ "Action 2 of the greeting needs the character \"Nobody\", which is not installed on this "
                     "computer." },
              LoadGreeting({ "PlayerTestA,Show,Animate", "Nobody,Show,Animate" }, 0, false));

    // A name that leads out of the character folder is not an installed character, even
    // with a character file at its end; what the box quotes of a field is kept short.
    char windows[MAX_PATH];
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    const std::string outside = std::string(windows) + "\\Outsider.ACS";
    ASSERT_TRUE(CopyFileA(installed.PathOf("PlayerTestA").c_str(), outside.c_str(), FALSE));
    EXPECT_EQ(Texts{ "Action 1 of the greeting needs the character \"..\\..\\Outsider\", which is not installed on "
                     "this computer." },
              LoadGreeting({ "..\\..\\Outsider,Show,Animate" }, 0, false));
    DeleteFileA(outside.c_str());
    EXPECT_EQ(Texts{ "Action 1 of the greeting has an unknown command: \"" + std::string(64, 'x') + "...\"." },
              LoadGreeting({ "PlayerTestA," + std::string(100000, 'x') + ",Hi" }, 0, false));
    EXPECT_EQ(Texts{ "Action 1 of the greeting has an unknown command: \"a?b\"." },
              LoadGreeting({ "PlayerTestA,a\x01" "b,Hi" }, 0, false));

    // Actions before the start are not performed, so they are not held against the greeting.
    EXPECT_EQ(Texts{}, LoadGreeting({ "Nobody,Dance,", "PlayerTestA,Show,Animate" }, 1, true));
}

TEST_F(PlayerScriptTest, TheProgramRefusesABadCommandLineWithItsMessage)
{
    const std::string usage = "\n\nUsage: DODevavi.EXE <greeting file> *<first action, counting from 0>";
    const auto refusal = [&](const std::string& arguments) {
        MessageBoxAnswerer answerer;
        app.m_strCmdLine = arguments;
        EXPECT_FALSE(app.InitInstance()) << arguments;
        EXPECT_EQ(1, app.ExitInstance());
        EXPECT_EQ(1u, answerer.Boxes().size()) << arguments;
        return answerer.Boxes().empty() ? RecordedMessageBox{} : answerer.Boxes().front();
    };

    const RecordedMessageBox none = refusal("");
    EXPECT_EQ("No greeting file was named." + usage, none.text);
    EXPECT_EQ("Parlacard Player", none.caption);
    EXPECT_EQ("\"*first\" does not name an action to start from." + usage, refusal("C:\\x.pcg *first").text);

    // The path comes back whole, blanks and all.
    const std::string missing = folder.File("my greeting folder\\hello there.pcg");
    EXPECT_EQ("The greeting file could not be found:\n" + missing, refusal(missing + " *2").text);
}
