#include "LinkWindow.h"
#include "controls/BrowserLaunch.h"
#include "controls/HyperLinkDL.h"
#include "controls/LinkColours.h"
#include "framework/DataExchange.h"
#include "support/RecordingBrowser.h"
#include "support/WindowText.h"
#include <gtest/gtest.h>

namespace {
const DWORD Left = SS_LEFT | SS_NOTIFY;

// Counts activations instead of opening anything.
class CountingLink : public CHyperLink {
public:
    void ActivateLink() override { ++activations; }
    int activations = 0;
};

LPARAM Point(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

void Click(HWND control)
{
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    SendMessageA(control, WM_LBUTTONUP, 0, Point(2, 2));
}

SIZE TextExtent(HWND control)
{
    const std::string text = WindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent;
}

class HyperLinkTest : public testing::Test {
protected:
    void SetUp() override { GetLinkColours(initial); }
    void TearDown() override { SetLinkColours(initial); }

    LinkColours initial;
    LinkWindow window;
};
}

TEST_F(HyperLinkTest, TextAndAddressFillInForEachOther)
{
    CHyperLink fromAddress;
    fromAddress.SetLinkUrl("http://www.parlacard.example/cards");
    HWND empty = window.AddStatic("", Left, { 10, 10, 300, 30 });
    ASSERT_TRUE(fromAddress.SubclassWindow(empty));
    EXPECT_EQ("http://www.parlacard.example/cards", WindowText(empty));
    EXPECT_EQ("http://www.parlacard.example/cards", LinkWindow::ToolTipText(empty));

    CHyperLink fromText;
    HWND named = window.AddStatic("www.parlacard.example", Left, { 10, 40, 300, 60 });
    ASSERT_TRUE(fromText.SubclassWindow(named));
    EXPECT_EQ("www.parlacard.example", LinkWindow::ToolTipText(named));

    fromText.SetLinkUrl("http://www.parlacard.example/news");
    EXPECT_EQ("http://www.parlacard.example/news", LinkWindow::ToolTipText(named));
    EXPECT_EQ("www.parlacard.example", WindowText(named));
    EXPECT_TRUE(IsWindowVisible(named));
}

TEST_F(HyperLinkTest, DataExchangeAttachesTheLinkToTheTemplateControl)
{
    HWND control = window.AddStatic("Home page", Left, { 10, 10, 300, 30 }, 301);
    CDataExchange dx(&window, false);
    CHyperLinkDL link;
    DDX_Control(&dx, 301, link);
    EXPECT_EQ(control, link.m_hWnd);
    EXPECT_TRUE(LinkWindow::FontOf(control).lfUnderline);
    EXPECT_EQ(initial.normal, window.TextColour(control));
}

TEST_F(HyperLinkTest, UnderlineFollowsTheStyleOnACopyOfTheFont)
{
    HWND control = window.AddStatic("Underlined", Left, { 10, 10, 300, 30 });
    LOGFONTA original;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(original), &original);
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(control));
    EXPECT_TRUE(LinkWindow::FontOf(control).lfUnderline);
    EXPECT_STREQ(original.lfFaceName, LinkWindow::FontOf(control).lfFaceName);
    EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));

    EXPECT_TRUE(link.ChangeLinkStyle(LinkUnderline, 0));
    EXPECT_FALSE(LinkWindow::FontOf(control).lfUnderline);
    EXPECT_FALSE(link.ChangeLinkStyle(LinkUnderline, LinkHoverColour));
    EXPECT_TRUE(link.ChangeLinkStyle(0, LinkUnderline));
    EXPECT_TRUE(LinkWindow::FontOf(control).lfUnderline);

    HFONT bold = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    link.ApplyLinkFont(bold);
    DeleteObject(bold);   // the link keeps its own copy
    EXPECT_EQ(FW_BOLD, LinkWindow::FontOf(control).lfWeight);
    EXPECT_EQ(TextExtent(control).cx, LinkWindow::ClientBounds(control).right);
}

