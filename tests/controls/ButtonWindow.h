#pragma once
#include "framework/Wnd.h"
#include <functional>
#include <string>
#include <vector>

// A shown top-level window of the framework holding owner-drawn buttons as a dialog holds
// them. It records the notifications and clicks its buttons send, and answers the
// notifications as the test says.
class ButtonWindow : public CWnd {
public:
    ButtonWindow();

    // An owner-drawn button with the dialog font at rect, in client coordinates.
    HWND AddButton(const std::string& text, DWORD style, const RECT& rect, int id);

    struct Notification {
        UINT_PTR id;
        UINT code;
    };
    std::vector<Notification> notifications;
    int clicks = 0;
    // The answer to each notification; 0 unless set.
    std::function<LRESULT(const NMHDR&)> answer;

protected:
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
};
