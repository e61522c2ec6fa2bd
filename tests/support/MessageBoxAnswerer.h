#pragma once
#include "framework/MessageBox.h"
#include <windows.h>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// What one message box showed: text and caption as read from the box itself, owner and
// flags as the program passed them.
struct RecordedMessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
    // Where the box stood on the screen.
    RECT window;
};

// Answers and records the message boxes that the calling thread shows through
// ShowMessageBox while it lives. Boxes take the queued buttons in order, IDOK once the
// queue is empty. Only a box just announced by ShowMessageBox is touched, so the
// program's own dialogs (the same window class) are left alone.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Queues the button (IDOK, IDYES, IDNO, IDCANCEL) that answers the next box.
    void Answer(int button);

    const std::vector<RecordedMessageBox>& Boxes() const { return boxes; }

private:
    struct Announcement {
        HWND owner;
        std::string caption;
        UINT flags;
    };

    static void Announce(HWND owner, const std::string& text, const std::string& caption, UINT flags);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);
    int TakeButton(HWND box, const std::string& text);

    MessageBoxAnswerer* outer;
    MessageBoxObserver previousObserver;
    HHOOK hook;
    std::optional<Announcement> pending;
    std::deque<int> answers;
    std::vector<RecordedMessageBox> boxes;
};
