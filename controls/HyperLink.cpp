#include "controls/HyperLink.h"
#include "controls/BrowserLaunch.h"
#include "controls/LinkColours.h"
#include <algorithm>

namespace {
// Shared by every link of the process and never freed.
HCURSOR handCursor = nullptr;

void LoadHandCursor()
{
    if (handCursor)
        return;
    char folder[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const std::string helpProgram = std::string(folder) + "\\winhlp32.exe";
        if (HMODULE module = ::LoadLibraryExA(helpProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            // Our own copy: the original goes with the module.
            if (HCURSOR cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(106)))
                handCursor = CopyCursor(cursor);
            ::FreeLibrary(module);
        }
    }
    // Current help programs hold no cursors; the system has a hand cursor of its own.
    if (!handCursor)
        handCursor = ::LoadCursor(nullptr, IDC_HAND);
}

// How far the text leaves ink when drawn in the font selected into dc: smoothed glyphs,
// and the wider fonts Wine puts in place of missing ones, reach a pixel or several past
// the advance the fonts' metrics report, and a link cut there loses its last letter.
LONG InkWidth(HDC dc, const std::string& text, SIZE extent)
{
    if (text.empty())
        return 0;
    const LONG width = extent.cx + extent.cy + 8;
    const LONG height = extent.cy;
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(dc, width, height) : nullptr;
    LONG ink = 0;
    if (bitmap) {
        HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
        HGDIOBJ oldFont = ::SelectObject(memory, ::GetCurrentObject(dc, OBJ_FONT));
        const RECT all = { 0, 0, width, height };
        ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SetTextColor(memory, RGB(0, 0, 0));
        ::SetBkMode(memory, TRANSPARENT);
        ::TextOutA(memory, 0, 0, text.c_str(), static_cast<int>(text.size()));
        for (LONG x = width - 1; x >= 0 && !ink; --x)
            for (LONG y = 0; y < height && !ink; ++y)
                if (::GetPixel(memory, x, y) != RGB(255, 255, 255))
                    ink = x + 1;
        ::SelectObject(memory, oldFont);
        ::SelectObject(memory, oldBitmap);
        ::DeleteObject(bitmap);
    }
    if (memory)
        ::DeleteDC(memory);
    return ink;
}

bool FontAttributes(HFONT font, LOGFONTA& attributes)
{
    return font && ::GetObjectA(font, sizeof(attributes), &attributes) == sizeof(attributes);
}
}

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUiState)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

CHyperLink::~CHyperLink()
{
    if (m_hWnd) {
        // The control outlives this object: it must keep neither our tool tip nor our font.
        if (toolTip_)
            ::DestroyWindow(toolTip_);
        SendMessage(WM_SETFONT, 0, FALSE);
    }
    if (linkFont_)
        ::DeleteObject(linkFont_);
}

void CHyperLink::PreSubclassWindow()
{
    if (url_.empty())
        url_ = GetWindowText();
    if (GetWindowText().empty())
        SetWindowText(url_);

    LOGFONTA attributes;
    if (FontAttributes(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), attributes)) {
        attributes.lfUnderline = (style_ & LinkUnderline) ? TRUE : FALSE;
        SetLinkFont(attributes);
        FitToText();
    } else {
        // Without a font there is nothing to measure the text with.
        style_ &= ~LinkFitToText;
    }
    if (!(style_ & LinkNoHandCursor))
        LoadHandCursor();
    CreateToolTip();
    CStatic::PreSubclassWindow();
}

bool CHyperLink::ChangeLinkStyle(DWORD remove, DWORD add, bool apply)
{
    if ((remove & LinkUnderline) && add)
        return false;
    style_ = (style_ & ~remove) | add;
    if (!apply || !m_hWnd)
        return true;
    LOGFONTA attributes;
    if (((remove | add) & LinkUnderline) && FontAttributes(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), attributes)) {
        attributes.lfUnderline = (style_ & LinkUnderline) ? TRUE : FALSE;
        ApplyLinkFontAttributes(attributes);
    }
    if (add & LinkFitToText)
        FitToText();
    if (remove & LinkHoverColour)
        Invalidate();
    return true;
}

