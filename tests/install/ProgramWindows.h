#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// The windows of another running program, worked from outside as a user would: keys
// typed into controls arrive as character messages, clicks as button clicks, menu
// choices as commands. Nothing of the program's code is involved. Every wait has a
// deadline and fails the test when it passes.
class ProgramWindows {
public:
    static const DWORD DefaultWait = 30000;

    explicit ProgramWindows(DWORD processId) : processId_(processId) {}

    // The program's visible, enabled dialog (message boxes included) with this caption.
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = DefaultWait) const;
    // Its visible main window: a top-level window with a menu.
    HWND WaitForMainWindow(DWORD timeoutMs = DefaultWait) const;
    // What the program shows right now: a dialog with this caption, its main window.
    HWND FindDialog(const std::string& caption) const;
    HWND FindMainWindow() const;
    // Its first visible top-level window of the class.
    HWND FindWindowOfClass(const char* className) const;

    // Waits until the window is gone.
    bool WaitUntilClosed(HWND window, DWORD timeoutMs = DefaultWait) const;
    // What the program shows: its visible windows with their captions and texts, for
    // failure messages.
    std::string Describe() const;
    // Waits until the condition holds; false after the timeout.
    static bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = DefaultWait);

    // A control of a window, or of a window inside it, found by its id.
    static HWND Control(HWND window, int controlId);
    // Types the text into the control (the edit box of a combo box) over what it holds,
    // one character message per character, and waits until the control holds it.
    static void Type(HWND window, int controlId, const std::string& text);
    // Presses the keys of these characters in the control, as a user typing them.
    static void PressKeys(HWND control, const std::string& characters);
    // Clicks the button once it is enabled.
    static void Click(HWND window, int controlId);
    // Chooses a menu command or presses its accelerator.
    static void ChooseCommand(HWND frame, int commandId);
    // The text of a window or control.
    static std::string Text(HWND window);
    // The text of a message box.
    static std::string MessageText(HWND box);
    // The rows of a list view; -1 for no list.
    static int ListRows(HWND list);
    // The text of a list view's row, read across into this process; the selected row, -1 for none.
    static std::string ListRowText(HWND list, int row);
    static int ListSelection(HWND list);

private:
    std::vector<HWND> VisibleWindows() const;

    DWORD processId_;
};
