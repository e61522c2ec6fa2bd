#pragma once
#include <windows.h>
#include <string>

// A top-level popup window of the stage: registers its class on first use, routes the
// window's messages to the object and destroys the window with the object.
class StageWindow {
public:
    StageWindow() = default;
    virtual ~StageWindow();
    StageWindow(const StageWindow&) = delete;
    StageWindow& operator=(const StageWindow&) = delete;

    HWND Handle() const { return window_; }
    bool IsVisible() const { return window_ && ::IsWindowVisible(window_); }
    // Shows the window without taking the focus from the caller's window.
    void Show();
    void Hide();
    // Brings a shown window back in front of windows opened after it: a topmost window
    // stays first in the window order, but a window system may still draw a window
    // opened later over it until it is put in front again.
    void KeepInFront();

protected:
    // Creates the window hidden: topmost, without a taskbar button, never activated.
    bool CreatePopup(const char* className, DWORD extraStyle, const RECT& rect, std::string& error);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