void CHyperLink::SetLinkUrl(const std::string& url)
{
    url_ = url;
    if (!m_hWnd)
        return;
    UpdateHidden([this] {
        FitToText();
        if (toolTip_) {
            TOOLINFOA tool = LinkTool();
            tool.lpszText = const_cast<char*>(url_.c_str());
            ::SendMessageA(toolTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    });
}

void CHyperLink::SetLinkText(const std::string& text)
{
    if (!m_hWnd)
        return;
    UpdateHidden([this, &text] {
        SetWindowText(text);
        FitToText();
        if (toolTip_) {
            TOOLINFOA tool = LinkTool();
            GetClientRect(&tool.rect);
            ::SendMessageA(toolTip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    });
}

void CHyperLink::ApplyLinkFont(HFONT font)
{
    LOGFONTA attributes;
    if (m_hWnd && FontAttributes(font, attributes))
        ApplyLinkFontAttributes(attributes);
}

void CHyperLink::ApplyLinkFontAttributes(const LOGFONTA& attributes)
{
    UpdateHidden([this, &attributes] {
        SetLinkFont(attributes);
        FitToText();
    });
}

bool CHyperLink::SetLinkFont(const LOGFONTA& attributes)
{
    HFONT font = ::CreateFontIndirectA(&attributes);
    if (!font)
        return false;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (linkFont_)
        ::DeleteObject(linkFont_);
    linkFont_ = font;
    return true;
}

void CHyperLink::UpdateHidden(const std::function<void()>& change)
{
    // A link the dialog keeps hidden stays hidden.
    const bool visible = (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible)
        ShowWindow(SW_HIDE);
    change();
    if (visible)
        ShowWindow(SW_SHOW);
}

void CHyperLink::FitToText()
{
    if (!(style_ & LinkFitToText) || !m_hWnd)
        return;
    RECT bounds;
    RECT client;
    GetWindowRect(&bounds);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&bounds), 2);
    GetClientRect(&client);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const int borderWidth = width - client.right;
    const int borderHeight = height - client.bottom;

    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    HGDIOBJ previous = linkFont_ ? ::SelectObject(dc, linkFont_) : nullptr;
    const std::string text = GetWindowText();
    SIZE extent = {};
    const bool measured = ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent) != FALSE;
    if (measured)
        extent.cx = std::max(extent.cx, InkWidth(dc, text, extent));
    if (previous)
        ::SelectObject(dc, previous);
    ::ReleaseDC(m_hWnd, dc);
    if (!measured)
        return;

    const LONG controlStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (controlStyle & SS_CENTERIMAGE)
        ::InflateRect(&bounds, 0, (height - extent.cy) / -2);
    else
        bounds.bottom = bounds.top + extent.cy;
    if (controlStyle & SS_CENTER)
        ::InflateRect(&bounds, (width - extent.cx) / -2, 0);
    else if (controlStyle & SS_RIGHT)
        bounds.left = bounds.right - extent.cx;
    else
        bounds.right = bounds.left + extent.cx;
    ::MoveWindow(m_hWnd, bounds.left, bounds.top, bounds.right - bounds.left + borderWidth,
                 bounds.bottom - bounds.top + borderHeight, TRUE);
}

void CHyperLink::ActivateLink()
{
    OpenUrlInBrowser(url_, true, true, true);
    MarkVisited();
}

void CHyperLink::MarkVisited()
{
    visited_ = true;
    Invalidate();
}

COLORREF CHyperLink::TextColour() const
{
    LinkColours colours;
    GetLinkColours(colours);
    if (mouseOver_ && (style_ & LinkHoverColour))
        return colours.hover;
    if (!(style_ & LinkNoActiveColour) && active_)
        return colours.active;
    return visited_ ? colours.visited : colours.normal;
}

HBRUSH CHyperLink::CtlColor(HDC dc)
{
    ::SetTextColor(dc, TextColour());
    // The parent's background shows through.
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

// The tool tip sees the pointer through the link itself, so that it works in the
// modal loops of dialogs as well, which translate no messages of ours.
LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (toolTip_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        MSG relayed = { m_hWnd, message, wParam, lParam, 0, { 0, 0 } };
        ::SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CHyperLink::CreateToolTip()
{
    toolTip_ = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (!toolTip_)
        return;
    TOOLINFOA tool = LinkTool();
    GetClientRect(&tool.rect);
    tool.lpszText = const_cast<char*>(url_.c_str());
    if (!::SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
        ::DestroyWindow(toolTip_);
        toolTip_ = nullptr;
    }
}

TOOLINFOA CHyperLink::LinkTool() const
{
    TOOLINFOA tool{};
    // The size every version of the common controls accepts.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = m_hWnd;
    tool.uId = 1;
    return tool;
}

LRESULT CHyperLink::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (mouseOver_) {
        const POINT point = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        RECT client;
        GetClientRect(&client);
        if (!::PtInRect(&client, point)) {
            mouseOver_ = false;
            ::ReleaseCapture();
            Invalidate();
        }
    } else {
        mouseOver_ = true;
        Invalidate();
        ::SetCapture(m_hWnd);
    }
    return 0;
}

// Capture taken away (another window activated, a message box) means the pointer is no
// longer tracked: without this the hover colour would stay until the next visit.
LRESULT CHyperLink::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (mouseOver_ && reinterpret_cast<HWND>(lParam) != m_hWnd) {
        mouseOver_ = false;
        Invalidate();
    }
    return Default();
}

LRESULT CHyperLink::OnLButtonDown(WPARAM, LPARAM)
{
    if (style_ & LinkFocusOnClick)
        ::SetFocus(m_hWnd);
    if (style_ & LinkActivateOnPress)
        ActivateLink();
    active_ = true;
    return Default();
}

LRESULT CHyperLink::OnLButtonUp(WPARAM, LPARAM)
{
    if (active_ && !(style_ & LinkActivateOnPress))
        ActivateLink();
    return Default();
}

LRESULT CHyperLink::OnSetFocus(WPARAM, LPARAM)
{
    active_ = true;
    RepaintWithBackground();
    return 0;
}

LRESULT CHyperLink::OnKillFocus(WPARAM, LPARAM)
{
    mouseOver_ = false;
    active_ = false;
    RepaintWithBackground();
    return 0;
}

LRESULT CHyperLink::OnKeyDown(WPARAM key, LPARAM)
{
    if (key != VK_SPACE && key != VK_RETURN)
        return Default();
    ActivateLink();
    // The dialog hears of a key as of a click: it is the dialog that acts on many links.
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & SS_NOTIFY)
        ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), STN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
    return 0;
}

