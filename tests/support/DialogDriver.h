#pragma once
#include <windows.h>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// Drives the framework's dialogs that the calling thread opens while it lives. Each
// dialog, when it first becomes active, takes the next action registered for its
// template id; the action runs from the dialog's own modal loop and is expected to end
// the dialog (or open the next one, which is driven the same way). A dialog with no
// action left fails the test and is cancelled, so that the test goes on. Windows the
// framework does not know as dialogs, message boxes among them, are left alone.
class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Queues an action for the next dialog built from this template.
    void On(UINT templateId, Action action);

    // Template ids of the dialogs seen so far, in the order they appeared.
    const std::vector<UINT>& Seen() const { return seen; }

    // Small helpers for actions. A missing control fails the test.
    static void SetText(HWND dialog, int controlId, const std::string& text);
    // Replaces an edit's text as typing does: limits apply, and a multi-line edit reports
    // the change (it reports none for text set as a whole).
    static void Type(HWND dialog, int editId, const std::string& text);
    static std::string GetText(HWND dialog, int controlId);
    // Clicks as a user would; clicking a disabled control fails the test.
    static void Click(HWND dialog, int controlId);
    // Sends the command as a button or a key (Enter: IDOK, Esc: IDCANCEL) would.
    static void Command(HWND dialog, int commandId);
    // Presses and releases a key with the focus where it is, handed on as the dialog's
    // modal loop hands on keys: to the dialog manager first, else to the focused window.
    static void PressKey(HWND dialog, WPARAM key);
    static bool IsEnabled(HWND dialog, int controlId);
    static bool IsChecked(HWND dialog, int controlId);
    // Whether the dialog shows the control: its own visibility, since a modal dialog
    // may not be on screen yet when its action runs.
    static bool IsShown(HWND dialog, int controlId);

private:
    struct Scheduled {
        HWND dialog;
        UINT templateId;
        Action action;
        DWORD since;   // tick count when the dialog first became active
    };

    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK RunScheduled(HWND, UINT, UINT_PTR timerId, DWORD);
    void OnActivate(HWND window);
    void Schedule(Scheduled task, UINT delay);

    DialogDriver* outer;
    HHOOK hook;
    std::map<UINT, std::deque<Action>> actions;
    std::set<HWND> handled;
    std::map<UINT_PTR, Scheduled> scheduled;
    std::vector<UINT> seen;
};
