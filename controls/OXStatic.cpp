#include "controls/OXStatic.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(COXStatic, CStatic)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_SIZE, OnSize)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

COXStatic::COXStatic()
    : backgroundColour_(::GetSysColor(COLOR_BTNFACE)), textColour_(::GetSysColor(COLOR_WINDOWTEXT))
{
}

COXStatic::~COXStatic()
{
    // The control may outlive this object: it must keep neither our tip nor our font.
    toolTip_.Destroy();
    if (m_hWnd && textFont_)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_), FALSE);
    if (textFont_)
        ::DeleteObject(textFont_);
}

bool COXStatic::IsTextStatic(HWND control)
{
    switch (::GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        return true;
    default:
        return false;
    }
}

void COXStatic::PreSubclassWindow()
{
    windowFont_ = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    Initialise();
    CStatic::PreSubclassWindow();
}

void COXStatic::Initialise()
{
    lastRect_ = PlacementInParent();
    if (toolTip_.Create(m_hWnd)) {
        toolTip_.SetTool(toolTipText_);
        toolTip_.Activate(toolTipEnabled_);
    }
    UpdateToolTipText();
    if (!fontAdopted_ && AdoptWindowFont())
        fontAdopted_ = true;
}

bool COXStatic::SetStaticTextFont(const LOGFONTA* attributes, bool redraw)
{
    HFONT font = attributes ? ::CreateFontIndirectA(attributes) : nullptr;
    ReplaceTextFont(font);
    if (attributes && !font)
        return false;
    if (fitToText_)
        FitStaticToText();
    else if (redraw && m_hWnd)
        Invalidate();
    return true;
}

bool COXStatic::SetBoldGuiFont(bool redraw)
{
    LOGFONTA bold;
    if (::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(bold), &bold) != sizeof(bold))
        return false;
    bold.lfWeight = FW_BOLD;
    return SetStaticTextFont(&bold, redraw);
}

bool COXStatic::AdoptWindowFont()
{
    if (!IsTextStatic(m_hWnd))
        return true;
    HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTA attributes;
    if (!current || ::GetObjectA(current, sizeof(attributes), &attributes) != sizeof(attributes))
        return false;
    HFONT copy = ::CreateFontIndirectA(&attributes);
    if (!copy)
        return false;
    ReplaceTextFont(copy);
    if (fitToText_)
        FitStaticToText();
    return true;
}

// The static paints with its window font, whatever the colour request selects, so the
// caption font becomes the window's too.
void COXStatic::ReplaceTextFont(HFONT font)
{
    HFONT previous = textFont_;
    textFont_ = font;
    if (m_hWnd)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : windowFont_), FALSE);
    if (previous)
        ::DeleteObject(previous);
}

void COXStatic::SetTextColour(COLORREF colour)
{
    textColour_ = colour;
    if (m_hWnd)
        Invalidate();
}

void COXStatic::SetBackgroundColour(COLORREF colour)
{
    backgroundColour_ = colour;
    if (m_hWnd)
        Invalidate();
}

void COXStatic::SetFitToText(bool fit)
{
    fitToText_ = fit;
    if (fit)
        FitStaticToText();
}

void COXStatic::EnableStaticToolTip(bool enable)
{
    toolTipEnabled_ = enable;
    toolTip_.Activate(enable);
    UpdateToolTipText();
}

void COXStatic::SetStaticToolTipText(const std::string& text)
{
    toolTipText_ = text;
    customToolTipText_ = true;
    UpdateToolTipText();
}

void COXStatic::UpdateToolTipText()
{
    if (!toolTipEnabled_)
        return;
    if (!customToolTipText_)
        toolTipText_ = IsTextStatic(m_hWnd) ? GetWindowText() : std::string();
    toolTip_.SetTool(toolTipText_);
}

RECT COXStatic::PlacementInParent() const
{
    RECT rect;
    GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void COXStatic::FitStaticToText()
{
    if (!m_hWnd || !IsTextStatic(m_hWnd))
        return;
    RECT rect = lastRect_;
    if (fitToText_) {
        rect = PlacementInParent();
        HDC dc = ::GetDC(m_hWnd);
        if (!dc)
            return;
        HFONT font = textFont_ ? textFont_ : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
        const DWORD style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
        const std::string caption = GetWindowText();
        RECT text = {};
        ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                    DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
        if (previous)
            ::SelectObject(dc, previous);
        ::ReleaseDC(m_hWnd, dc);

        RECT parentClient;
        ::GetClientRect(GetParent(), &parentClient);
        RECT client;
        GetClientRect(&client);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        // A border stays around the text.
        const int fitWidth = std::min<int>(text.right, parentClient.right) + width - client.right;
        const int fitHeight = std::min<int>(text.bottom, parentClient.bottom) + height - client.bottom;
        if (style & SS_CENTERIMAGE)
            ::InflateRect(&rect, 0, (height - fitHeight) / -2);
        else
            rect.bottom = rect.top + fitHeight;
        const DWORD type = style & SS_TYPEMASK;
        if (type == SS_CENTER)
            ::InflateRect(&rect, (width - fitWidth) / -2, 0);
        else if (type == SS_RIGHT)
            rect.left = rect.right - fitWidth;
        else
            rect.right = rect.left + fitWidth;
    }
    const RECT tool = { 0, 0, rect.right - rect.left, rect.bottom - rect.top };
    toolTip_.SetToolRect(tool);
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, tool.right, tool.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH COXStatic::CtlColor(HDC dc)
{
    // Without the notify style a static lets the mouse through, and its tip never shows.
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        ::SetWindowLongA(m_hWnd, GWL_STYLE, style | SS_NOTIFY);
    if (!IsTextStatic(m_hWnd))
        return nullptr;
    if (textFont_)
        ::SelectObject(dc, textFont_);
    ::SetTextColor(dc, textColour_);
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT COXStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    toolTip_.Relay(message, wParam, lParam);
    return CStatic::WindowProc(message, wParam, lParam);
}

LRESULT COXStatic::OnEraseBkgnd(WPARAM wParam, LPARAM)
{
    if (backgroundColour_ == NoBackground)
        return TRUE;
    RECT client;
    GetClientRect(&client);
    if (HBRUSH brush = ::CreateSolidBrush(backgroundColour_)) {
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        ::DeleteObject(brush);
    }
    return TRUE;
}

LRESULT COXStatic::OnSetText(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    UpdateToolTipText();
    if (fitToText_)
        FitStaticToText();
    RedrawNow();
    return result;
}

LRESULT COXStatic::OnSize(WPARAM, LPARAM lParam)
{
    Default();
    if (fitToText_) {
        FitStaticToText();
        return 0;
    }
    lastRect_ = PlacementInParent();
    toolTip_.SetToolRect({ 0, 0, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) });
    RedrawNow();
    return 0;
}

// The tip belongs to the top-level window, which may well outlive the static.
LRESULT COXStatic::OnDestroy(WPARAM, LPARAM)
{
    toolTip_.Destroy();
    return Default();
}

void COXStatic::RedrawNow()
{
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