// Enter would press the dialog's default button instead of opening the link.
LRESULT CHyperLink::OnGetDlgCode(WPARAM, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) && message->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
    return Default();
}

LRESULT CHyperLink::OnPaint(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    if (::GetFocus() == m_hWnd && !(SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS)) {
        if (HDC dc = ::GetDC(m_hWnd)) {
            DrawFocusCue(dc);
            ::ReleaseDC(m_hWnd, dc);
        }
    }
    return result;
}

// The dialog shows focus cues once the keyboard is used.
LRESULT CHyperLink::OnUpdateUiState(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    RepaintWithBackground();
    return result;
}

// Dotted in the link's colour, drawn over what is there rather than inverting it, so that
// painting the link again leaves it as it was.
void CHyperLink::DrawFocusCue(HDC dc) const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const LOGBRUSH ink = { BS_SOLID, TextColour(), 0 };
    HPEN pen = ::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &ink, 0, nullptr);
    if (!pen)
        return;
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::SetBkMode(dc, TRANSPARENT);
    ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void CHyperLink::RepaintWithBackground()
{
    HWND parent = GetParent();
    RECT bounds;
    GetWindowRect(&bounds);
    if (!parent) {
        Invalidate();
        return;
    }
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    ::RedrawWindow(parent, &bounds, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CHyperLink::OnSetCursor(WPARAM, LPARAM)
{
    if (!handCursor)
        return FALSE;
    ::SetCursor(handCursor);
    return TRUE;
}

// The tool tip belongs to the top-level window, which may well outlive the link.
LRESULT CHyperLink::OnDestroy(WPARAM, LPARAM)
{
    if (toolTip_) {
        ::DestroyWindow(toolTip_);
        toolTip_ = nullptr;
    }
    return Default();
}

LRESULT CHyperLink::OnNcHitTest(WPARAM, LPARAM)
{
    // A static is transparent to the mouse otherwise.
    return HTCLIENT;
}
