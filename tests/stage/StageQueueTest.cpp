// What a user sees of a character performing queued requests: real windows, timers
// run by pumping messages. The tests wait for states and orderings, each with a
// deadline a busy machine stays far within; how long things take is for the benchmarks.
#include "StageTestSupport.h"
#include "stage/SampleCharacter.h"
#include <gtest/gtest.h>

namespace {

const DWORD kDeadline = 10000;

// Pumps until every request is done; the order in which they got done.
std::vector<size_t> CompletionOrder(const std::vector<const AgentRequest*>& requests, DWORD timeout)
{
    std::vector<size_t> order;
    std::vector<bool> done(requests.size(), false);
    PumpUntil(
        [&] {
            for (size_t i = 0; i < requests.size(); ++i) {
                if (!done[i] && IsDone(*requests[i])) {
                    done[i] = true;
                    order.push_back(i);
                }
            }
            return order.size() == requests.size();
        },
        timeout);
    return order;
}

// Pumps until the request is done; whether it was seen in progress on the way. The
// stage starts and completes an action that has nothing to play within one message,
// so such a request never is; one that plays or glides always is.
bool SeenInProgress(const AgentRequest& request)
{
    bool seen = false;
    EXPECT_TRUE(PumpUntil(
        [&] {
            seen = seen || request.GetStatus() == 4;
            return IsDone(request);
        },
        kDeadline));
    return seen;
}

POINT WindowPosition(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{ rect.left, rect.top };
}

class StageQueueTest : public testing::Test {
protected:
    LoadedStage stage{ MakeSampleCharacter() };
};

TEST_F(StageQueueTest, RequestsArePerformedOneAfterAnotherWhileTheCallerGoesOn)
{
    const AgentRequest show = stage.Show(false);
    const AgentRequest wave = stage.character.Play("Wave");
    const AgentRequest speak = stage.Speak("Hello there");
    const AgentRequest move = stage.MoveTo(300, 200, 300);
    const AgentRequest hide = stage.Hide(false);
    // Nothing has happened yet: no call waited for anything.
    for (const AgentRequest* request : { &show, &wave, &speak, &move, &hide })
        EXPECT_EQ(2, request->GetStatus());
    EXPECT_FALSE(IsWindowVisible(CharacterWindow()));

    ASSERT_TRUE(PumpUntil([&] { return show.GetStatus() == 4; }, kDeadline));
    EXPECT_EQ(2, wave.GetStatus());
    const std::vector<size_t> order = CompletionOrder({ &show, &wave, &speak, &move, &hide }, 2 * kDeadline);
    EXPECT_EQ((std::vector<size_t>{ 0, 1, 2, 3, 4 }), order);
    for (const AgentRequest* request : { &show, &wave, &speak, &move, &hide })
        EXPECT_EQ(0, request->GetStatus());
    EXPECT_FALSE(IsWindowVisible(CharacterWindow()));
    EXPECT_EQ(300, WindowPosition(CharacterWindow()).x);
}

TEST_F(StageQueueTest, StopAllInterruptsWhatPlaysAndWhatWaits)
{
    const AgentRequest show = stage.Show(true);
    // Pondering loops until something ends it.
    const AgentRequest ponder = stage.character.Play("Pondering");
    ASSERT_TRUE(PumpUntil([&] { return ponder.GetStatus() == 4; }, kDeadline));
    EXPECT_EQ(0, show.GetStatus());
    const AgentRequest speak = stage.Speak("Never said");
    const AgentRequest move = stage.MoveTo(500, 500, 100);
    CVariant all;
    ASSERT_EQ(S_OK, stage.character.StopAll(all.value()));
    EXPECT_EQ(3, ponder.GetStatus());
    EXPECT_EQ(3, speak.GetStatus());
    EXPECT_EQ(3, move.GetStatus());
    PumpFor(300);
    EXPECT_TRUE(IsWindowVisible(CharacterWindow()));
    EXPECT_FALSE(IsWindowVisible(BalloonWindow()));
    EXPECT_NE(500, WindowPosition(CharacterWindow()).x);

    // The queue goes on with what comes next.
    const AgentRequest wave = stage.character.Play("Wave");
    EXPECT_TRUE(PumpUntil([&] { return IsDone(wave); }, kDeadline));
    EXPECT_EQ(0, wave.GetStatus());
}

TEST_F(StageQueueTest, StopAllWithTypesStopsOnlyThoseKinds)
{
    const AgentRequest show = stage.Show(true);
    const AgentRequest speak = stage.Speak("Talking for a little while now");
    const AgentRequest wave = stage.character.Play("Wave");
    ASSERT_TRUE(PumpUntil([&] { return speak.GetStatus() == 4 && IsWindowVisible(BalloonWindow()); }, kDeadline));
    CVariant types(std::string("Speak, Move"));
    ASSERT_EQ(S_OK, stage.character.StopAll(types.value()));
    EXPECT_EQ(0, show.GetStatus());
    EXPECT_EQ(3, speak.GetStatus());
    EXPECT_FALSE(IsWindowVisible(BalloonWindow()));
    EXPECT_TRUE(PumpUntil([&] { return IsDone(wave); }, kDeadline));
    EXPECT_EQ(0, wave.GetStatus());

    CVariant unknown(std::string("Play, Dance"));
    EXPECT_EQ(DISP_E_EXCEPTION, stage.character.StopAll(unknown.value()));
}

TEST_F(StageQueueTest, ShowAndHideWithAndWithoutTheirAnimations)
{
    HWND window = CharacterWindow();
    EXPECT_FALSE(SeenInProgress(stage.Show(true))) << "without its animation Show is done at once";
    EXPECT_TRUE(IsWindowVisible(window));
    // A click on the character leaves it where it is and takes no focus.
    EXPECT_EQ(MA_NOACTIVATE, SendMessageA(window, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(window, GetActiveWindow());
    // Showing what is visible is done at once.
    const AgentRequest again = stage.Show(false);
    EXPECT_FALSE(SeenInProgress(again));
    EXPECT_EQ(0, again.GetStatus());

    // The Hiding animation plays in sight, then the window goes.
    const AgentRequest slowHide = stage.Hide(false);
    bool hidingInSight = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            hidingInSight = hidingInSight || (slowHide.GetStatus() == 4 && IsWindowVisible(window));
            return IsDone(slowHide);
        },
        kDeadline));
    EXPECT_TRUE(hidingInSight);
    EXPECT_FALSE(IsWindowVisible(window));
    const AgentRequest hidden = stage.Hide(false);
    EXPECT_FALSE(SeenInProgress(hidden));
    EXPECT_EQ(0, hidden.GetStatus());

