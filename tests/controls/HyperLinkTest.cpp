#include "LinkWindow.h"
#include "controls/HyperLinkDL.h"
#include "controls/LinkColours.h"
#include "framework/DataExchange.h"
#include "support/RecordingBrowser.h"
#include "support/WindowText.h"
#include <algorithm>
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

void Press(HWND control) { SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2)); }
void Release(HWND control) { SendMessageA(control, WM_LBUTTONUP, 0, Point(2, 2)); }

int TextWidth(HWND control)
{
    const std::string text = WindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent.cx;
}

// How far from the left the control's text leaves ink, drawn unclipped in its font.
int InkWidth(HWND control)
{
    const std::string text = WindowText(control);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const int width = TextWidth(control) + 40;
    const int height = 40;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT all = { 0, 0, width, height };
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    int ink = 0;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (GetPixel(dc, x, y) != RGB(255, 255, 255))
                ink = x + 1;
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ink;
}

// The link's client area holds all the ink of its text and little more.
void ExpectFitted(HWND control)
{
    const int client = LinkWindow::ClientBounds(control).right;
    EXPECT_GE(client, InkWidth(control)) << WindowText(control);
    EXPECT_LE(client, TextWidth(control) + 4) << WindowText(control);
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
}

TEST_F(HyperLinkTest, UnderlineFollowsTheStyleOnACopyOfTheDialogFont)
{
    HWND control = window.AddStatic("Home page", Left, { 10, 10, 300, 30 }, 301);
    CDataExchange dx(&window, false);
    CHyperLink link;
    DDX_Control(&dx, 301, link);
    ASSERT_EQ(control, link.m_hWnd);
    EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    EXPECT_TRUE(LinkWindow::FontOf(control).lfUnderline);

    EXPECT_TRUE(link.ChangeLinkStyle(LinkUnderline, 0));
    EXPECT_FALSE(LinkWindow::FontOf(control).lfUnderline);
    EXPECT_FALSE(link.ChangeLinkStyle(LinkUnderline, LinkHoverColour));
    EXPECT_TRUE(link.ChangeLinkStyle(0, LinkUnderline));
    EXPECT_TRUE(LinkWindow::FontOf(control).lfUnderline);
}

TEST_F(HyperLinkTest, FittingToTheTextKeepsTheEdgeTheAlignmentNames)
{
    HWND left = window.AddStatic("Fit me", Left | WS_BORDER, { 100, 10, 400, 50 });
    HWND right = window.AddStatic("Fit me", SS_RIGHT, { 100, 60, 400, 100 });
    HWND centred = window.AddStatic("Fit me", SS_CENTER | SS_CENTERIMAGE, { 100, 110, 400, 150 });
    CHyperLink links[3];
    ASSERT_TRUE(links[0].SubclassWindow(left) && links[1].SubclassWindow(right) && links[2].SubclassWindow(centred));

    // The text fills the client area; a border stays around it.
    ExpectFitted(left);
    EXPECT_EQ(100, window.Bounds(left).left);
    EXPECT_EQ(400, window.Bounds(right).right);
    ExpectFitted(right);
    const RECT middle = window.Bounds(centred);
    EXPECT_NEAR(250, (middle.left + middle.right) / 2, 1);
    EXPECT_NEAR(130, (middle.top + middle.bottom) / 2, 1);
    ExpectFitted(centred);

    links[1].SetLinkText("Fit me to a longer text");
    EXPECT_EQ(400, window.Bounds(right).right);
    ExpectFitted(right);
    EXPECT_TRUE(IsWindowVisible(right));
}