TEST_F(HyperLinkTest, FittingToTheTextKeepsTheEdgeTheAlignmentNames)
{
    const RECT place = { 100, 10, 400, 50 };
    HWND left = window.AddStatic("Fit me", Left | WS_BORDER, place);
    HWND right = window.AddStatic("Fit me", SS_RIGHT, { 100, 60, 400, 100 });
    HWND centred = window.AddStatic("Fit me", SS_CENTER | SS_CENTERIMAGE, { 100, 110, 400, 150 });
    CHyperLink links[3];
    ASSERT_TRUE(links[0].SubclassWindow(left));
    ASSERT_TRUE(links[1].SubclassWindow(right));
    ASSERT_TRUE(links[2].SubclassWindow(centred));
    const SIZE text = TextExtent(left);
    ASSERT_GT(text.cx, 0);

    // The text fills the client area; a border stays around it.
    EXPECT_EQ(text.cx, LinkWindow::ClientBounds(left).right);
    EXPECT_EQ(text.cy, LinkWindow::ClientBounds(left).bottom);
    EXPECT_EQ(place.left, window.Bounds(left).left);
    EXPECT_EQ(place.top, window.Bounds(left).top);
    EXPECT_EQ(place.right, window.Bounds(right).right);
    EXPECT_EQ(text.cx, LinkWindow::ClientBounds(right).right);
    const RECT middle = window.Bounds(centred);
    EXPECT_NEAR(250, (middle.left + middle.right) / 2, 1);
    EXPECT_NEAR(130, (middle.top + middle.bottom) / 2, 1);
    EXPECT_NEAR(text.cx, middle.right - middle.left, 1);
    EXPECT_NEAR(text.cy, middle.bottom - middle.top, 1);

    links[1].SetLinkText("Fit me to a longer text");
    EXPECT_EQ(place.right, window.Bounds(right).right);
    EXPECT_EQ(TextExtent(right).cx, LinkWindow::ClientBounds(right).right);
    EXPECT_GT(TextExtent(right).cx, text.cx);
    EXPECT_TRUE(IsWindowVisible(right));
}

TEST_F(HyperLinkTest, AStaticWithoutAFontKeepsItsSize)
{
    const RECT place = { 10, 10, 300, 40 };
    HWND control = window.AddStatic("No font", Left, place, 0, false);
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(control));
    link.SetLinkText("Still no font");
    const RECT bounds = window.Bounds(control);
    EXPECT_EQ(place.right - place.left, bounds.right - bounds.left);
    EXPECT_EQ(place.bottom - place.top, bounds.bottom - bounds.top);
    EXPECT_EQ("Still no font", WindowText(control));
}

TEST_F(HyperLinkTest, ColoursFollowHoverFocusAndVisits)
{
    HWND control = window.AddStatic("Colours", Left, { 10, 10, 300, 30 }, LinkWindow::ClickedId);
    HWND other = window.AddStatic("Elsewhere", Left, { 10, 50, 300, 70 });
    CHyperLinkDL link;
    ASSERT_TRUE(link.SubclassWindow(control));
    EXPECT_EQ(initial.normal, window.TextColour(control));

    // Hover colour only once the style asks for it; the link holds the capture meanwhile.
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(3, 3));
    EXPECT_EQ(control, GetCapture());
    EXPECT_EQ(initial.normal, window.TextColour(control));
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(-4, 3));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(link.ChangeLinkStyle(0, LinkHoverColour));
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(3, 3));
    EXPECT_EQ(initial.hover, window.TextColour(control));
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(5, 4));
    EXPECT_EQ(control, GetCapture());
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(3, 500));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(initial.normal, window.TextColour(control));

    // A click focuses the link (active) and tells the window; the visit shows once the
    // focus goes.
    Click(control);
    EXPECT_EQ(control, GetFocus());
    EXPECT_EQ(1, window.clicks);
    EXPECT_EQ(initial.active, window.TextColour(control));
    SetFocus(other);
    EXPECT_EQ(initial.visited, window.TextColour(control));

    EXPECT_TRUE(link.ChangeLinkStyle(0, LinkNoActiveColour));
    SetFocus(control);
    EXPECT_EQ(initial.visited, window.TextColour(control));
}

