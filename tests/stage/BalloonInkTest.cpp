// Balloon text as it reaches the screen: slanted and heavy type draws past the advance
// its width is measured by, and the balloon must still show every glyph whole.
#include "StageTestSupport.h"
#include "framework/ScreenDpi.h"
#include "stage/SampleCharacter.h"
#include <gtest/gtest.h>

namespace {

const DWORD kDeadline = 10000;
const CharacterColor kInk = 0x000000;
const CharacterColor kPaper = 0xFFFFFF;

// Columns that hold ink in a picture: the first and one past the last.
struct InkSpan {
    int left = -1;
    int right = -1;
    int Width() const { return right - left; }
};

// Dark enough to be the text's ink, smoothed edges included, on white paper.
bool IsInk(uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) < 3 * 200;
}

void AddInk(const uint32_t* row, int left, int right, InkSpan& span)
{
    for (int x = left; x < right; ++x)
        if (IsInk(row[x])) {
            span.left = span.left < 0 ? x : std::min(span.left, x);
            span.right = std::max(span.right, x + 1);
        }
}

// The ink inside a balloon's body: on the rows whose paper reaches the border on both
// sides (not the tail's, nor those where the screen shows around the rounded corners).
InkSpan BodyInk(const std::vector<uint32_t>& pixels, int width, int height)
{
    InkSpan span;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels.data() + size_t(y) * width;
        if (row[1] == kPaper && row[width - 2] == kPaper)
            AddInk(row, 1, width - 1, span);
    }
    return span;
}

// The ink the text makes in that font when nothing clips it.
InkSpan FreeInk(const CharacterBalloon& look, const std::string& text)
{
    const int dpi = ScreenDpi();
    HFONT font = CreateFontA(MulDiv(look.fontHeight, dpi, 96), 0, 0, 0, look.fontWeight, look.italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, look.fontName.c_str());
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 100);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HGDIOBJ oldFont = SelectObject(memory, font);
    RECT all = { 0, 0, 400, 100 };
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    TextOutA(memory, 50, 20, text.c_str(), int(text.size()));
    const std::vector<uint32_t> pixels = Pixels(memory, 0, 0, 400, 100);
    InkSpan ink;
    for (int y = 0; y < 100; ++y)
        AddInk(pixels.data() + size_t(y) * 400, 0, 400, ink);
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return ink;
}

struct BalloonShot {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};

// The balloon on the screen once the whole text shows in it.
BalloonShot ShootBalloon(LoadedStage& stage, const std::string& text, const InkSpan& expected)
{
    const AgentRequest show = stage.Show(true);
    EXPECT_TRUE(PumpUntil([&] { return IsDone(show); }, kDeadline));
    const AgentRequest speak = stage.Speak(text);
    BalloonShot shot;
    EXPECT_TRUE(PumpUntil(
        [&] {
            HWND balloon = BalloonWindow();
            RECT rect{};
            if (!IsWindowVisible(balloon) || !GetWindowRect(balloon, &rect))
                return false;
            shot.width = rect.right - rect.left;
            shot.height = rect.bottom - rect.top;
            HDC screen = GetDC(nullptr);
            shot.pixels = Pixels(screen, rect.left, rect.top, shot.width, shot.height);
            ReleaseDC(nullptr, screen);
            // Inside the border; wait for ink at least as wide as the word's first glyph.
            return BodyInk(shot.pixels, shot.width, shot.height).Width() >= expected.Width() / 2;
        },
        kDeadline));
    // The word has come; give the balloon the paint that shows it all.
    PumpFor(200);
    RECT rect{};
    GetWindowRect(BalloonWindow(), &rect);
    HDC screen = GetDC(nullptr);
    shot.pixels = Pixels(screen, rect.left, rect.top, shot.width, shot.height);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(PumpUntil([&] { return IsDone(speak); }, kDeadline));
    return shot;
}

struct Style {
    int height;
    int weight;
    bool italic;
};

class BalloonInkTest : public testing::TestWithParam<Style> {};

TEST_P(BalloonInkTest, TheLastGlyphOfSlantedOrHeavyTextShowsWholeInsideTheBalloon)
{
    CharacterData character = MakeSampleCharacter();
    CharacterBalloon& look = character.info.balloon;
    look.foreground = kInk;
    look.background = kPaper;
    look.border = 0xE0E0E0;  // light, so that it does not count as ink
    look.fontName = "Tahoma";
    look.fontHeight = GetParam().height;
    look.fontWeight = GetParam().weight;
    look.italic = GetParam().italic;
    for (const std::string text : { "four", "Jiff", "wavy" }) {
        const InkSpan expected = FreeInk(look, text);
        ASSERT_GT(expected.Width(), 10) << text;
        LoadedStage stage(character);
        const BalloonShot shot = ShootBalloon(stage, text, expected);
        ASSERT_FALSE(shot.pixels.empty()) << text;
        const InkSpan ink = BodyInk(shot.pixels, shot.width, shot.height);
        EXPECT_EQ(expected.Width(), ink.Width()) << text << ": the balloon cuts the text";
        EXPECT_LE(ink.right, shot.width - 2) << text << ": ink reaches the border";
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, BalloonInkTest,
                         testing::Values(Style{ -16, 400, true }, Style{ -16, 700, false }, Style{ -16, 700, true },
                                         Style{ -13, 700, true }, Style{ -28, 400, true }, Style{ -28, 700, false }));

} // namespace
