// What a user sees of a character performing queued requests: real windows, timers
// run by pumping messages with a bounded wait.
#include "StageTestSupport.h"
#include "stage/SampleCharacter.h"
#include <gtest/gtest.h>

namespace {

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

// How long a request takes from now on, in ms.
DWORD TimeToFinish(const AgentRequest& request, DWORD timeout)
{
    const DWORD start = GetTickCount();
    EXPECT_TRUE(PumpUntil([&] { return IsDone(request); }, timeout));
    return GetTickCount() - start;
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

    ASSERT_TRUE(PumpUntil([&] { return show.GetStatus() == 4; }, 1000));
    EXPECT_EQ(2, wave.GetStatus());
    const std::vector<size_t> order = CompletionOrder({ &show, &wave, &speak, &move, &hide }, 15000);
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
    ASSERT_TRUE(PumpUntil([&] { return ponder.GetStatus() == 4; }, 2000));
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
    EXPECT_LT(TimeToFinish(wave, 5000), 5000u);
    EXPECT_EQ(0, wave.GetStatus());
}

TEST_F(StageQueueTest, StopAllWithTypesStopsOnlyThoseKinds)
{
    const AgentRequest show = stage.Show(true);
    const AgentRequest speak = stage.Speak("Talking for a little while now");
    const AgentRequest wave = stage.character.Play("Wave");
    ASSERT_TRUE(PumpUntil([&] { return speak.GetStatus() == 4; }, 2000));
    ASSERT_TRUE(IsWindowVisible(BalloonWindow()));
    CVariant types(std::string("Speak, Move"));
    ASSERT_EQ(S_OK, stage.character.StopAll(types.value()));
    EXPECT_EQ(0, show.GetStatus());
    EXPECT_EQ(3, speak.GetStatus());
    EXPECT_FALSE(IsWindowVisible(BalloonWindow()));
    EXPECT_TRUE(PumpUntil([&] { return IsDone(wave); }, 5000));
    EXPECT_EQ(0, wave.GetStatus());

    CVariant unknown(std::string("Play, Dance"));
    EXPECT_EQ(DISP_E_EXCEPTION, stage.character.StopAll(unknown.value()));
}

TEST_F(StageQueueTest, ShowAndHideWithAndWithoutTheirAnimations)
{
    HWND window = CharacterWindow();
    const DWORD fastShow = TimeToFinish(stage.Show(true), 2000);
    EXPECT_TRUE(IsWindowVisible(window));
    // A click on the character leaves it where it is and takes no focus.
    EXPECT_EQ(MA_NOACTIVATE, SendMessageA(window, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(window, GetActiveWindow());
    // Showing what is visible is done at once.
    const AgentRequest again = stage.Show(false);
    EXPECT_LT(TimeToFinish(again, 2000), 200u);
    EXPECT_EQ(0, again.GetStatus());

    const DWORD slowHide = TimeToFinish(stage.Hide(false), 3000);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_GE(slowHide, 350u);  // the Hiding animation: five frames of 80 ms
    const AgentRequest hidden = stage.Hide(false);
    EXPECT_LT(TimeToFinish(hidden, 2000), 200u);
    EXPECT_EQ(0, hidden.GetStatus());

    const DWORD start = GetTickCount();
    const AgentRequest slowShow = stage.Show(false);
    ASSERT_TRUE(PumpUntil([&] { return slowShow.GetStatus() == 4; }, 1000));
    // Visible while the Showing animation plays, not only once it is done.
    EXPECT_TRUE(IsWindowVisible(window));
    ASSERT_TRUE(PumpUntil([&] { return IsDone(slowShow); }, 3000));
    EXPECT_LT(fastShow + 150, GetTickCount() - start);

    EXPECT_LT(TimeToFinish(stage.Hide(true), 2000) + 150, slowHide);
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
        2000));
    EXPECT_EQ(0, silent.GetStatus());
    EXPECT_FALSE(balloonSeen);

    const AgentRequest speak = stage.Speak("Good morning to you all");
    ASSERT_TRUE(PumpUntil([&] { return speak.GetStatus() == 4; }, 2000));
    HWND balloon = BalloonWindow();
    EXPECT_TRUE(IsWindowVisible(balloon));
    // Next to the character: above it, or below it when the screen has no room above.
    RECT balloonRect{}, characterRect{};
    GetWindowRect(balloon, &balloonRect);
    GetWindowRect(CharacterWindow(), &characterRect);
    EXPECT_TRUE(balloonRect.bottom == characterRect.top || balloonRect.top == characterRect.bottom);
    EXPECT_LT(balloonRect.left, characterRect.right);
    EXPECT_GT(balloonRect.right, characterRect.left);
    EXPECT_TRUE(PumpUntil([&] { return IsDone(speak); }, 8000));
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
        8000));
    EXPECT_EQ(0, speak.GetStatus());
    EXPECT_FALSE(balloonSeen);
}

