// Windows that open after the character has appeared (a dialog the program opens while
// the character reads to the user) must not cover the character or its balloon: the
// screen is read back to see what the user sees. The tests wait for what they look for
// with a deadline a busy machine stays far within.
#include "StageTestSupport.h"
#include "stage/SampleCharacter.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

const DWORD kDeadline = 10000;
const char kLongText[] = "Here I am, reading this text to you word by word, and there is a good deal more of it "
                         "still to come, so that I keep talking for a while";

const COLORREF kCoverColor = RGB(0, 255, 0);  // a colour the sample character does not have

// A plain window of one colour, shown the way a dialog is shown, over a part of the screen.
class CoveringWindow {
public:
    explicit CoveringWindow(const RECT& rect)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = brush_;
        windowClass.lpszClassName = "StageTestCover";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "StageTestCover", "", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
    }
    ~CoveringWindow()
    {
        DestroyWindow(window_);
        UnregisterClassA("StageTestCover", GetModuleHandleA(nullptr));
        DeleteObject(brush_);
    }
    CoveringWindow(const CoveringWindow&) = delete;
    CoveringWindow& operator=(const CoveringWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    HBRUSH brush_ = CreateSolidBrush(kCoverColor);
    HWND window_ = nullptr;
};

// How many pixels of that part of the screen, as it shows now, are not the cover's colour.
size_t PixelsUnlikeCover(const RECT& rect)
{
    HDC screen = GetDC(nullptr);
    const std::vector<uint32_t> pixels = Pixels(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    const uint32_t cover = (GetRValue(kCoverColor) << 16) | (GetGValue(kCoverColor) << 8) | GetBValue(kCoverColor);
    return size_t(std::count_if(pixels.begin(), pixels.end(), [cover](uint32_t pixel) { return pixel != cover; }));
}

RECT ScreenRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// What showed on the screen of the character and its balloon while a request was in
// progress: the screen is read until both have been seen or the request is done.
struct Sighting {
    bool character = false;
    bool balloon = false;
};

Sighting WatchWhileInProgress(const AgentRequest& request, const RECT& character, bool balloonToo)
{
    Sighting seen;
    EXPECT_TRUE(PumpUntil(
        [&] {
            const long status = request.GetStatus();
            if (status == 4) {
                seen.character = seen.character || PixelsUnlikeCover(character) > 0;
                seen.balloon = seen.balloon || (IsWindowVisible(BalloonWindow()) &&
                                                PixelsUnlikeCover(ScreenRect(BalloonWindow())) > 0);
            }
            return status != 2 && (status != 4 || (seen.character && (seen.balloon || !balloonToo)));
        },
        kDeadline));
    return seen;
}

class CharacterInFrontTest : public testing::Test {
protected:
    void SetUp() override
    {
        const AgentRequest move = stage.MoveTo(400, 300, 0);
        const AgentRequest show = stage.Show(true);
        ASSERT_TRUE(PumpUntil([&] { return IsDone(show); }, kDeadline));
        ASSERT_EQ(0, move.GetStatus());
        character = ScreenRect(CharacterWindow());
    }

    // Covers the character and the room above it, where its balloon goes, with a
    // margin; checks that the screen shows the cover there at all.
    std::unique_ptr<CoveringWindow> Cover()
    {
        const RECT rect = { character.left - 200, character.top - 150, character.right + 200, character.bottom + 40 };
        auto cover = std::make_unique<CoveringWindow>(rect);
        const RECT margin = { rect.left, character.bottom + 5, rect.right, rect.bottom };
        EXPECT_TRUE(PumpUntil([&] { return PixelsUnlikeCover(margin) == 0; }, kDeadline))
            << "the screen does not show the covering window";
        return cover;
    }

    LoadedStage stage{ MakeSampleCharacter() };
    RECT character{};
};

TEST_F(CharacterInFrontTest, ADialogOpenedAfterTheCharacterAppearedLeavesItInSightWhileItAnimatesAndTalks)
{
    const auto cover = Cover();
    const AgentRequest wave = stage.character.Play("Wave");
    EXPECT_TRUE(WatchWhileInProgress(wave, character, false).character) << "the character is hidden while it waves";

    const AgentRequest speak = stage.Speak(kLongText);
    const Sighting talking = WatchWhileInProgress(speak, character, true);
    EXPECT_TRUE(talking.character) << "the character is hidden while it talks";
    EXPECT_TRUE(talking.balloon) << "the balloon is hidden";
}

TEST_F(CharacterInFrontTest, AWindowOpenedWhileTheCharacterTalksLeavesItAndItsBalloonInSight)
{
    const AgentRequest speak = stage.Speak(kLongText);
    ASSERT_TRUE(PumpUntil([&] { return speak.GetStatus() == 4 && IsWindowVisible(BalloonWindow()); }, kDeadline));
    const auto cover = Cover();
    const Sighting seen = WatchWhileInProgress(speak, character, true);
    EXPECT_TRUE(seen.character) << "the character is hidden";
    EXPECT_TRUE(seen.balloon) << "the balloon is hidden";
}

} // namespace
