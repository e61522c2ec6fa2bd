#include "PlayerTestSupport.h"
#include "greeting/Vocabulary.h"
#include "player/Performer.h"
#include "player/PlayerScript.h"
#include "stage/StageControl.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"
#include "tests/stage/StageTestSupport.h"
#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>
#include <gtest/gtest.h>

namespace {

const int CharacterSide = 128;  // the sample character's frame

// What the stage shows at one moment: each character (in the order they came on the
// stage) hidden or where it stands, and whether a balloon is up.
struct Snapshot {
    std::vector<std::string> characters;
    bool balloon = false;

    bool operator==(const Snapshot& other) const
    {
        return characters == other.characters && balloon == other.balloon;
    }
    bool Shows(size_t character) const { return character < characters.size() && characters[character] != Hidden; }
    bool ShowsAt(size_t character, POINT at) const
    {
        return character < characters.size() && characters[character] == Position(at);
    }

    static constexpr const char* Hidden = "hidden";
    static std::string Position(POINT at) { return std::to_string(at.x) + "," + std::to_string(at.y); }
};

std::ostream& operator<<(std::ostream& out, const Snapshot& snapshot)
{
    for (const std::string& character : snapshot.characters)
        out << character << " ";
    return out << (snapshot.balloon ? "balloon" : "-");
}

using Timeline = std::vector<Snapshot>;

// The first snapshot from `from` on that matches, or the timeline's size.
size_t Find(const Timeline& timeline, const std::function<bool(const Snapshot&)>& match, size_t from = 0)
{
    for (size_t i = from; i < timeline.size(); ++i)
        if (match(timeline[i]))
            return i;
    return timeline.size();
}

std::string Describe(const Timeline& timeline)
{
    std::ostringstream out;
    for (const Snapshot& snapshot : timeline)
        out << "  " << snapshot << "\n";
    return out.str();
}

IDispatch* NewStage()
{
    IDispatch* control = nullptr;
    EXPECT_EQ(S_OK, CreateStageControl(&control));
    return control;
}

class PerformerTest : public testing::Test {
protected:
    PerformerTest() : control(NewStage()) {}

    void SetUp() override
    {
        FillVocabulary();
        EXPECT_EQ(S_OK, control.SetRaiseRequestErrors(false));
    }

    // Performs the greeting from start on the stage until the performer has finished,
    // and records each change of what the stage shows. `during` sees every snapshot.
    Timeline Perform(const std::vector<std::string>& lines, size_t start,
                     const std::function<void(const Snapshot&)>& during = nullptr)
    {
        folder.Write("greeting.pcg", GreetingText(lines));
        PlayerScript script;
        EXPECT_TRUE(script.Load(folder.File("greeting.pcg"), start));
        Timeline timeline;
        EXPECT_TRUE(
            performer.Start(script.GetSetUp(), script.GetActions(), [this](bool done) { performed = done; }));
        const bool finished = PumpUntil(
            [&] {
                const Snapshot now = Look();
                if (timeline.empty() || !(timeline.back() == now))
                    timeline.push_back(now);
                if (during)
                    during(now);
                return performer.IsFinished();
            },
            20000);
        EXPECT_TRUE(finished) << "the performance did not end; the stage showed:\n" << Describe(timeline);
        timeline.push_back(Look());
        return timeline;
    }

    Snapshot Look()
    {
        Snapshot snapshot;
        for (HWND window : ThreadWindows("ParlacardStageCharacter"))
            if (std::find(windows.begin(), windows.end(), window) == windows.end())
                windows.push_back(window);
        for (HWND window : windows) {
            RECT rect{};
            const bool shown = IsWindow(window) && IsWindowVisible(window) && GetWindowRect(window, &rect);
            snapshot.characters.push_back(shown ? Snapshot::Position({ rect.left, rect.top }) : Snapshot::Hidden);
        }
        for (HWND balloon : ThreadWindows("ParlacardStageBalloon"))
            snapshot.balloon = snapshot.balloon || IsWindowVisible(balloon);
        return snapshot;
    }

    // The middle of the first character's window.
    POINT MiddleOfFirstCharacter() const
    {
        RECT rect{};
        GetWindowRect(windows.front(), &rect);
        return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
    }

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const POINT centre = { width / 2, height / 2 };
    const POINT topLeft = { 0, 0 };
    const POINT bottomRight = { width - CharacterSide, height - CharacterSide };

    InstalledSampleCharacters installed{ { "PlayerTestA", "PlayerTestB", "PlayerTestBroken" } };
    TempFolder folder;
    AgentControl control;
    CPerformer performer{ control, SIZE{ width, height } };
    std::optional<bool> performed;
    std::vector<HWND> windows;  // character windows in the order they came
};

void SendKey(WORD key, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    EXPECT_EQ(1u, SendInput(1, &input, sizeof input));
}

void SendClick(POINT at)
{
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    PumpFor(50);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    EXPECT_EQ(1u, SendInput(1, &input, sizeof input));
    // Held across a poll of the performer.
    PumpFor(100);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    EXPECT_EQ(1u, SendInput(1, &input, sizeof input));
}

// Spoken to its end it lasts about forty seconds, twice the time a performance is given
// to finish: only a stop ends the performance in time.
const std::string LongSpeech = "PlayerTestA,Say," + [] {
    std::string words;
    for (int i = 0; i < 4; ++i)
        words += "This is a long speech with many words in it so that it lasts for many seconds unless "
                 "somebody stops it well before its end. ";
    return words;
}();

} // namespace

