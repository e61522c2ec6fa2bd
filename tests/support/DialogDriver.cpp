#include "support/DialogDriver.h"
#include "support/WindowText.h"
#include "framework/Dialog.h"
#include <gtest/gtest.h>

namespace {
thread_local DialogDriver* current = nullptr;

HWND Control(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        ADD_FAILURE() << "dialog \"" << WindowText(dialog) << "\" has no control " << controlId;
    return control;
}
}

DialogDriver::DialogDriver()
    : outer(current),
      hook(SetWindowsHookExA(WH_CBT, &DialogDriver::CbtHook, nullptr, GetCurrentThreadId()))
{
    if (!hook)
        ADD_FAILURE() << "SetWindowsHookEx(WH_CBT) failed with error " << GetLastError();
    current = this;
}

DialogDriver::~DialogDriver()
{
    if (hook)
        UnhookWindowsHookEx(hook);
    for (const auto& entry : scheduled)
        KillTimer(nullptr, entry.first);
    current = outer;
    for (const auto& entry : actions) {
        if (!entry.second.empty())
            ADD_FAILURE() << entry.second.size() << " action(s) for dialog " << entry.first
                          << " never ran";
    }
}

void DialogDriver::On(UINT templateId, Action action)
{
    actions[templateId].push_back(std::move(action));
}

LRESULT CALLBACK DialogDriver::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (current) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE)
            current->OnActivate(window);
        else if (code == HCBT_DESTROYWND)
            current->handled.erase(window);   // the handle may come back for a new window
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Activation comes from inside the call that creates the dialog; a timer runs the
// action once the dialog's modal loop is dispatching and has put the dialog on screen
// (the loop shows it only when it first runs out of messages).
void DialogDriver::OnActivate(HWND window)
{
    if (!IsDialogClass(window) || handled.count(window))
        return;
    const CDialog* dialog = CDialog::FromHandle(window);
    if (!dialog)
        return;
    handled.insert(window);
    const UINT templateId = dialog->GetTemplateId();
    seen.push_back(templateId);

    auto queue = actions.find(templateId);
    if (queue == actions.end() || queue->second.empty()) {
        ADD_FAILURE() << "dialog " << templateId << " (\"" << WindowText(window)
                      << "\") appeared with no action for it; cancelled";
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    Schedule(Scheduled{ window, templateId, std::move(queue->second.front()), GetTickCount() }, 0);
    queue->second.pop_front();
}

void DialogDriver::Schedule(Scheduled task, UINT delay)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, delay, &DialogDriver::RunScheduled);
    if (!timer) {
        ADD_FAILURE() << "SetTimer failed with error " << GetLastError();
        return;
    }
    scheduled[timer] = std::move(task);
}

void CALLBACK DialogDriver::RunScheduled(HWND, UINT, UINT_PTR timerId, DWORD)
{
    // A dialog that hides itself on purpose still gets its action after a while.
    constexpr DWORD ShowPatience = 10000;

    KillTimer(nullptr, timerId);
    if (!current)
        return;
    auto entry = current->scheduled.find(timerId);
    if (entry == current->scheduled.end())
        return;
    Scheduled task = std::move(entry->second);
    current->scheduled.erase(entry);
    if (!IsWindow(task.dialog)) {
        ADD_FAILURE() << "dialog " << task.templateId << " closed before its action ran";
        return;
    }
    if (!IsWindowVisible(task.dialog) && GetTickCount() - task.since < ShowPatience) {
        current->Schedule(std::move(task), 10);
        return;
    }
    task.action(task.dialog);
}

void DialogDriver::SetText(HWND dialog, int controlId, const std::string& text)
{
    if (HWND control = Control(dialog, controlId)) {
        if (!SetWindowTextA(control, text.c_str()))
            ADD_FAILURE() << "setting the text of control " << controlId << " failed";
    }
}

void DialogDriver::Type(HWND dialog, int editId, const std::string& text)
{
    if (HWND edit = Control(dialog, editId)) {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

std::string DialogDriver::GetText(HWND dialog, int controlId)
{
    HWND control = Control(dialog, controlId);
    return control ? WindowText(control) : std::string();
}

void DialogDriver::Click(HWND dialog, int controlId)
{
    HWND control = Control(dialog, controlId);
    if (!control)
        return;
    if (!IsWindowEnabled(control)) {
        ADD_FAILURE() << "control " << controlId << " of dialog \"" << WindowText(dialog)
                      << "\" is disabled and cannot be clicked";
        return;
    }
    SendMessageA(control, BM_CLICK, 0, 0);
}

void DialogDriver::Command(HWND dialog, int commandId)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, commandId)));
}

void DialogDriver::PressKey(HWND dialog, WPARAM key)
{
    HWND focus = GetFocus();
    EXPECT_NE(nullptr, focus) << "a key pressed with the focus nowhere";
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    for (const MSG& pressed : { MSG{ focus, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)), 0, {} },
                                MSG{ focus, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u), 0, {} } }) {
        MSG message = pressed;
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // The characters the key made go the same way.
        while (PeekMessageA(&message, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE))
            if (!IsDialogMessageA(dialog, &message))
                DispatchMessageA(&message);
    }
}

bool DialogDriver::IsEnabled(HWND dialog, int controlId)
{
    HWND control = Control(dialog, controlId);
    return control && IsWindowEnabled(control);
}

bool DialogDriver::IsChecked(HWND dialog, int controlId)
{
    HWND control = Control(dialog, controlId);
    return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool DialogDriver::IsShown(HWND dialog, int controlId)
{
    HWND control = Control(dialog, controlId);
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}
