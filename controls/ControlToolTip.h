#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

// A tool-tip window for one control, with one tool of a fixed id over a rectangle of the
// control. The control relays its mouse messages, so that the tip works inside the modal
// loops of dialogs too, which translate no messages of ours.
class ControlToolTip {
public:
    explicit ControlToolTip(UINT toolId) : toolId_(toolId) {}
    ~ControlToolTip() { Destroy(); }
    ControlToolTip(const ControlToolTip&) = delete;
    ControlToolTip& operator=(const ControlToolTip&) = delete;

    // The tip window, inactive and without a tool; false when it cannot be made.
    bool Create(HWND control);
    void Destroy();
    bool Exists() const { return window_ != nullptr; }

    // Adds the tool over the control's client area, or gives it the text when it is there.
    bool SetTool(const std::string& text);
    void RemoveTool();
    bool HasTool() const;
    void SetToolRect(const RECT& rect);
    void Activate(bool active);
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);

private:
    TOOLINFOA Tool() const;

    UINT toolId_;
    HWND control_ = nullptr;
    HWND window_ = nullptr;
};