TEST_F(StageQueueTest, MoveToJumpsAtSpeedZeroOrWhenHiddenAndGlidesOtherwise)
{
    HWND window = CharacterWindow();
    // Hidden, even the default speed jumps: nobody would see the glide.
    const AgentRequest hidden = stage.MoveTo(200, 150, -1);
    EXPECT_LT(TimeToFinish(hidden, 2000), 200u);
    EXPECT_EQ(200, WindowPosition(window).x);
    EXPECT_EQ(150, WindowPosition(window).y);

    stage.Show(true);
    const AgentRequest jump = stage.MoveTo(100, 80, 0);
    EXPECT_LT(TimeToFinish(jump, 2000), 200u);
    EXPECT_EQ(100, WindowPosition(window).x);
    EXPECT_EQ(80, WindowPosition(window).y);

    const AgentRequest glide = stage.MoveTo(500, 380, -1);
    ASSERT_TRUE(PumpUntil([&] { return glide.GetStatus() == 4; }, 1000));
    PumpFor(400);
    const POINT halfway = WindowPosition(window);
    EXPECT_GT(halfway.x, 100);
    EXPECT_LT(halfway.x, 500);
    EXPECT_GT(halfway.y, 80);
    EXPECT_LT(halfway.y, 380);
    const DWORD rest = TimeToFinish(glide, 3000);
    // The default speed takes a second for the whole way.
    EXPECT_GE(rest, 400u);
    EXPECT_EQ(0, glide.GetStatus());
    EXPECT_EQ(500, WindowPosition(window).x);
    EXPECT_EQ(380, WindowPosition(window).y);
}

TEST_F(StageQueueTest, LoopingAnimationEndsOnceAnotherRequestWaits)
{
    stage.Show(true);
    const AgentRequest ponder = stage.character.Play("Pondering");
    const AgentRequest blink = stage.character.Play("Blink");
    EXPECT_EQ((std::vector<size_t>{ 0, 1 }), CompletionOrder({ &ponder, &blink }, 5000));
    EXPECT_EQ(0, ponder.GetStatus());
    EXPECT_EQ(0, blink.GetStatus());
}

TEST(StageBranchTest, FramesFollowTheirBranches)
{
    // Two animations of the same frames: one branches past its long middle frame.
    CharacterData character = MakeSampleCharacter();
    CharacterAnimation straight;
    straight.name = "Straight";
    straight.frames = { character.animations[0].frames[0], character.animations[0].frames[0],
                        character.animations[0].frames[0] };
    straight.frames[0].duration = 5;
    straight.frames[1].duration = 150;
    straight.frames[2].duration = 5;
    CharacterAnimation skip = straight;
    skip.name = "Skip";
    skip.frames[0].branches = { { 2, 100 } };
    character.animations.push_back(straight);
    character.animations.push_back(skip);
    LoadedStage stage(character);
    EXPECT_LT(TimeToFinish(stage.character.Play("Skip"), 3000), 800u);
    EXPECT_GE(TimeToFinish(stage.character.Play("Straight"), 3000), 1400u);
}

} // namespace