TEST_F(HyperLinkTest, AFittedLinkKeepsTheEdgeOfItsLastGlyph)
{
    // The update dialog's font, whose smoothed ")" reaches past the text's advance.
    LOGFONTA attributes{};
    attributes.lfHeight = -11;
    attributes.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(attributes.lfFaceName, "MS Sans Serif");
    HFONT font = CreateFontIndirectA(&attributes);
    ASSERT_NE(nullptr, font);
    CHyperLink links[3];
    const char* texts[] = { "View News (updated Mar 3, 2026)", "Download the update (19.3 MB)", "Fit me" };
    for (int i = 0; i < 3; ++i) {
        HWND control = window.AddStatic(texts[i], Left, { 10, 10 + 30 * i, 390, 30 + 30 * i }, 0, false);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ASSERT_TRUE(links[i].SubclassWindow(control));
        ExpectFitted(control);
    }
    DeleteObject(font);
}

TEST_F(HyperLinkTest, ALinkIsFittedToTheInkOfTheFontItIsDrawnWith)
{
    // A font whose glyphs reach well past their advance, as the wider faces Wine puts
    // in place of missing ones do: the link's last letter stays whole.
    LOGFONTA attributes{};
    attributes.lfHeight = -20;
    attributes.lfItalic = TRUE;
    attributes.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(attributes.lfFaceName, "MS Shell Dlg");
    HFONT font = CreateFontIndirectA(&attributes);
    ASSERT_NE(nullptr, font);
    CHyperLink links[2];
    const char* texts[] = { "Zentorix LLC", "www.parlacard.example/fff" };
    for (int i = 0; i < 2; ++i) {
        HWND control = window.AddStatic(texts[i], Left, { 10, 10 + 40 * i, 460, 40 + 40 * i }, 0, false);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ASSERT_TRUE(links[i].SubclassWindow(control));
        const int client = LinkWindow::ClientBounds(control).right;
        EXPECT_GE(client, InkWidth(control)) << texts[i];
        EXPECT_LE(client, std::max(InkWidth(control), TextWidth(control)) + 4) << texts[i];
    }
    DeleteObject(font);
}

TEST_F(HyperLinkTest, ColoursFollowHoverFocusAndVisits)
{
    HWND control = window.AddStatic("Colours", Left, { 10, 10, 300, 30 }, LinkWindow::ClickedId);
    CHyperLinkDL link;
    ASSERT_TRUE(link.SubclassWindow(control));
    ASSERT_TRUE(link.ChangeLinkStyle(0, LinkHoverColour));
    EXPECT_EQ(initial.normal, window.TextColour(control));

    // The link holds the capture while the pointer is over it.
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(3, 3));
    EXPECT_EQ(control, GetCapture());
    EXPECT_EQ(initial.hover, window.TextColour(control));
    SendMessageA(control, WM_MOUSEMOVE, 0, Point(3, 500));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(initial.normal, window.TextColour(control));

    // A click focuses the link and tells the window; the visit shows once the focus goes.
    Press(control);
    Release(control);
    EXPECT_EQ(1, window.clicks);
    EXPECT_EQ(initial.active, window.TextColour(control));
    SetFocus(window.m_hWnd);
    EXPECT_EQ(initial.visited, window.TextColour(control));

    // New colours reach the links already shown and those shown later.
    LinkColours changed = initial;
    changed.visited = RGB(0, 0, 128);
    SetLinkColours(changed);
    CHyperLinkDL later;
    HWND laterControl = window.AddStatic("Later", Left, { 10, 50, 300, 70 });
    ASSERT_TRUE(later.SubclassWindow(laterControl));
    later.ActivateLink();
    EXPECT_EQ(RGB(0, 0, 128), window.TextColour(control));
    EXPECT_EQ(RGB(0, 0, 128), window.TextColour(laterControl));
}

