#include "greeting/GreetingAction.h"
#include "greeting/Vocabulary.h"
#include "player/Performer.h"
#include "player/PlayerScript.h"
#include "settings/FileUtil.h"
#include "stage/AcsReader.h"
#include "stage/StageControl.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include <algorithm>
#include <memory>
#include <regex>
#include <set>
#include <gtest/gtest.h>

namespace {

const std::set<std::string> GreetingTypes = { "Say Hi", "I Miss You", "Thank You", "Send A Joke", "Send A Story",
                                              "Recommend A Web Site", "Birthday", "Mom", "Dad",
                                              "Recommend Parlacard To Friends" };
const std::set<std::string> Placeholders = { "<USERNAME>", "<USEREMAIL>", "<RECIPIENTNAME>", "<COMMA_RECIPIENTNAME>",
                                             "<HE_SHE>", "<HIS_HER>" };

// The Templates folder beside the test program, laid out as the installer does it.
std::string TemplateFolder()
{
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string path(program, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "Templates\\";
}

// Greeting type → its actions, read the way the player reads a greeting.
std::map<std::string, std::vector<GreetingAction>> ReadShippedTemplates()
{
    std::map<std::string, std::vector<GreetingAction>> found;
    WIN32_FIND_DATAA file;
    HANDLE search = FindFirstFileA((TemplateFolder() + "*.pcg").c_str(), &file);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        const std::string name = file.cFileName;
        PlayerScript script;
        EXPECT_TRUE(script.Load(TemplateFolder() + name, 0)) << name;
        found[name.substr(0, name.size() - 4)] = script.GetActions();
    } while (FindNextFileA(search, &file));
    FindClose(search);
    return found;
}

class ShippedTemplates : public testing::Test {
protected:
    void SetUp() override { FillVocabulary(); }

    MessageBoxAnswerer boxes;
};

} // namespace

TEST_F(ShippedTemplates, OneGoodGreetingPerTypeWithTheCastsOwnAnimations)
{
    const auto templates = ReadShippedTemplates();
    std::set<std::string> types;
    for (const auto& entry : templates)
        types.insert(entry.first);
    EXPECT_EQ(GreetingTypes, types);

    std::map<std::string, CharacterData> cast;
    const std::regex placeholder("<[A-Z_]+>");
    for (const auto& [type, actions] : templates) {
        EXPECT_GE(actions.size(), 8u) << type;
        EXPECT_LE(actions.size(), 25u) << type;
        const bool hasRecipient = type != "Mom" && type != "Dad";
        for (const GreetingAction& action : actions) {
            const std::string where = type + ": " + action.GetCharacter() + "," + action.GetCommand() + "," + action.GetArgument();
            const std::string& character = action.GetCharacter();
            ASSERT_NE(CharacterNames.end(), std::find(CharacterNames.begin(), CharacterNames.end(), character))
                << where;
            if (!cast.count(character)) {
                std::string error;
                ASSERT_TRUE(ReadCharacterFile(FindCharacterFile(character), cast[character], error)) << error;
            }
            const std::string& command = action.GetCommand();
            const std::string& argument = action.GetArgument();
            if (command == CommandAnimate) {
                EXPECT_NE(nullptr, cast[character].FindAnimation(argument)) << where;
            } else if (command == CommandMove) {
                EXPECT_NE(PositionNames.end(), std::find(PositionNames.begin(), PositionNames.end(), argument)) << where;
            } else if (command == CommandShow || command == CommandHide) {
                EXPECT_TRUE(argument == "Animate" || argument == "Don't Animate") << where;
            } else {
                EXPECT_EQ(CommandSay, command) << where;
                for (std::sregex_iterator it(argument.begin(), argument.end(), placeholder), end; it != end; ++it) {
                    EXPECT_TRUE(Placeholders.count(it->str())) << where;
                    if (!hasRecipient) {
                        EXPECT_EQ(std::string::npos, it->str().find("RECIPIENT")) << where;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// All ten at once, each on a stage of its own, so that the run takes as long as the
// longest greeting rather than all of them.
TEST_F(ShippedTemplates, EachPlaysToItsEndOnTheStageWithoutAFailedRequest)
{
    struct Performance {
        AgentControl control;
        std::unique_ptr<CPerformer> performer;
        bool performed = false;
    };
    const auto templates = ReadShippedTemplates();
    ASSERT_FALSE(templates.empty());
    const SIZE screen = { GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    std::map<std::string, Performance> performances;
    for (const auto& [type, actions] : templates) {
        Performance& performance = performances[type];
        IDispatch* stage = nullptr;
        ASSERT_EQ(S_OK, CreateStageControl(&stage));
        performance.control.AttachDispatch(stage);
        ASSERT_EQ(S_OK, performance.control.SetRaiseRequestErrors(false));
        performance.performer = std::make_unique<CPerformer>(performance.control, screen);
        bool& performed = performance.performed;
        ASSERT_TRUE(performance.performer->Start({}, actions, [&performed](bool done) { performed = done; }))
            << type;
    }
    const bool allFinished = PumpUntil(
        [&] {
            return std::all_of(performances.begin(), performances.end(),
                               [](const auto& entry) { return entry.second.performer->IsFinished(); });
        },
        600000);
    EXPECT_TRUE(allFinished);
    for (const auto& [type, performance] : performances) {
        EXPECT_TRUE(performance.performer->IsFinished()) << type;
        EXPECT_TRUE(performance.performed) << type;
        EXPECT_EQ(0, performance.performer->FailedRequests()) << type;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}
