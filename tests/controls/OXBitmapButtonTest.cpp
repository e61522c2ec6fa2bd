#include "ButtonWindow.h"
#include "ControlsTestResources.h"
#include "LinkWindow.h"
#include "WindowSnapshot.h"
#include "controls/OXBitmapButton.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "support/WindowText.h"
#include "RectCompare.h"
#include <gtest/gtest.h>

namespace {
const COLORREF Red = RGB(255, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);
const COLORREF Magenta = RGB(255, 0, 255);
const COLORREF MidGrey = RGB(128, 128, 128);
// The test picture: a 16 x 12 red card with a blue centre inside a 2-pixel magenta rim.
const int PictureWidth = 20;
const int PictureHeight = 16;
const int Rim = 2;
// Default margins: 5 around the image, 7 and 6 around the caption.
const int ImagePad = 5;

RECT Shifted(RECT rect, int dx, int dy)
{
    OffsetRect(&rect, dx, dy);
    return rect;
}

// Where the red card shows when the picture's top-left corner is at (x, y).
RECT CardAt(int x, int y)
{
    return { x + Rim, y + Rim, x + PictureWidth - Rim, y + PictureHeight - Rim };
}

bool IsDark(COLORREF colour)
{
    return GetRValue(colour) < 100 && GetGValue(colour) < 100 && GetBValue(colour) < 100;
}

// The caption's ink: dark pixels within the area.
RECT InkIn(const WindowSnapshot& shot, const RECT& area)
{
    return shot.BoundsOf(IsDark, &area);
}

class CountingButton : public COXBitmapButton {
public:
    int dropDowns = 0;
    int toggles = 0;

protected:
    void OnDropDown() override { ++dropDowns; }
    void OnToggle() override { ++toggles; }
};

LPARAM Point(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

void Click(HWND button)
{
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, Point(5, 5));
}

class BitmapButtonTest : public testing::Test {
protected:
    // An owner-drawn button of the window with the test picture, attached as a template's
    // control is.
    HWND Attach(COXBitmapButton& button, const std::string& text, DWORD style, const RECT& rect, int id = 300,
                COLORREF mask = Magenta)
    {
        HWND control = window.AddButton(text, style, rect, id);
        CDataExchange dx(&window, false);
        DDX_Control(&dx, id, button);
        EXPECT_EQ(control, button.m_hWnd);
        EXPECT_TRUE(button.LoadButtonBitmap(IDB_TEST_PICTURE, false, mask));
        return control;
    }

    ButtonWindow window;
};
}

TEST_F(BitmapButtonTest, TopAlignmentStacksTheImageAboveTheCaption)
{
    COXBitmapButton button;
    HWND control = Attach(button, "Add", BS_TOP | BS_CENTER, { 10, 10, 130, 80 });
    const int W = 120;
    const int H = 70;
    WindowSnapshot shot(control);

    const int imageX = (W - (PictureWidth + 2 * ImagePad)) / 2 + ImagePad;
    EXPECT_EQ(CardAt(imageX, ImagePad), shot.BoundsOf(Red));
    EXPECT_EQ(0, shot.Count([](COLORREF c) { return c == Magenta; })) << "the mask colour is transparent";
    // The caption fills the room below the image block and is centred in it.
    const RECT below = { 6, ImagePad + PictureHeight, W - 6, H - 6 };
    const RECT ink = InkIn(shot, below);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_GE(ink.top, PictureHeight + 2 * ImagePad);
    EXPECT_NEAR(W / 2, (ink.left + ink.right) / 2, 2);
    EXPECT_NEAR((PictureHeight + 2 * ImagePad + H - 6) / 2, (ink.top + ink.bottom) / 2, 2);

    // Bottom alignment puts the caption above the image.
    button.SetImageVerticalAlignment(BS_BOTTOM);
    WindowSnapshot bottom(control);
    const RECT card = bottom.BoundsOf(Red);
    EXPECT_EQ(CardAt(imageX, H - ImagePad - PictureHeight), card);
    const RECT above = { 6, 6, W - 6, card.top - Rim };
    const RECT aboveInk = InkIn(bottom, above);
    EXPECT_FALSE(IsRectEmpty(&aboveInk));
}

