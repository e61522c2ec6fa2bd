#include "AgentFixture.h"
#include "support/CharacterFiles.h"

namespace {

class CharacterControl : public AgentFixture {
protected:
    CharacterFiles installed{ { "Merlin", "Peedy" } };
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
    EXPECT_EQ((Calls{ "Unload(PQ)", "Load(PQ," + installed.PathOf("Merlin") + ")", "LanguageID=1033", "MoveTo(512,384,)" }), TakeCalls());
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
    EXPECT_EQ((Calls{ "Unload(PQ)", "Load(PQ," + installed.PathOf("Peedy") + ")" }), TakeCalls());
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
    const RECT screen = { 0, 0, 801, 601 };
    EXPECT_EQ(400, PositionPoint("Center", 801, 601, 90, 70, screen).x);
    EXPECT_EQ(300, PositionPoint("Center", 801, 601, 90, 70, screen).y);
    EXPECT_EQ(711, PositionPoint("Bottom Right", 801, 601, 90, 70, screen).x);
    EXPECT_EQ(531, PositionPoint("Bottom Right", 801, 601, 90, 70, screen).y);
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
