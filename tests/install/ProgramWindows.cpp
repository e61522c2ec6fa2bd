#include "ProgramWindows.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const char DialogClass[] = "#32770";
// Message boxes show their text in this control.
const int MessageTextId = 0xFFFF;

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(child) == search->id) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

bool IsClass(HWND window, const char* className)
{
    char name[32];
    return GetClassNameA(window, name, sizeof(name)) && lstrcmpiA(name, className) == 0;
}

BOOL CALLBACK FindEditChild(HWND child, LPARAM param)
{
    if (!IsClass(child, "Edit"))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// The edit box inside a combo box (inside an extended combo box, too).
HWND FindEdit(HWND control)
{
    HWND edit = nullptr;
    EnumChildWindows(control, &FindEditChild, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->windows.push_back(window);
    return TRUE;
}

bool IsDialog(HWND window)
{
    return IsClass(window, DialogClass);
}

} // namespace

std::vector<HWND> ProgramWindows::VisibleWindows() const
{
    WindowSearch search{ processId_, {} };
    EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

HWND ProgramWindows::FindDialog(const std::string& caption) const
{
    for (HWND window : VisibleWindows())
        if (IsDialog(window) && IsWindowEnabled(window) && Text(window) == caption)
            return window;
    return nullptr;
}

HWND ProgramWindows::WaitForDialog(const std::string& caption, DWORD timeoutMs) const
{
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindDialog(caption)) != nullptr; }, timeoutMs))
        ADD_FAILURE() << "no dialog \"" << caption << "\" within " << timeoutMs << " ms; " << Describe();
    return dialog;
}

HWND ProgramWindows::FindMainWindow() const
{
    for (HWND window : VisibleWindows())
        if (!IsDialog(window) && GetMenu(window))
            return window;
    return nullptr;
}

HWND ProgramWindows::FindWindowOfClass(const char* className) const
{
    for (HWND window : VisibleWindows())
        if (IsClass(window, className))
            return window;
    return nullptr;
}

HWND ProgramWindows::WaitForMainWindow(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindMainWindow()) != nullptr; }, timeoutMs);
    if (!found)
        ADD_FAILURE() << "no main window within " << timeoutMs << " ms; " << Describe();
    return found;
}

bool ProgramWindows::WaitUntilClosed(HWND window, DWORD timeoutMs) const
{
    const bool closed = WaitUntil([window] { return !IsWindow(window); }, timeoutMs);
    if (!closed)
        ADD_FAILURE() << "window \"" << Text(window) << "\" still open after " << timeoutMs << " ms; "
                      << Describe();
    return closed;
}

std::string ProgramWindows::Describe() const
{
    std::string shown = "the program shows:";
    for (HWND window : VisibleWindows()) {
        shown += " [\"" + Text(window) + "\"";
        if (IsDialog(window) && !MessageText(window).empty())
            shown += ": \"" + MessageText(window) + "\"";
        shown += IsWindowEnabled(window) ? "]" : " (disabled)]";
    }
    return shown;
}

bool ProgramWindows::WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

HWND ProgramWindows::Control(HWND window, int controlId)
{
    // A control of the window itself first: ids repeat inside nested controls.
    ChildSearch search{ controlId, window ? GetDlgItem(window, controlId) : nullptr };
    if (window && !search.found)
        EnumChildWindows(window, &FindChild, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        ADD_FAILURE() << "window \"" << Text(window) << "\" has no control " << controlId;
    return search.found;
}

void ProgramWindows::Type(HWND window, int controlId, const std::string& text)
{
    HWND control = Control(window, controlId);
    if (!control)
        return;
    // Keys sent to a control that takes no typing work the dialog's mnemonics instead.
    if (!IsClass(control, "Edit") && !(control = FindEdit(control))) {
        ADD_FAILURE() << "control " << controlId << " has no edit box to type into";
        return;
    }
    // What was there goes first, as a user selecting it all and typing over it.
    PostMessageA(control, EM_SETSEL, 0, -1);
    PressKeys(control, text.empty() ? std::string(1, VK_BACK) : text);
    if (!WaitUntil([&] { return Text(control) == text; }))
        ADD_FAILURE() << "control " << controlId << " holds \"" << Text(control) << "\", not \"" << text << "\"";
}

void ProgramWindows::PressKeys(HWND control, const std::string& characters)
{
    for (char c : characters)
        PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void ProgramWindows::Click(HWND window, int controlId)
{
    HWND button = Control(window, controlId);
    if (!button)
        return;
    if (!WaitUntil([button] { return IsWindowEnabled(button) != FALSE; }))
        ADD_FAILURE() << "button \"" << Text(button) << "\" stays disabled";
    // Posted: a click that opens a dialog returns only when that dialog closes.
    PostMessageA(button, BM_CLICK, 0, 0);
}

void ProgramWindows::ChooseCommand(HWND frame, int commandId)
{
    PostMessageA(frame, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

std::string ProgramWindows::Text(HWND window)
{
    char text[4096] = "";
    DWORD_PTR length = 0;
    // A window that hangs must not hang the test with it.
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             5000, &length))
        return std::string();
    return std::string(text, length < sizeof(text) ? length : 0);
}

std::string ProgramWindows::MessageText(HWND box)
{
    HWND text = GetDlgItem(box, MessageTextId);
    return text ? Text(text) : std::string();
}

int ProgramWindows::ListRows(HWND list)
{
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

std::string ProgramWindows::ListRowText(HWND list, int row)
{
    // The list writes into memory of its own process: the item and its text buffer go there.
    DWORD process = 0;
    GetWindowThreadProcessId(list, &process);
    HANDLE other = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!other)
        return std::string();
    char text[512] = "";
    const SIZE_T size = sizeof(LVITEMA) + sizeof(text);
    std::string result;
    if (void* remote = VirtualAllocEx(other, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
        LVITEMA item{};
        item.pszText = static_cast<char*>(remote) + sizeof(LVITEMA);
        item.cchTextMax = sizeof(text);
        SIZE_T moved = 0;
        if (WriteProcessMemory(other, remote, &item, sizeof(item), &moved) &&
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote)) >= 0 &&
            ReadProcessMemory(other, item.pszText, text, sizeof(text) - 1, &moved))
            result = text;
        VirtualFreeEx(other, remote, 0, MEM_RELEASE);
    }
    CloseHandle(other);
    return result;
}

int ProgramWindows::ListSelection(HWND list)
{
    return list ? static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) : -1;
}
