#include "support/MessageBoxAnswerer.h"
#include "support/WindowText.h"
#include <gtest/gtest.h>

namespace {
thread_local MessageBoxAnswerer* current = nullptr;
const int TextControlId = 0xFFFF;
}

MessageBoxAnswerer::MessageBoxAnswerer()
    : outer(current),
      previousObserver(SetMessageBoxObserver(&MessageBoxAnswerer::Announce)),
      hook(SetWindowsHookExA(WH_CBT, &MessageBoxAnswerer::CbtHook, nullptr, GetCurrentThreadId()))
{
    if (!hook)
        ADD_FAILURE() << "SetWindowsHookEx(WH_CBT) failed with error " << GetLastError();
    current = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    if (hook)
        UnhookWindowsHookEx(hook);
    SetMessageBoxObserver(previousObserver);
    current = outer;
    if (!answers.empty())
        ADD_FAILURE() << answers.size() << " queued message box answer(s) never used";
}

void MessageBoxAnswerer::Answer(int button)
{
    answers.push_back(button);
}

void MessageBoxAnswerer::Announce(HWND owner, const std::string&, const std::string& caption, UINT flags)
{
    if (current)
        current->pending = Announcement{ owner, caption, flags };
}

LRESULT CALLBACK MessageBoxAnswerer::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && current)
        current->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The box is fully set up when it is first activated; the answer is posted so that it
// arrives in the box's own modal loop. Clearing the announcement makes this happen
// once per box, however often the box is activated again.
void MessageBoxAnswerer::OnActivate(HWND window)
{
    if (!pending || !IsDialogClass(window) || WindowText(window) != pending->caption)
        return;
    RecordedMessageBox box{ pending->owner, WindowText(GetDlgItem(window, TextControlId)),
                            WindowText(window), pending->flags, {} };
    GetWindowRect(window, &box.window);
    pending.reset();
    const int button = TakeButton(window, box.text);
    boxes.push_back(box);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}

// A button the box lacks would leave it open until the test times out: report it and
// close the box with a button it has.
int MessageBoxAnswerer::TakeButton(HWND box, const std::string& text)
{
    int button = IDOK;
    if (!answers.empty()) {
        button = answers.front();
        answers.pop_front();
    }
    if (GetDlgItem(box, button))
        return button;
    ADD_FAILURE() << "message box \"" << text << "\" has no button " << button;
    for (int fallback : { IDCANCEL, IDNO, IDOK, IDABORT }) {
        if (GetDlgItem(box, fallback))
            return fallback;
    }
    return IDCANCEL;
}