TEST_F(HyperLinkTest, ActivatesOnReleaseAfterAPressOrOnSpace)
{
    HWND control = window.AddStatic("Activate", Left, { 10, 10, 300, 30 });
    CountingLink link;
    ASSERT_TRUE(link.SubclassWindow(control));
    EXPECT_EQ(HTCLIENT, SendMessageA(control, WM_NCHITTEST, 0, 0));

    Release(control);
    EXPECT_EQ(0, link.activations) << "a release without a press";
    Press(control);
    EXPECT_EQ(0, link.activations);
    EXPECT_EQ(control, GetFocus());
    Release(control);
    EXPECT_EQ(1, link.activations);

    SendMessageA(control, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(control, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(control, WM_KEYDOWN, VK_TAB, 0);
    SendMessageA(control, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(3, link.activations);

    EXPECT_TRUE(link.ChangeLinkStyle(LinkFocusOnClick, LinkActivateOnPress));
    SetFocus(window.m_hWnd);
    Press(control);
    EXPECT_EQ(4, link.activations);
    EXPECT_EQ(window.m_hWnd, GetFocus());
    Release(control);
    EXPECT_EQ(4, link.activations);
}

TEST_F(HyperLinkTest, TheDialogHearsOfAKeyAsOfAClickAndEnterIsTheLinksOwn)
{
    HWND control = window.AddStatic("Keys", Left, { 10, 10, 300, 30 }, LinkWindow::ClickedId);
    CHyperLinkDL link;
    ASSERT_TRUE(link.SubclassWindow(control));
    SendMessageA(control, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(control, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(2, window.clicks);

    // A dialog manager asking about Enter hears that the link takes it; other keys are
    // the dialog's, Tab among them.
    MSG enter = { control, WM_KEYDOWN, VK_RETURN, 0, 0, {} };
    EXPECT_NE(0, SendMessageA(control, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE);
    MSG tab = { control, WM_KEYDOWN, VK_TAB, 0, 0, {} };
    EXPECT_EQ(0, SendMessageA(control, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) &
                     (DLGC_WANTMESSAGE | DLGC_WANTTAB | DLGC_WANTALLKEYS));
}

TEST_F(HyperLinkTest, AFocusedLinkShowsADottedFrameThatGoesWithTheFocus)
{
    HWND control = window.AddStatic("Focus frame", Left, { 10, 10, 300, 30 });
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(control));
    // The frame's top edge lies above the glyphs: count its dots in the link's colour.
    const auto dotsOnTop = [&](COLORREF colour) {
        UpdateWindow(window.m_hWnd);
        const RECT client = LinkWindow::ClientBounds(control);
        HDC dc = GetDC(control);
        int dots = 0;
        for (int x = 0; x < client.right; ++x)
            dots += GetPixel(dc, x, 0) == colour ? 1 : 0;
        ReleaseDC(control, dc);
        return dots;
    };
    LinkColours colours;
    GetLinkColours(colours);
    const int width = LinkWindow::ClientBounds(control).right;

    SetFocus(control);
    const int focused = dotsOnTop(colours.active);
    EXPECT_GE(focused, width / 2 - 1);
    EXPECT_LE(focused, width / 2 + 1) << "every other pixel";
    // Painted again, the frame stays as it was.
    InvalidateRect(control, nullptr, FALSE);
    EXPECT_EQ(focused, dotsOnTop(colours.active));

    SetFocus(window.m_hWnd);
    EXPECT_EQ(0, dotsOnTop(colours.active));
    EXPECT_EQ(0, dotsOnTop(colours.normal));
}

TEST_F(HyperLinkTest, OnlyThePlainLinkOpensItsAddress)
{
    RecordingBrowser browser;
    HWND plainControl = window.AddStatic("Open", Left, { 10, 10, 300, 30 });
    HWND dialogControl = window.AddStatic("Mark", Left, { 10, 50, 300, 70 });
    CHyperLink plain;
    CHyperLinkDL forDialog;
    plain.SetLinkUrl("http://www.parlacard.example/open");
    forDialog.SetLinkUrl("http://www.parlacard.example/not-opened");
    ASSERT_TRUE(plain.SubclassWindow(plainControl) && forDialog.SubclassWindow(dialogControl));

    forDialog.ActivateLink();
    plain.ActivateLink();
    EXPECT_EQ(std::vector<std::string>{ "http://www.parlacard.example/open" }, browser.WaitForAddresses(2, 1000));
    EXPECT_EQ(initial.visited, window.TextColour(plainControl));
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
