#include "ButtonWindow.h"
#include <gtest/gtest.h>

ButtonWindow::ButtonWindow()
{
    const RECT place = { 40, 40, 520, 340 };
    if (!CreateEx(0, nullptr, "Buttons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, nullptr, 0))
        ADD_FAILURE() << "could not create the test window: error " << GetLastError();
}

HWND ButtonWindow::AddButton(const std::string& text, DWORD style, const RECT& rect, int id)
{
    HWND button = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW | style,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (!button)
        ADD_FAILURE() << "could not create a button: error " << GetLastError();
    else
        ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return button;
}

bool ButtonWindow::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    notifications.push_back({ header->idFrom, header->code });
    *result = answer ? answer(*header) : 0;
    return true;
}

bool ButtonWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
        ++clicks;
    return CWnd::OnCommand(wParam, lParam);
}
