#include "stage/StageWindow.h"

StageWindow::~StageWindow()
{
    if (window_)
        ::DestroyWindow(window_);
}

void StageWindow::Show()
{
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void StageWindow::KeepInFront()
{
    if (!IsVisible())
        return;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // A window already first in the window order would not move, and a window drawn
    // over it would stay there: it steps behind the topmost windows and back in front.
    if (!::GetWindow(window_, GW_HWNDPREV))
        ::SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

void StageWindow::Hide()
{
    ::ShowWindow(window_, SW_HIDE);
}

bool StageWindow::CreatePopup(const char* className, DWORD extraStyle, const RECT& rect, std::string& error)
{
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!::GetClassInfoExA(instance, className, &windowClass)) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = className;
        if (!::RegisterClassExA(&windowClass)) {
            error = "could not register the window class " + std::string(className) + " (error " +
                    std::to_string(::GetLastError()) + ")";
            return false;
        }
    }
    ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | extraStyle, className, "", WS_POPUP,
                      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                      instance, this);
    if (!window_) {
        error = "could not create a " + std::string(className) + " window (error " +
                std::to_string(::GetLastError()) + ")";
        return false;
    }
    return true;
}

LRESULT StageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A click must not take the focus from the program the character stands in front of.
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK StageWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<StageWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<StageWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}