TEST_F(BitmapButtonTest, VerticalCentrePutsImageAndCaptionSideBySide)
{
    COXBitmapButton button;
    HWND control = Attach(button, "Add", BS_VCENTER | BS_CENTER, { 10, 10, 130, 50 });
    const int W = 120;
    const int H = 40;
    const int imageY = (H - (PictureHeight + 2 * ImagePad)) / 2 + ImagePad;
    WindowSnapshot shot(control);
    EXPECT_EQ(CardAt(ImagePad, imageY), shot.BoundsOf(Red));
    const RECT right = { PictureWidth + ImagePad, 6, W - 6, H - 6 };
    const RECT ink = InkIn(shot, right);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_NEAR(H / 2, (ink.top + ink.bottom) / 2, 2);

    // Left alignment: the caption first, the image after the caption's block.
    button.SetImageAlignment(BS_LEFT);
    WindowSnapshot left(control);
    const RECT card = left.BoundsOf(Red);
    EXPECT_EQ(imageY + Rim, card.top);
    EXPECT_EQ(W - ImagePad - PictureWidth + Rim, card.left) << "the caption takes all the room it is given";
    const RECT before = { 6, 6, card.left - Rim, H - 6 };
    const RECT leftInk = InkIn(left, before);
    ASSERT_FALSE(IsRectEmpty(&leftInk));
    EXPECT_LE(leftInk.left, 9) << "left-aligned caption";
}

TEST_F(BitmapButtonTest, PressingShiftsImageAndCaptionByTwoPixels)
{
    COXBitmapButton button;
    HWND control = Attach(button, "Add", BS_TOP | BS_CENTER, { 10, 10, 130, 80 });
    // Clear of the focus mark that pressing brings.
    const RECT below = { 8, 28, 112, 62 };
    WindowSnapshot up(control);

    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    ASSERT_TRUE(button.GetState() & BST_PUSHED);
    WindowSnapshot down(control);
    EXPECT_EQ(Shifted(up.BoundsOf(Red), 2, 2), down.BoundsOf(Red));
    EXPECT_EQ(Shifted(InkIn(up, below), 2, 2), InkIn(down, Shifted(below, 2, 2)));
    // Held down with the focus: a black frame with a shadow edge inside it.
    EXPECT_EQ(RGB(0, 0, 0), down.At(0, 30));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), down.At(1, 30));

    SendMessageA(control, WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_EQ(1, window.clicks);
    EXPECT_EQ(up.BoundsOf(Red), WindowSnapshot(control).BoundsOf(Red));
}

TEST_F(BitmapButtonTest, DisabledButtonShowsEmbossedImageAndCaption)
{
    COXBitmapButton button;
    HWND control = Attach(button, "Add", BS_TOP | BS_CENTER, { 10, 10, 130, 80 });
    const RECT card = WindowSnapshot(control).BoundsOf(Red);
    EnableWindow(control, FALSE);
    WindowSnapshot shot(control);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(0, shot.Count([](COLORREF c) { return c == Red || c == Blue; }));
    EXPECT_EQ(0, shot.Count([&](COLORREF c) { return c != face && c != shadow && c != highlight; }, &card))
        << "the disabled image is drawn in the system's embossed colours";
    EXPECT_GT(shot.Count([&](COLORREF c) { return c == shadow; }, &card), 0);

    const RECT below = { 6, 28, 114, 64 };
    EXPECT_EQ(0, shot.Count(IsDark, &below)) << "no caption in the text colour";
    EXPECT_GT(shot.Count([&](COLORREF c) { return c == highlight; }, &below), 0);
    EXPECT_GT(shot.Count([&](COLORREF c) { return c == shadow; }, &below), 0);

    // A disabled button takes no clicks.
    Click(control);
    SendMessageA(control, BM_CLICK, 0, 0);
    EXPECT_EQ(0, window.clicks);
}

