#include "LinkWindow.h"
#include "WindowSnapshot.h"
#include "controls/OXStatic.h"
#include "framework/DataExchange.h"
#include <gtest/gtest.h>

namespace {
bool IsDark(COLORREF colour)
{
    return GetRValue(colour) < 100 && GetGValue(colour) < 100 && GetBValue(colour) < 100;
}

LOGFONTA BoldGuiFont()
{
    LOGFONTA attributes = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(attributes), &attributes);
    attributes.lfWeight = FW_BOLD;
    return attributes;
}

int TextWidth(HWND control)
{
    char text[256];
    const int length = GetWindowTextA(control, text, sizeof(text));
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, length, &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent.cx;
}

class EffectStaticTest : public testing::Test {
protected:
    HWND Attach(COXStatic& effect, const std::string& text, DWORD style, const RECT& rect, int id = 400)
    {
        HWND control = window.AddStatic(text, style, rect, id);
        CDataExchange dx(&window, false);
        DDX_Control(&dx, id, effect);
        EXPECT_EQ(control, effect.m_hWnd);
        return control;
    }

    LinkWindow window;
};
}

TEST_F(EffectStaticTest, BoldCaptionInWindowTextColourOnTheButtonFace)
{
    COXStatic caption;
    HWND control = Attach(caption, "Instructions", SS_LEFT, { 10, 10, 200, 40 });
    ASSERT_FALSE(GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY);
    const RECT normalInk = WindowSnapshot(control).BoundsOf(IsDark);
    EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY) << "set by its first colour request";
    EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)))
        << "the caption font is the control's own copy";

    const LOGFONTA bold = BoldGuiFont();
    EXPECT_TRUE(caption.SetStaticTextFont(&bold, true));
    EXPECT_EQ(FW_BOLD, LinkWindow::FontOf(control).lfWeight);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), window.TextColour(control));

    WindowSnapshot shot(control, RGB(1, 2, 3));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shot.At(shot.Width() - 1, shot.Height() - 1)) << "painted background";
    const RECT boldInk = shot.BoundsOf(IsDark);
    EXPECT_GT(boldInk.right - boldInk.left, normalInk.right - normalInk.left) << "bold letters are wider";

    // Without attributes the window's own font comes back.
    EXPECT_TRUE(caption.SetStaticTextFont(nullptr, true));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
}

TEST_F(EffectStaticTest, ColoursAreItsOwn)
{
    COXStatic caption;
    HWND control = Attach(caption, "New Parlacard", SS_LEFT, { 10, 10, 200, 40 });
    caption.SetTextColour(RGB(200, 0, 0));
    caption.SetBackgroundColour(RGB(0, 0, 128));
    EXPECT_EQ(RGB(200, 0, 0), window.TextColour(control));
    WindowSnapshot shot(control);
    EXPECT_EQ(RGB(0, 0, 128), shot.At(shot.Width() - 1, shot.Height() - 1));
    EXPECT_GT(shot.Count([](COLORREF c) { return c == RGB(200, 0, 0); }), 0);

    // No background: what lies behind stays.
    caption.SetBackgroundColour(COXStatic::NoBackground);
    WindowSnapshot bare(control, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), bare.At(bare.Width() - 1, bare.Height() - 1));
}

TEST_F(EffectStaticTest, PicturesAndFramesKeepTheirStandardDrawing)
{
    HWND control = window.AddStatic("", SS_ETCHEDFRAME, { 10, 10, 200, 40 }, 400);
    const LRESULT font = SendMessageA(control, WM_GETFONT, 0, 0);
    COXStatic frame;
    ASSERT_TRUE(frame.SubclassWindow(control));
    EXPECT_EQ(font, SendMessageA(control, WM_GETFONT, 0, 0)) << "no font of its own";
    const LOGFONTA bold = BoldGuiFont();
    EXPECT_TRUE(frame.SetStaticTextFont(&bold, true));

    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageA(window.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control));
    DeleteDC(dc);
    EXPECT_NE(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush) << "the parent's answer stands";
    EXPECT_FALSE(COXStatic::IsTextStatic(control));
}

TEST_F(EffectStaticTest, FittingKeepsTheEdgeTheAlignmentNames)
{
    COXStatic left;
    COXStatic right;
    COXStatic centred;
    HWND leftControl = Attach(left, "Fit me", SS_LEFT, { 100, 10, 400, 50 }, 401);
    HWND rightControl = Attach(right, "Fit me", SS_RIGHT, { 100, 60, 400, 100 }, 402);
    HWND centredControl = Attach(centred, "Fit me", SS_CENTER | SS_CENTERIMAGE, { 100, 110, 400, 150 }, 403);
    left.SetFitToText(true);
    right.SetFitToText(true);
    centred.SetFitToText(true);
    const int width = TextWidth(leftControl);

    EXPECT_EQ(width, LinkWindow::ClientBounds(leftControl).right);
    EXPECT_EQ(100, window.Bounds(leftControl).left);
    EXPECT_EQ(400, window.Bounds(rightControl).right);
    EXPECT_EQ(width, LinkWindow::ClientBounds(rightControl).right);
    const RECT middle = window.Bounds(centredControl);
    EXPECT_NEAR(250, (middle.left + middle.right) / 2, 1);
    EXPECT_NEAR(130, (middle.top + middle.bottom) / 2, 1);

    // A new caption or font is fitted again.
    SetWindowTextA(rightControl, "Fit me to a longer text");
    EXPECT_EQ(400, window.Bounds(rightControl).right);
    EXPECT_EQ(TextWidth(rightControl), LinkWindow::ClientBounds(rightControl).right);
    const LOGFONTA bold = BoldGuiFont();
    left.SetStaticTextFont(&bold, true);
    EXPECT_EQ(TextWidth(leftControl), LinkWindow::ClientBounds(leftControl).right);

    // Fitting off: resizing the control sticks.
    left.SetFitToText(false);
    SetWindowPos(leftControl, nullptr, 0, 0, 250, 30, SWP_NOMOVE | SWP_NOZORDER);
    left.FitStaticToText();
    EXPECT_EQ(250, LinkWindow::ClientBounds(leftControl).right);
}

TEST_F(EffectStaticTest, ToolTipShowsTheCaptionOrTheOwnersText)
{
    COXStatic caption;
    HWND control = Attach(caption, "Parlacard Maker 1.04", SS_LEFT, { 10, 10, 200, 40 });
    EXPECT_EQ("", LinkWindow::ToolTipText(control)) << "off until enabled";
    caption.EnableStaticToolTip(true);
    EXPECT_EQ("Parlacard Maker 1.04", LinkWindow::ToolTipText(control));
    SetWindowTextA(control, "Parlacard Maker 1.05");
    EXPECT_EQ("Parlacard Maker 1.05", LinkWindow::ToolTipText(control));
    caption.SetStaticToolTipText("The version");
    SetWindowTextA(control, "Parlacard Maker 1.06");
    EXPECT_EQ("The version", LinkWindow::ToolTipText(control));
}
