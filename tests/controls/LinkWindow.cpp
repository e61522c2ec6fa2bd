#include "LinkWindow.h"
#include "support/StaticColour.h"
#include <gtest/gtest.h>

BEGIN_MESSAGE_MAP(LinkWindow, CWnd)
    ON_CONTROL(STN_CLICKED, ClickedId, OnClicked)
END_MESSAGE_MAP()

LinkWindow::LinkWindow()
{
    const RECT place = { 40, 40, 520, 340 };
    if (!CreateEx(0, nullptr, "Links", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, nullptr, 0))
        ADD_FAILURE() << "could not create the test window: error " << GetLastError();
}

HWND LinkWindow::AddStatic(const std::string& text, DWORD style, const RECT& rect, int id, bool withFont)
{
    HWND control = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (!control)
        ADD_FAILURE() << "could not create a static control: error " << GetLastError();
    else if (withFont)
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

COLORREF LinkWindow::TextColour(HWND control)
{
    return LinkTextColour(m_hWnd, control);
}

RECT LinkWindow::Bounds(HWND control) const
{
    RECT bounds;
    ::GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

RECT LinkWindow::ClientBounds(HWND control)
{
    RECT client;
    ::GetClientRect(control, &client);
    return client;
}

namespace {
struct ToolTipSearch {
    HWND control;
    UINT toolId;
    std::string text;
    bool found;
};

// Tool tips belong to the top-level window; the one with the control's tool is its own.
BOOL CALLBACK ReadToolTip(HWND window, LPARAM data)
{
    ToolTipSearch* search = reinterpret_cast<ToolTipSearch*>(data);
    char name[32];
    if (!GetClassNameA(window, name, sizeof(name)) || lstrcmpiA(name, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    char text[512] = "";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = search->control;
    tool.uId = search->toolId;
    tool.lpszText = text;
    if (!SendMessageA(window, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
        return TRUE;
    // Newer common controls take the buffer size, older ones ignore it.
    SendMessageA(window, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    search->text = text;
    search->found = true;
    return FALSE;
}

ToolTipSearch FindToolTip(HWND control, UINT toolId)
{
    ToolTipSearch search = { control, toolId, std::string(), false };
    EnumThreadWindows(GetCurrentThreadId(), &ReadToolTip, reinterpret_cast<LPARAM>(&search));
    return search;
}
}

std::string LinkWindow::ToolTipText(HWND control, UINT toolId)
{
    const ToolTipSearch search = FindToolTip(control, toolId);
    if (!search.found)
        ADD_FAILURE() << "the control has no tool tip";
    return search.text;
}

bool LinkWindow::HasToolTip(HWND control, UINT toolId)
{
    return FindToolTip(control, toolId).found;
}

LOGFONTA LinkWindow::FontOf(HWND control)
{
    LOGFONTA attributes{};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    if (!font || !GetObjectA(font, sizeof(attributes), &attributes))
        ADD_FAILURE() << "the control has no font";
    return attributes;
}
