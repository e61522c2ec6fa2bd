#include "KeyboardUser.h"
#include "support/KeyPresses.h"
#include <gtest/gtest.h>

namespace {

const int MaxTabs = 20;

} // namespace

HWND KeyboardUser::Focus(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string KeyboardUser::Describe(HWND control)
{
    if (!control)
        return "nothing";
    return "control " + std::to_string(GetDlgCtrlID(control)) + " \"" + ProgramWindows::Text(control) + "\"";
}

bool KeyboardUser::WaitForFocus(HWND control)
{
    if (ProgramWindows::WaitUntil([control] { return Focus(control) == control; }))
        return true;
    ADD_FAILURE() << "the focus stays on " << Describe(Focus(control)) << ", not on " << Describe(control);
    return false;
}

void KeyboardUser::Press(WORD key, std::initializer_list<WORD> held)
{
    PressKey(key, held);
}

void KeyboardUser::Type(HWND window, const std::string& text)
{
    HWND edit = Focus(window);
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        ASSERT_NE(-1, scan) << "no key types '" << c << "'";
        if (HIBYTE(scan) & 1)
            PressKey(LOBYTE(scan), { VK_SHIFT });
        else
            PressKey(LOBYTE(scan));
    }
    EXPECT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::Text(edit).find(text) != std::string::npos; }))
        << Describe(edit) << " holds \"" << ProgramWindows::Text(edit) << "\" after typing \"" << text << "\"";
}

void KeyboardUser::ReplaceText(HWND window, const std::string& text)
{
    HWND edit = Focus(window);
    PressKey(VK_HOME, { VK_CONTROL });
    PressKey(VK_END, { VK_CONTROL, VK_SHIFT });
    PressKey(VK_DELETE);
    if (!ProgramWindows::WaitUntil([edit] { return ProgramWindows::Text(edit).empty(); }))
        ADD_FAILURE() << Describe(edit) << " still holds \"" << ProgramWindows::Text(edit) << "\"";
    Type(window, text);
}

bool KeyboardUser::TabTo(HWND window, int controlId, bool backwards)
{
    HWND target = ProgramWindows::Control(window, controlId);
    for (int presses = 0; target && presses < MaxTabs; ++presses) {
        HWND before = Focus(window);
        if (before == target)
            return true;
        if (backwards)
            PressKey(VK_TAB, { VK_SHIFT });
        else
            PressKey(VK_TAB);
        ProgramWindows::WaitUntil([&] { return Focus(window) != before; }, 2000);
    }
    const bool reached = target && Focus(window) == target;
    if (!reached)
        ADD_FAILURE() << "Tab never reaches control " << controlId << "; the focus is on " << Describe(Focus(window));
    return reached;
}

void KeyboardUser::PressButton(HWND window, int controlId)
{
    HWND button = ProgramWindows::Control(window, controlId);
    if (!ProgramWindows::WaitUntil([button] { return IsWindowEnabled(button) != FALSE; }))
        ADD_FAILURE() << "button " << Describe(button) << " stays disabled";
    if (TabTo(window, controlId))
        PressKey(VK_SPACE);
}

void KeyboardUser::ChooseFromMenu(const ProgramWindows& windows, HWND frame, char menuLetter, char itemLetter,
                                  bool altHeld)
{
    const DWORD thread = GetWindowThreadProcessId(frame, nullptr);
    auto inMenuBar = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
    };
    auto menuShown = [&windows] { return windows.FindWindowOfClass("#32768") != nullptr; };
    // Alt alone goes to the menu bar and a letter then opens that menu; Alt held with the
    // letter opens it at once. The next letter chooses in it.
    if (altHeld) {
        PressKey(static_cast<WORD>(menuLetter), { VK_MENU });
    } else {
        PressKey(VK_MENU);
        if (!ProgramWindows::WaitUntil(inMenuBar))
            ADD_FAILURE() << "Alt did not take the keyboard to the menu bar";
        PressKey(static_cast<WORD>(menuLetter));
    }
    if (!ProgramWindows::WaitUntil(menuShown))
        ADD_FAILURE() << "'" << menuLetter << "' opened no menu";
    PressKey(static_cast<WORD>(itemLetter));
    if (!ProgramWindows::WaitUntil([&] { return !menuShown() && !inMenuBar(); }))
        ADD_FAILURE() << "'" << itemLetter << "' chose nothing in the menu";
}