TEST_F(BitmapButtonTest, FlatLookShowsTheGreyImageUntilThePointerComesOver)
{
    COXBitmapButton button;
    HWND control = Attach(button, "", BS_VCENTER | BS_CENTER, { 10, 10, 50, 46 });
    const RECT card = WindowSnapshot(control).BoundsOf(Red);
    button.SetTrackLook(true);

    WindowSnapshot flat(control);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(0, flat.Count([](COLORREF c) { return c == Red || c == Blue; }));
    // Red turns mid grey by its luminance, blue black.
    EXPECT_EQ(card, flat.BoundsOf(MidGrey));
    const RECT centre = { card.left + 6, card.top + 4, card.left + 10, card.top + 8 };
    EXPECT_EQ(centre, flat.BoundsOf(RGB(0, 0, 0)));
    EXPECT_EQ(face, flat.At(0, 0)) << "no frame";
    EXPECT_EQ(face, flat.At(flat.Width() - 1, flat.Height() - 1));

    SendMessageA(control, WM_MOUSEMOVE, 0, Point(10, 10));
    EXPECT_EQ(control, GetCapture()) << "the button watches the pointer leave";
    WindowSnapshot hot(control);
    EXPECT_EQ(Shifted(card, -1, -1), hot.BoundsOf(Red)) << "the hot image rises by a pixel";
    EXPECT_NE(face, hot.At(hot.Width() - 1, hot.Height() - 1)) << "the frame shows";

    SendMessageA(control, WM_MOUSEMOVE, 0, Point(-40, -40));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(card, WindowSnapshot(control).BoundsOf(MidGrey));
}

TEST_F(BitmapButtonTest, ImagesDeeperThan256ColoursHaveNoGreyCopy)
{
    COXBitmapButton button;
    HWND control = Attach(button, "", BS_VCENTER | BS_CENTER, { 10, 10, 50, 46 });
    ASSERT_TRUE(button.LoadButtonBitmap(IDB_TEST_PICTURE_DEEP, false, Magenta));
    const RECT card = WindowSnapshot(control).BoundsOf(Red);
    EXPECT_FALSE(IsRectEmpty(&card));
    button.SetTrackLook(true);
    EXPECT_EQ(card, WindowSnapshot(control).BoundsOf(Red)) << "the flat look keeps the colour image";
    EnableWindow(control, FALSE);
    EXPECT_EQ(0, WindowSnapshot(control).Count([](COLORREF c) { return c == Red; }));
}

TEST_F(BitmapButtonTest, MissingImagesLeaveTheCaptionAlone)
{
    COXBitmapButton button;
    HWND control = Attach(button, "Add", BS_TOP | BS_CENTER, { 10, 10, 130, 80 });
    EXPECT_FALSE(button.LoadButtonBitmap(9999));
    WindowSnapshot shot(control);
    EXPECT_EQ(0, shot.Count([](COLORREF c) { return c == Red; }));
    const RECT inside = { 6, 6, 114, 64 };
    const RECT ink = InkIn(shot, inside);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_NEAR(60, (ink.left + ink.right) / 2, 2);
    EXPECT_FALSE(button.LoadButtonIcon(9999));
}

TEST_F(BitmapButtonTest, IconsLoadAtTheAskedSize)
{
    COXBitmapButton button;
    HWND control = Attach(button, "", 0, { 10, 10, 15, 15 });
    ASSERT_TRUE(button.LoadButtonIcon(IDI_ACTION, true, 16, 16));
    RECT bounds;
    GetClientRect(control, &bounds);
    EXPECT_EQ(16 + 2 * ImagePad, bounds.right);
    EXPECT_EQ(16 + 2 * ImagePad, bounds.bottom);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT image = { ImagePad, ImagePad, ImagePad + 16, ImagePad + 16 };
    WindowSnapshot normal(control);
    EXPECT_GT(normal.Count([&](COLORREF c) { return c != face; }, &image), 0);
    EnableWindow(control, FALSE);
    WindowSnapshot disabled(control);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(0, disabled.Count([&](COLORREF c) { return c != face && c != shadow && c != highlight; }, &image));
}

