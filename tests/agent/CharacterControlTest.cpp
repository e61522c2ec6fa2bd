#include "RecordingAgent.h"
#include "agent/AgentApp.h"
#include "greeting/Vocabulary.h"
#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

std::string CharacterFolder()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string agent = std::string(windows) + "\\MSAgent";
    CreateDirectoryA(agent.c_str(), nullptr);
    CreateDirectoryA((agent + "\\Chars").c_str(), nullptr);
    return agent + "\\Chars";
}

class CharacterControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecordingAgent::current = &agent;
        CAgentCtlEx::SetControlFactory(&RecordingAgent::Factory);
        ScreenWidth = 1024;
        ScreenHeight = 768;
        for (const char* name : { "Merlin", "Peedy" }) {
            const std::string path = CharacterFolder() + "\\" + name + ".ACS";
            files.push_back(path);
            CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        ASSERT_TRUE(app.CreateAgentControl(nullptr));
    }
    void TearDown() override
    {
        app.ExitInstance();
        EXPECT_EQ(0, agent.liveObjects) << "every automation object is released";
        CAgentCtlEx::SetControlFactory(nullptr);
        RecordingAgent::current = nullptr;
        for (const std::string& path : files)
            DeleteFileA(path.c_str());
    }
    Calls TakeCalls()
    {
        Calls calls = std::move(agent.calls);
        agent.calls.clear();
        return calls;
    }

    RecordingAgent agent;
    CAgentApp app;
    std::vector<std::string> files;
};

} // namespace

TEST_F(CharacterControl, CreatingTheControlTurnsRequestErrorsOff)
{
    EXPECT_EQ((Calls{ "RaiseRequestErrors=false" }), TakeCalls());
    EXPECT_EQ("", app.GetCurrentCharacterName());
}

TEST_F(CharacterControl, LoadingUnloadsLoadsSetsTheLanguageAndCentres)
{
    TakeCalls();
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    EXPECT_EQ((Calls{ "Unload(PQ)", "Load(PQ," + files[0] + ")", "LanguageID=1033", "MoveTo(512,384,)" }), TakeCalls());
    EXPECT_EQ("Merlin", app.GetCurrentCharacterName());

    // The current character is not loaded again, nor moved back to the centre.
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(CharacterControl, AMissingFileFailsWithoutTouchingTheControl)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    TakeCalls();
    EXPECT_FALSE(app.LoadCharacter("Nobody"));
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ("Merlin", app.GetCurrentCharacterName());
}

TEST_F(CharacterControl, AFailedLoadForgetsThePreviousCharacterSoItReloadsLater)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    agent.loadStatus = 1;
    TakeCalls();
    EXPECT_FALSE(app.LoadCharacter("Peedy"));
    EXPECT_EQ((Calls{ "Unload(PQ)", "Load(PQ," + files[1] + ")" }), TakeCalls());
    EXPECT_EQ("", app.GetCurrentCharacterName());
    agent.loadStatus = 0;
    EXPECT_TRUE(app.LoadCharacter("Merlin"));
    EXPECT_EQ(4u, TakeCalls().size());
}

TEST_F(CharacterControl, RecreatingTheControlForgetsTheCharacter)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    ASSERT_TRUE(app.CreateAgentControl(nullptr));
    EXPECT_EQ("", app.GetCurrentCharacterName());
}

TEST_F(CharacterControl, PerformQueuesEverythingInOrder)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    TakeCalls();
    app.PerformCharacter("Hello, world", "Wave", false, true, "Pleased");
    EXPECT_EQ((Calls{ "Show(false)", "Balloon.Style=15", "Play(Wave)", "Speak(Hello, world,)", "Play(Pleased)",
                      "Hide(false)" }),
              TakeCalls());

    // No text, no speech; no animations, no plays; no hide unless asked.
    app.PerformCharacter("", "Read", true, false, "");
    EXPECT_EQ((Calls{ "Show(true)", "Balloon.Style=15", "Play(Read)" }), TakeCalls());

    app.StopCharacter();
    app.HideCharacter(true);
    EXPECT_EQ((Calls{ "StopAll()", "Hide(true)" }), TakeCalls());
}

TEST_F(CharacterControl, NamedPositionsOnA1024By768Screen)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    TakeCalls();
    const std::vector<std::pair<std::string, std::string>> expected = {
        { "Top Left", "MoveTo(0,0,)" },         { "Top Center", "MoveTo(512,0,)" },
        { "Top Right", "MoveTo(896,0,)" },      { "Middle Left", "MoveTo(0,384,)" },
        { "Center", "MoveTo(512,384,)" },       { "Middle Right", "MoveTo(896,384,)" },
        { "Bottom Left", "MoveTo(0,640,)" },    { "Bottom Center", "MoveTo(512,640,)" },
        { "Bottom Right", "MoveTo(896,640,)" }, { "bottom right", "MoveTo(512,384,)" },
        { "Somewhere", "MoveTo(512,384,)" },
    };
    for (const auto& [position, call] : expected) {
        app.MoveToPosition(position);
        EXPECT_EQ((Calls{ call }), TakeCalls()) << position;
    }
}

TEST_F(CharacterControl, OddScreenAndCharacterSizesTruncateTheMiddle)
{
    EXPECT_EQ(400, PositionPoint("Center", 801, 601, 90, 70).x);
    EXPECT_EQ(300, PositionPoint("Center", 801, 601, 90, 70).y);
    EXPECT_EQ(711, PositionPoint("Bottom Right", 801, 601, 90, 70).x);
    EXPECT_EQ(531, PositionPoint("Bottom Right", 801, 601, 90, 70).y);
}

TEST_F(CharacterControl, AnimationNamesAreOrderedByFirstCharacterOnly)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    agent.animationNames = { "Explain", "Wave", "Surprised", "", "Sad", "#Odd", "Acknowledge" };
    std::vector<std::string> names{ "stale" };
    ASSERT_TRUE(app.GetAnimationNames(names));
    EXPECT_EQ((std::vector<std::string>{ "#Odd", "(None)", "Acknowledge", "Explain", "Surprised", "Sad", "Wave" }),
              names);
}

TEST_F(CharacterControl, WithoutAnEnumeratorOnlyNoneIsListed)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    agent.enumeratorAvailable = false;
    std::vector<std::string> names{ "stale" };
    EXPECT_FALSE(app.GetAnimationNames(names));
    EXPECT_EQ((std::vector<std::string>{ "(None)" }), names);
}
