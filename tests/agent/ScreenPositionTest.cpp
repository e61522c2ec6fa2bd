// Named positions keep a character wholly on the screen where it fits, and leave the
// bundled characters where greetings made for them have always put them.
#include "AgentFixture.h"
#include "stage/AcsReader.h"
#include "support/CharacterFiles.h"

namespace {

const char* const kPositions[] = { "Top Left",    "Top Center", "Top Right",    "Middle Left",  "Center",
                                   "Middle Right", "Bottom Left", "Bottom Center", "Bottom Right" };

bool Inside(POINT at, int width, int height, const RECT& area)
{
    return at.x >= area.left && at.y >= area.top && at.x + width <= area.right && at.y + height <= area.bottom;
}

TEST(ScreenPosition, ALargeCharacterIsPulledInFromTheEdgesJustFarEnough)
{
    // More than a quarter of the screen: the middle positions would put half of it off.
    const RECT screen = { 0, 0, 800, 600 };
    const int width = 500, height = 400;
    const std::vector<std::pair<std::string, POINT>> expected = {
        { "Top Left", { 0, 0 } },        { "Top Center", { 300, 0 } },      { "Top Right", { 300, 0 } },
        { "Middle Left", { 0, 200 } },   { "Center", { 300, 200 } },        { "Middle Right", { 300, 200 } },
        { "Bottom Left", { 0, 200 } },   { "Bottom Center", { 300, 200 } }, { "Bottom Right", { 300, 200 } },
    };
    for (const auto& [position, at] : expected) {
        const POINT got = PositionPoint(position, 800, 600, width, height, screen);
        EXPECT_EQ(at.x, got.x) << position;
        EXPECT_EQ(at.y, got.y) << position;
    }
    // A narrow one at the middle line only comes in as far as its width needs.
    EXPECT_EQ(320, PositionPoint("Center", 800, 600, 480, 100, screen).x);
    EXPECT_EQ(300, PositionPoint("Center", 800, 600, 480, 100, screen).y);
}

TEST(ScreenPosition, TheWorkAreaKeepsCharactersOffATaskbarAndOneTooLargeStaysAtItsStart)
{
    // A taskbar 40 pixels high along the bottom, another 30 wide along the left.
    const RECT work = { 30, 0, 1024, 728 };
    for (const char* position : kPositions) {
        const POINT at = PositionPoint(position, 1024, 768, 300, 250, work);
        EXPECT_TRUE(Inside(at, 300, 250, work)) << position << " at " << at.x << "," << at.y;
    }
    EXPECT_EQ(478, PositionPoint("Bottom Right", 1024, 768, 300, 250, work).y);
    EXPECT_EQ(30, PositionPoint("Bottom Left", 1024, 768, 300, 250, work).x);
    EXPECT_EQ(724, PositionPoint("Top Right", 1024, 768, 300, 250, work).x);

    const RECT small = { 0, 20, 640, 480 };
    for (const char* position : kPositions) {
        const POINT at = PositionPoint(position, 640, 480, 700, 500, small);
        EXPECT_EQ(0, at.x) << position;
        EXPECT_EQ(20, at.y) << position;
    }
}

TEST(ScreenPosition, TheBundledCharactersStandWhereTheyAlwaysHaveOnUsualScreens)
{
    const char* const cast[] = { "Tolvan", "Mirelle", "Grumbold", "Merlin", "Peedy",
                                 "Genie",  "Robby",   "Yulebard", "Crookbeak" };
    const SIZE screens[] = { { 800, 600 }, { 1024, 768 }, { 1280, 720 }, { 1280, 1024 },
                             { 1366, 768 }, { 1600, 900 }, { 1920, 1080 }, { 2560, 1440 } };
    char windows[MAX_PATH] = {};
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    for (const char* name : cast) {
        CharacterData character;
        std::string error;
        ASSERT_TRUE(ReadCharacterFile(std::string(windows) + "\\MSAgent\\Chars\\" + name + ".ACS", character, error))
            << error;
        const int w = character.info.width, h = character.info.height;
        for (const SIZE& screen : screens) {
            const int W = screen.cx, H = screen.cy;
            const RECT whole = { 0, 0, W, H };
            const std::vector<std::pair<std::string, POINT>> table = {
                { "Top Left", { 0, 0 } },         { "Top Center", { W / 2, 0 } },         { "Top Right", { W - w, 0 } },
                { "Middle Left", { 0, H / 2 } },  { "Center", { W / 2, H / 2 } },         { "Middle Right", { W - w, H / 2 } },
                { "Bottom Left", { 0, H - h } },  { "Bottom Center", { W / 2, H - h } },  { "Bottom Right", { W - w, H - h } },
            };
            for (const auto& [position, at] : table) {
                const POINT got = PositionPoint(position, W, H, w, h, whole);
                EXPECT_TRUE(got.x == at.x && got.y == at.y)
                    << name << " at " << position << " on " << W << " x " << H << ": " << got.x << "," << got.y;
            }
        }
    }
}

class ScreenPositionInTheMaker : public AgentFixture {
protected:
    CharacterFiles installed{ { "Merlin" } };
};

TEST_F(ScreenPositionInTheMaker, MovesALargeCharacterWhereItStaysOnTheScreen)
{
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    agent.width = 600;
    agent.height = 500;
    TakeCalls();
    app.MoveToPosition("Center");
    app.MoveToPosition("Bottom Center");
    EXPECT_EQ((Calls{ "MoveTo(424,268,)", "MoveTo(424,268,)" }), TakeCalls());
    RECT standing{};
    ASSERT_TRUE(app.GetStandingRect(standing));
    EXPECT_EQ(1024, standing.right);
    EXPECT_EQ(768, standing.bottom);
}

} // namespace