    const AgentRequest slowShow = stage.Show(false);
    ASSERT_TRUE(PumpUntil([&] { return slowShow.GetStatus() == 4; }, kDeadline));
    // Visible while the Showing animation plays, not only once it is done.
    EXPECT_TRUE(IsWindowVisible(window));
    ASSERT_TRUE(PumpUntil([&] { return IsDone(slowShow); }, kDeadline));

    EXPECT_FALSE(SeenInProgress(stage.Hide(true))) << "without its animation Hide is done at once";
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(StageQueueTest, SpeakShowsTheBalloonWhileSpeakingOnlyWhenThereIsText)
{
    const AgentRequest show = stage.Show(true);
    const AgentRequest silent = stage.Speak("");
    bool balloonSeen = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            balloonSeen = balloonSeen || IsWindowVisible(BalloonWindow());
            return IsDone(silent);
        },
        kDeadline));
    EXPECT_EQ(0, silent.GetStatus());
    EXPECT_FALSE(balloonSeen);

    const AgentRequest speak = stage.Speak("Good morning to you all");
    ASSERT_TRUE(PumpUntil([&] { return speak.GetStatus() == 4; }, kDeadline));
    HWND balloon = BalloonWindow();
    EXPECT_TRUE(IsWindowVisible(balloon));
    // Next to the character: above it, or below it when the screen has no room above.
    RECT balloonRect{}, characterRect{};
    GetWindowRect(balloon, &balloonRect);
    GetWindowRect(CharacterWindow(), &characterRect);
    EXPECT_TRUE(balloonRect.bottom == characterRect.top || balloonRect.top == characterRect.bottom);
    EXPECT_LT(balloonRect.left, characterRect.right);
    EXPECT_GT(balloonRect.right, characterRect.left);
    EXPECT_TRUE(PumpUntil([&] { return IsDone(speak); }, kDeadline));
    EXPECT_EQ(0, speak.GetStatus());
    EXPECT_FALSE(IsWindowVisible(balloon));
}

