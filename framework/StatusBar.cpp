#include "framework/StatusBar.h"
#include "framework/FrameworkIds.h"
#include "framework/ResourceString.h"
#include <commctrl.h>

bool CStatusBar::Create(CWnd* parent, UINT id)
{
    const RECT none = { 0, 0, 0, 0 };
    return CreateEx(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM | CCS_NORESIZE, none,
                    parent->m_hWnd, id);
}

bool CStatusBar::SetIndicators(const std::vector<UINT>& ids)
{
    ids_ = ids;
    indicatorTexts_.clear();
    for (UINT id : ids)
        indicatorTexts_.push_back(id ? LoadResourceString(id) : std::string());
    SizePanes();
    return true;
}

void CStatusBar::SizePanes()
{
    if (ids_.empty())
        return;
    RECT client;
    GetClientRect(&client);
    // Indicator panes are as wide as their text with a margin; the message pane takes the rest.
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    std::vector<int> widths(ids_.size());
    int total = ::GetSystemMetrics(SM_CXVSCROLL);  // room for the size grip
    for (size_t i = ids_.size(); i-- > 1;) {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, indicatorTexts_[i].c_str(), static_cast<int>(indicatorTexts_[i].size()), &size);
        widths[i] = size.cx + 12;
        total += widths[i];
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    std::vector<int> edges(ids_.size());
    int right = client.right - total;
    if (right < 0)
        right = 0;
    edges[0] = right;
    for (size_t i = 1; i < ids_.size(); ++i) {
        right += widths[i];
        edges[i] = right;
    }
    edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::SetPaneText(int index, const std::string& text)
{
    SendMessage(SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CStatusBar::GetPaneText(int index) const
{
    const LRESULT length = LOWORD(SendMessage(SB_GETTEXTLENGTHA, index));
    std::string text(length + 1, '\0');
    SendMessage(SB_GETTEXTA, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

void CStatusBar::PlaceIn(RECT& remaining)
{
    if (!IsWindowVisible())
        return;
    RECT own;
    GetWindowRect(&own);
    // The control knows its own height from its font.
    int height = own.bottom - own.top;
    if (height <= 0) {
        TEXTMETRICA metrics{};
        HDC dc = ::GetDC(m_hWnd);
        ::GetTextMetricsA(dc, &metrics);
        ::ReleaseDC(m_hWnd, dc);
        height = metrics.tmHeight + 8;
    }
    ::SetWindowPos(m_hWnd, nullptr, remaining.left, remaining.bottom - height, remaining.right - remaining.left, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    remaining.bottom -= height;
    SizePanes();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd*)
{
    for (size_t i = 1; i < ids_.size(); ++i) {
        int key = 0;
        switch (ids_[i]) {
        case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
        case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
        case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
        }
        const bool on = key && (::GetKeyState(key) & 1);
        const std::string text = on ? indicatorTexts_[i] : std::string();
        if (GetPaneText(static_cast<int>(i)) != text)
            SetPaneText(static_cast<int>(i), text);
    }
}