TEST_F(HyperLinkTest, ChangedColoursApplyToEveryLinkFromThenOn)
{
    HWND before = window.AddStatic("Before", Left, { 10, 10, 300, 30 });
    CHyperLink early;
    ASSERT_TRUE(early.SubclassWindow(before));
    LinkColours changed = initial;
    changed.normal = RGB(0, 0, 128);
    changed.hover = RGB(0, 0, 255);
    SetLinkColours(changed);
    LinkColours read;
    GetLinkColours(read);
    EXPECT_EQ(RGB(0, 0, 128), read.normal);
    EXPECT_EQ(initial.visited, read.visited);

    HWND after = window.AddStatic("After", Left, { 10, 50, 300, 70 });
    CHyperLink late;
    ASSERT_TRUE(late.SubclassWindow(after));
    EXPECT_EQ(RGB(0, 0, 128), window.TextColour(before));
    EXPECT_EQ(RGB(0, 0, 128), window.TextColour(after));
}

TEST_F(HyperLinkTest, ActivatesOnReleaseAfterAPressOrOnSpace)
{
    HWND control = window.AddStatic("Activate", Left, { 10, 10, 300, 30 });
    CountingLink link;
    ASSERT_TRUE(link.SubclassWindow(control));
    // Hit testing must let the mouse reach a static.
    EXPECT_EQ(HTCLIENT, SendMessageA(control, WM_NCHITTEST, 0, 0));

    SendMessageA(control, WM_LBUTTONUP, 0, Point(2, 2));
    EXPECT_EQ(0, link.activations) << "a release without a press";
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    EXPECT_EQ(0, link.activations);
    SendMessageA(control, WM_LBUTTONUP, 0, Point(2, 2));
    EXPECT_EQ(1, link.activations);

    SendMessageA(control, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(2, link.activations);
    SendMessageA(control, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(control, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(2, link.activations);

    EXPECT_TRUE(link.ChangeLinkStyle(LinkFocusOnClick, LinkActivateOnPress));
    SetFocus(window.m_hWnd);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    EXPECT_EQ(3, link.activations);
    EXPECT_EQ(window.m_hWnd, GetFocus());
    SendMessageA(control, WM_LBUTTONUP, 0, Point(2, 2));
    EXPECT_EQ(3, link.activations);
}

TEST_F(HyperLinkTest, ActivationOpensTheAddressOnlyForThePlainLink)
{
    RecordingBrowser browser;
    HWND plainControl = window.AddStatic("Open", Left, { 10, 10, 300, 30 });
    HWND dialogControl = window.AddStatic("Mark", Left, { 10, 50, 300, 70 });
    CHyperLink plain;
    CHyperLinkDL forDialog;
    plain.SetLinkUrl("http://www.parlacard.example/open");
    forDialog.SetLinkUrl("http://www.parlacard.example/not-opened");
    ASSERT_TRUE(plain.SubclassWindow(plainControl));
    ASSERT_TRUE(forDialog.SubclassWindow(dialogControl));

    Click(dialogControl);
    Click(plainControl);
    EXPECT_EQ(std::vector<std::string>{ "http://www.parlacard.example/open" }, browser.WaitForAddresses(1));
    SetFocus(window.m_hWnd);
    EXPECT_EQ(initial.visited, window.TextColour(plainControl));
    EXPECT_EQ(initial.visited, window.TextColour(dialogControl));
}

TEST_F(HyperLinkTest, TheHandCursorFallsBackToTheSystemsOwn)
{
    char helpProgram[MAX_PATH];
    GetWindowsDirectoryA(helpProgram, MAX_PATH);
    lstrcatA(helpProgram, "\\winhlp32.exe");
    HMODULE module = LoadLibraryExA(helpProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const bool helpHasHand = module && LoadCursorA(module, MAKEINTRESOURCEA(106));
    if (module)
        FreeLibrary(module);
    if (helpHasHand)
        GTEST_SKIP() << "the help program holds the hand cursor here";

    HWND control = window.AddStatic("Hand", Left, { 10, 10, 300, 30 });
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(control));
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(TRUE, SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), GetCursor());
}