TEST_F(BitmapButtonTest, FittedButtonShowsAllOfItsContent)
{
    // Fitted, the caption shows as much ink as it does with room to spare.
    for (DWORD alignment : { DWORD(BS_TOP), DWORD(BS_VCENTER) }) {
        COXBitmapButton roomy;
        COXBitmapButton fitted;
        HWND spacious = Attach(roomy, "Play Greeting", alignment, { 10, 100, 310, 200 }, 301);
        HWND control = Attach(fitted, "Play Greeting", alignment, { 10, 210, 20, 220 }, 302);
        fitted.SizeToContent();
        WindowSnapshot room(spacious);
        WindowSnapshot shot(control);
        const RECT card = shot.BoundsOf(Red);
        EXPECT_EQ(PictureWidth - 2 * Rim, card.right - card.left);
        EXPECT_EQ(PictureHeight - 2 * Rim, card.bottom - card.top);
        // Inside the two-pixel frame.
        const RECT roomInside = { 2, 2, room.Width() - 2, room.Height() - 2 };
        const RECT inside = { 2, 2, shot.Width() - 2, shot.Height() - 2 };
        const RECT roomInk = InkIn(room, roomInside);
        const RECT ink = InkIn(shot, inside);
        EXPECT_EQ(roomInk.right - roomInk.left, ink.right - ink.left);
        EXPECT_EQ(roomInk.bottom - roomInk.top, ink.bottom - ink.top);
        DestroyWindow(spacious);
        DestroyWindow(control);
    }

    // A long multi-line caption is folded into a block rather than a strip.
    COXBitmapButton strip;
    COXBitmapButton folded;
    const std::string text = "Add an action to the greeting and preview it before sending";
    Attach(strip, text, BS_TOP, { 10, 150, 20, 160 }, 303);
    Attach(folded, text, BS_TOP | BS_MULTILINE, { 10, 200, 20, 210 }, 304);
    const SIZE line = strip.GetFitSize();
    const SIZE block = folded.GetFitSize();
    EXPECT_LT(block.cx, line.cx);
    EXPECT_GT(block.cy, line.cy);
}

TEST_F(BitmapButtonTest, WindowTextCarriesCaptionAndToolTip)
{
    COXBitmapButton button;
    COXBitmapButton plain;
    HWND control = Attach(button, "Send\nSend the parlacard", BS_TOP | BS_CENTER, { 10, 10, 130, 80 });
    HWND reference = Attach(plain, "Send", BS_TOP | BS_CENTER, { 10, 100, 130, 170 }, 301);
    const RECT below = { 6, 28, 114, 64 };
    EXPECT_EQ(InkIn(WindowSnapshot(reference), below), InkIn(WindowSnapshot(control), below))
        << "only the caption is drawn";

    button.EnableButtonToolTip(true);
    EXPECT_EQ("Send the parlacard", LinkWindow::ToolTipText(control, 1000));
    button.SetButtonToolTipText("Send it now");
    EXPECT_EQ("Send\nSend it now", WindowText(control));
    EXPECT_EQ("Send it now", LinkWindow::ToolTipText(control, 1000));
    button.SetButtonToolTipText("");
    EXPECT_EQ("Send", WindowText(control));
    EXPECT_FALSE(LinkWindow::HasToolTip(control, 1000));
    SetWindowTextA(control, "Send\nBack again");
    EXPECT_EQ("Back again", LinkWindow::ToolTipText(control, 1000));
    button.EnableButtonToolTip(false);
    EXPECT_FALSE(LinkWindow::HasToolTip(control, 1000));
}

TEST_F(BitmapButtonTest, CaptionFontIsTheButtonsOwnCopy)
{
    COXBitmapButton button;
    HWND control = Attach(button, "Play", BS_TOP, { 10, 10, 130, 80 });
    HFONT copy = button.GetButtonTextFont();
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), copy);
    LOGFONTA attributes = {};
    ASSERT_TRUE(GetObjectA(copy, sizeof(attributes), &attributes));
    EXPECT_EQ(LinkWindow::FontOf(control).lfHeight, attributes.lfHeight);
    EXPECT_EQ(copy, button.GetButtonTextFont()) << "an unchanged window font keeps the copy";

    const RECT inside = { 6, 6, 114, 64 };
    const RECT normalInk = InkIn(WindowSnapshot(control), inside);
    attributes.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectA(&attributes);
    button.SetButtonTextFont(bold);
    DeleteObject(bold);
    EXPECT_EQ(FW_BOLD, LinkWindow::FontOf(control).lfWeight);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), button.GetButtonTextFont());
    const RECT boldInk = InkIn(WindowSnapshot(control), inside);
    EXPECT_GT(boldInk.right - boldInk.left, normalInk.right - normalInk.left) << "the caption is drawn bold";

    SendMessageA(control, WM_SETFONT, 0, FALSE);
    EXPECT_EQ(nullptr, button.GetButtonTextFont());
}