TEST_F(PerformerTest, PerformsFromTheStartToTheEndOneActionAfterTheOther)
{
    const Timeline timeline = Perform({ "PlayerTestA,Move,Top Left", "PlayerTestA,Say,Not this",
                                        "PlayerTestA,Show,Don't Animate", "PlayerTestA,Move,Bottom Right",
                                        "PlayerTestA,Say,Hello there", "PlayerTestB,Show,Don't Animate",
                                        "PlayerTestA,Hide,Don't Animate" },
                                      2);
    const std::string shown = Describe(timeline);

    // The first character comes on where the skipped move put it, not in the middle.
    const size_t aShown = Find(timeline, [](const Snapshot& s) { return s.Shows(0); });
    ASSERT_LT(aShown, timeline.size()) << shown;
    EXPECT_TRUE(timeline[aShown].ShowsAt(0, topLeft)) << shown;
    EXPECT_EQ(timeline.size(), Find(timeline, [&](const Snapshot& s) { return s.ShowsAt(0, centre); })) << shown;

    // It speaks once it has arrived, and only the one speech from the start on.
    const size_t arrived = Find(timeline, [&](const Snapshot& s) { return s.ShowsAt(0, bottomRight); });
    const size_t speaking = Find(timeline, [](const Snapshot& s) { return s.balloon; });
    const size_t spoken = Find(timeline, [](const Snapshot& s) { return !s.balloon; }, speaking);
    ASSERT_LT(spoken, timeline.size()) << shown;
    EXPECT_LT(arrived, speaking) << shown;
    EXPECT_EQ(timeline.size(), Find(timeline, [](const Snapshot& s) { return s.balloon; }, spoken)) << shown;

    // The second character waits for the first to finish speaking; then the first leaves.
    const size_t bShown = Find(timeline, [](const Snapshot& s) { return s.Shows(1); });
    EXPECT_GE(bShown, spoken) << shown;
    const size_t aLeft = Find(timeline, [](const Snapshot& s) { return !s.Shows(0); }, aShown);
    EXPECT_GT(aLeft, bShown) << shown;
    ASSERT_LT(bShown, timeline.size()) << shown;
    EXPECT_TRUE(timeline[bShown].ShowsAt(1, centre)) << shown;

    // At the end every character has left.
    EXPECT_EQ((Snapshot{ { Snapshot::Hidden, Snapshot::Hidden }, false }), timeline.back()) << shown;
    EXPECT_EQ(std::optional<bool>(true), performed);
}

TEST_F(PerformerTest, PlayedFromTheMiddleTheCharactersFirstStandAsTheSkippedActionsLeftThem)
{
    // From the Say: the first character was shown and sent to the top left, the second
    // came and went again.
    const Timeline timeline = Perform({ "PlayerTestA,Show,Animate", "PlayerTestA,Move,Top Left",
                                        "PlayerTestB,Show,Don't Animate", "PlayerTestA,Say,Not this",
                                        "PlayerTestB,Hide,Animate", "PlayerTestA,Say,Hello there" },
                                      5);
    const std::string shown = Describe(timeline);

    // The speaker stands in its place before a word is said, without gliding there; the
    // one that had left never shows.
    const size_t speaking = Find(timeline, [](const Snapshot& s) { return s.balloon; });
    ASSERT_LT(speaking, timeline.size()) << shown;
    EXPECT_TRUE(timeline[speaking].ShowsAt(0, topLeft)) << shown;
    const size_t aShown = Find(timeline, [](const Snapshot& s) { return s.Shows(0); });
    EXPECT_TRUE(timeline[aShown].ShowsAt(0, topLeft)) << shown;
    EXPECT_EQ(timeline.size(), Find(timeline, [](const Snapshot& s) { return s.Shows(1); })) << shown;
    EXPECT_EQ(Snapshot::Hidden, timeline.back().characters.front()) << shown;
    EXPECT_FALSE(timeline.back().balloon) << shown;
    EXPECT_EQ(std::optional<bool>(true), performed);
}

TEST_F(PerformerTest, EscStopsThePerformance)
{
    bool pressed = false;
    const Timeline timeline = Perform({ "PlayerTestA,Show,Don't Animate", LongSpeech, "PlayerTestA,Move,Top Left" }, 0,
                                      [&](const Snapshot& now) {
                                          if (now.balloon && !pressed) {
                                              pressed = true;
                                              SendKey(VK_ESCAPE, true);
                                              PumpFor(100);
                                              SendKey(VK_ESCAPE, false);
                                          }
                                      });
    const std::string shown = Describe(timeline);
    EXPECT_TRUE(pressed) << shown;
    EXPECT_EQ(timeline.size(), Find(timeline, [&](const Snapshot& s) { return s.ShowsAt(0, topLeft); })) << shown;
    EXPECT_EQ((Snapshot{ { Snapshot::Hidden }, false }), timeline.back()) << shown;
    EXPECT_EQ(std::optional<bool>(true), performed);
}

