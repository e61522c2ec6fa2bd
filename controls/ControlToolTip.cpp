#include "controls/ControlToolTip.h"

bool ControlToolTip::Create(HWND control)
{
    if (window_)
        return true;
    if (!control)
        return false;
    window_ = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr, nullptr, nullptr);
    if (!window_)
        return false;
    control_ = control;
    return true;
}

void ControlToolTip::Destroy()
{
    if (!window_)
        return;
    RemoveTool();
    ::DestroyWindow(window_);
    window_ = nullptr;
    control_ = nullptr;
}

TOOLINFOA ControlToolTip::Tool() const
{
    TOOLINFOA tool{};
    // The size every version of the common controls accepts.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = control_;
    tool.uId = toolId_;
    return tool;
}

bool ControlToolTip::HasTool() const
{
    TOOLINFOA tool = Tool();
    return window_ && ::SendMessageA(window_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool ControlToolTip::SetTool(const std::string& text)
{
    if (!window_)
        return false;
    TOOLINFOA tool = Tool();
    tool.lpszText = const_cast<char*>(text.c_str());
    if (HasTool()) {
        ::SendMessageA(window_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        return true;
    }
    ::GetClientRect(control_, &tool.rect);
    return ::SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void ControlToolTip::RemoveTool()
{
    if (!window_)
        return;
    TOOLINFOA tool = Tool();
    ::SendMessageA(window_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ControlToolTip::SetToolRect(const RECT& rect)
{
    if (!window_)
        return;
    TOOLINFOA tool = Tool();
    tool.rect = rect;
    ::SendMessageA(window_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ControlToolTip::Activate(bool active)
{
    if (window_)
        ::SendMessageA(window_, TTM_ACTIVATE, active, 0);
}

void ControlToolTip::Relay(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window_ || message < WM_MOUSEFIRST || message > WM_MOUSELAST)
        return;
    MSG relayed = { control_, message, wParam, lParam, 0, { 0, 0 } };
    ::SendMessageA(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}