TEST_F(StageQueueTest, BalloonStyleWithoutTheBalloonSpeaksWithoutIt)
{
    stage.Show(true);
    ASSERT_EQ(S_OK, stage.character.GetBalloon().SetStyle(14));
    const AgentRequest speak = stage.Speak("Quietly now");
    bool balloonSeen = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            balloonSeen = balloonSeen || IsWindowVisible(BalloonWindow());
            return IsDone(speak);
        },
        kDeadline));
    EXPECT_EQ(0, speak.GetStatus());
    EXPECT_FALSE(balloonSeen);
}

TEST_F(StageQueueTest, MoveToJumpsAtSpeedZeroOrWhenHiddenAndGlidesOtherwise)
{
    HWND window = CharacterWindow();
    // Hidden, even the default speed jumps: nobody would see the glide.
    const AgentRequest hidden = stage.MoveTo(200, 150, -1);
    EXPECT_FALSE(SeenInProgress(hidden));
    EXPECT_EQ(200, WindowPosition(window).x);
    EXPECT_EQ(150, WindowPosition(window).y);

    stage.Show(true);
    const AgentRequest jump = stage.MoveTo(100, 80, 0);
    EXPECT_FALSE(SeenInProgress(jump));
    EXPECT_EQ(100, WindowPosition(window).x);
    EXPECT_EQ(80, WindowPosition(window).y);

    // A glide passes the points between, strictly inside the way.
    const AgentRequest glide = stage.MoveTo(500, 380, -1);
    bool passedBetween = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            const POINT at = WindowPosition(window);
            passedBetween = passedBetween || (glide.GetStatus() == 4 && at.x > 100 && at.x < 500 && at.y > 80 &&
                                              at.y < 380);
            return IsDone(glide);
        },
        kDeadline));
    EXPECT_TRUE(passedBetween);
    EXPECT_EQ(0, glide.GetStatus());
    EXPECT_EQ(500, WindowPosition(window).x);
    EXPECT_EQ(380, WindowPosition(window).y);
}

TEST_F(StageQueueTest, LoopingAnimationEndsOnceAnotherRequestWaits)
{
    stage.Show(true);
    const AgentRequest ponder = stage.character.Play("Pondering");
    const AgentRequest blink = stage.character.Play("Blink");
    EXPECT_EQ((std::vector<size_t>{ 0, 1 }), CompletionOrder({ &ponder, &blink }, kDeadline));
    EXPECT_EQ(0, ponder.GetStatus());
    EXPECT_EQ(0, blink.GetStatus());
}

TEST(StageBranchTest, FramesFollowTheirBranches)
{
    // Two animations of the same frames, the middle one far longer than any wait here:
    // one branches past it, the other stays on it.
    CharacterData character = MakeSampleCharacter();
    CharacterAnimation straight;
    straight.name = "Straight";
    straight.frames = { character.animations[0].frames[0], character.animations[0].frames[0],
                        character.animations[0].frames[0] };
    straight.frames[0].duration = 5;
    straight.frames[1].duration = 0xFFFF;
    straight.frames[2].duration = 5;
    CharacterAnimation skip = straight;
    skip.name = "Skip";
    skip.frames[0].branches = { { 2, 100 } };
    character.animations.push_back(straight);
    character.animations.push_back(skip);
    LoadedStage stage(character);

    const AgentRequest skipped = stage.character.Play("Skip");
    ASSERT_TRUE(PumpUntil([&] { return IsDone(skipped); }, kDeadline));
    EXPECT_EQ(0, skipped.GetStatus());

    const AgentRequest held = stage.character.Play("Straight");
    ASSERT_TRUE(PumpUntil([&] { return held.GetStatus() == 4; }, kDeadline));
    PumpFor(500);
    EXPECT_EQ(4, held.GetStatus()) << "the long frame was passed over";
    CVariant all;
    ASSERT_EQ(S_OK, stage.character.StopAll(all.value()));
    EXPECT_EQ(3, held.GetStatus());
}

} // namespace