TEST_F(PerformerTest, AClickOnACharacterStopsThePerformanceAndAClickBesideItDoesNot)
{
    bool clicked = false;
    const Timeline timeline = Perform({ "PlayerTestA,Show,Don't Animate", LongSpeech, "PlayerTestA,Move,Top Left" }, 0,
                                      [&](const Snapshot& now) {
                                          if (!now.balloon || clicked)
                                              return;
                                          clicked = true;
                                          SendClick({ 5, 5 });
                                          PumpFor(200);
                                          EXPECT_FALSE(performer.IsFinished()) << "a click beside the character";
                                          SendClick(MiddleOfFirstCharacter());
                                      });
    const std::string shown = Describe(timeline);
    ASSERT_TRUE(clicked) << shown;
    EXPECT_EQ(timeline.size(), Find(timeline, [&](const Snapshot& s) { return s.ShowsAt(0, topLeft); })) << shown;
    EXPECT_EQ((Snapshot{ { Snapshot::Hidden }, false }), timeline.back()) << shown;
}

TEST_F(PerformerTest, ACharacterThatCannotBeLoadedEndsThePerformanceWithAMessage)
{
    installed.Spoil("PlayerTestBroken");
    MessageBoxAnswerer answerer;
    const Timeline timeline = Perform(
        { "PlayerTestA,Show,Don't Animate", "PlayerTestBroken,Show,Don't Animate", "PlayerTestA,Move,Top Left" }, 0);
    const std::string shown = Describe(timeline);
    ASSERT_EQ(1u, answerer.Boxes().size());
    EXPECT_EQ("The character \"PlayerTestBroken\" could not be loaded.", answerer.Boxes()[0].text);
    EXPECT_EQ("Parlacard Player", answerer.Boxes()[0].caption);
    EXPECT_EQ(timeline.size(), Find(timeline, [&](const Snapshot& s) { return s.ShowsAt(0, topLeft); })) << shown;
    EXPECT_EQ((Snapshot{ { Snapshot::Hidden }, false }), timeline.back()) << shown;
    EXPECT_EQ(std::optional<bool>(false), performed);
}

TEST_F(PerformerTest, ARefusedActionIsCountedAndTheRestStillPlays)
{
    const Timeline timeline = Perform({ "PlayerTestA,Show,Don't Animate", "PlayerTestA,Animate,NoSuchDance",
                                        "PlayerTestA,Move,Top Left", "PlayerTestA,Animate,Wave" },
                                      0);
    EXPECT_EQ(std::optional<bool>(true), performed);
    EXPECT_EQ(1, performer.FailedRequests());
    EXPECT_LT(Find(timeline, [&](const Snapshot& s) { return s.ShowsAt(0, topLeft); }), timeline.size())
        << Describe(timeline);
}

TEST_F(PerformerTest, ACharacterLargerThanAQuarterOfTheScreenStaysWhollyOnIt)
{
    // The sample character covers a third of this screen: the middle positions would
    // put part of it past the right and bottom edges.
    const SIZE small = { 240, 200 };
    ASSERT_GT(CharacterSide * CharacterSide * 4, small.cx * small.cy);
    folder.Write("edges.pcg", GreetingText({ "PlayerTestA,Show,Don't Animate", "PlayerTestA,Move,Center",
                                            "PlayerTestA,Move,Top Center", "PlayerTestA,Move,Middle Right",
                                            "PlayerTestA,Move,Bottom Center", "PlayerTestA,Move,Bottom Left" }));
    PlayerScript script;
    ASSERT_TRUE(script.Load(folder.File("edges.pcg"), 0));
    CPerformer onSmallScreen{ control, small };
    ASSERT_TRUE(onSmallScreen.Start(script.GetSetUp(), script.GetActions(), [](bool) {}));
    std::vector<std::string> stoodAt;
    std::string offScreen;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (HWND window : ThreadWindows("ParlacardStageCharacter")) {
                RECT rect{};
                if (!IsWindowVisible(window) || !GetWindowRect(window, &rect))
                    continue;
                const std::string at = Snapshot::Position({ rect.left, rect.top });
                if (stoodAt.empty() || stoodAt.back() != at)
                    stoodAt.push_back(at);
                if (rect.left < 0 || rect.top < 0 || rect.right > small.cx || rect.bottom > small.cy)
                    offScreen = at;
            }
            return onSmallScreen.IsFinished();
        },
        20000));
    EXPECT_EQ("", offScreen) << "a character stood partly off the screen";
    // Where each move ended: the centre pulled in to the right and bottom edges, the top
    // centre to the right edge, the bottom left as named.
    for (const char* at : { "112,72", "112,0", "0,72" })
        EXPECT_NE(stoodAt.end(), std::find(stoodAt.begin(), stoodAt.end(), at)) << at;
}