TEST_F(BitmapButtonTest, ToggleButtonsTellTheirParentAndCycleTheirState)
{
    CountingButton button;
    HWND control = Attach(button, "Bold", 0, { 10, 10, 130, 50 });
    button.SetButtonExtendedStyle(ButtonToggle);
    const RECT card = WindowSnapshot(control).BoundsOf(Red);

    Click(control);
    EXPECT_EQ(ButtonChecked, button.GetToggleState());
    ASSERT_EQ(1u, window.notifications.size());
    EXPECT_EQ(300u, window.notifications[0].id);
    EXPECT_EQ(BitmapButtonToggleCode, window.notifications[0].code);
    EXPECT_EQ(1, button.toggles) << "a zero answer runs the button's own action";
    EXPECT_EQ(1, window.clicks);
    EXPECT_EQ(Shifted(card, 1, 1), WindowSnapshot(control).BoundsOf(Red)) << "checked buttons sit a pixel lower";

    window.answer = [](const NMHDR&) { return LRESULT(1); };
    Click(control);
    EXPECT_EQ(0u, button.GetToggleState());
    EXPECT_EQ(1, button.toggles) << "the parent handled it";

    // The system's simulated click toggles once, as a real one does.
    SendMessageA(control, BM_CLICK, 0, 0);
    EXPECT_EQ(ButtonChecked, button.GetToggleState());
    // So do space and Enter.
    SendMessageA(control, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(control, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(0u, button.GetToggleState());
    SendMessageA(control, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ButtonChecked, button.GetToggleState());
    EXPECT_EQ(4u, window.notifications.size());

    button.SetButtonExtendedStyle(ButtonToggle | ButtonThreeState);
    Click(control);
    EXPECT_EQ(ButtonChecked | ButtonIndeterminate, button.GetToggleState());
    Click(control);
    EXPECT_EQ(0u, button.GetToggleState());

    EnableWindow(control, FALSE);
    SendMessageA(control, BM_CLICK, 0, 0);
    EXPECT_EQ(0u, button.GetToggleState());
    EXPECT_EQ(6u, window.notifications.size());
}

TEST_F(BitmapButtonTest, DropDownButtonsAreCheckedWhileTheParentHears)
{
    CountingButton button;
    HWND control = Attach(button, "More", 0, { 10, 10, 130, 50 });
    button.SetButtonExtendedStyle(ButtonDropDown);
    UINT stateSeen = 0;
    window.answer = [&](const NMHDR&) {
        stateSeen = button.GetToggleState();
        return LRESULT(0);
    };
    Click(control);
    ASSERT_EQ(1u, window.notifications.size());
    EXPECT_EQ(BitmapButtonDropDownCode, window.notifications[0].code);
    EXPECT_EQ(ButtonChecked, stateSeen);
    EXPECT_EQ(0u, button.GetToggleState());
    EXPECT_EQ(1, button.dropDowns);

    window.answer = [](const NMHDR&) { return LRESULT(1); };
    Click(control);
    EXPECT_EQ(1, button.dropDowns);
    EXPECT_EQ(2, window.clicks);

    // The arrow takes its share of the fitted width.
    const SIZE withArrow = button.GetFitSize();
    button.SetButtonExtendedStyle(ButtonDropDown | ButtonNoArrow);
    EXPECT_GT(withArrow.cx, button.GetFitSize().cx);
}

TEST_F(BitmapButtonTest, CreatedButtonsAreOwnerDrawn)
{
    COXBitmapButton button;
    ASSERT_TRUE(button.CreateEx(0, "BUTTON", "New", WS_CHILD | WS_VISIBLE, { 10, 10, 90, 40 }, window.m_hWnd, 310));
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
}

TEST_F(BitmapButtonTest, TransparentButtonShowsTheParentBehindIt)
{
    COXBitmapButton button;
    HWND control = Attach(button, "", 0, { 10, 10, 60, 50 });
    button.SetTransparent(true);
    RedrawWindow(window.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WindowSnapshot shot(control);
    const COLORREF parent = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(parent, shot.At(0, 0));
    EXPECT_EQ(parent, shot.At(shot.Width() - 1, shot.Height() - 1));
    const RECT card = shot.BoundsOf(Red);
    EXPECT_FALSE(IsRectEmpty(&card));
}
