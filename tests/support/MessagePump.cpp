#include "support/MessagePump.h"
#include "framework/WinApp.h"

namespace {

// Runs the messages, each offered to `translate` first, which may take it.
bool Pump(const std::function<bool(MSG&)>& translate, const std::function<bool()>& done, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeout)
            return false;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (translate && translate(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
    return true;
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeout)
{
    return Pump(nullptr, done, timeout);
}

bool PumpUntil(CWinApp& app, const std::function<bool()>& done, DWORD timeout)
{
    return Pump([&app](MSG& message) { return app.PreTranslateMessage(&message); }, done, timeout);
}

bool PumpDialogUntil(HWND dialog, const std::function<bool()>& done, DWORD timeout)
{
    return Pump([dialog](MSG& message) { return IsDialogMessageA(dialog, &message) != FALSE; }, done, timeout);
}

void PumpFor(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

namespace {

struct WindowSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> ThreadWindows(const char* className)
{
    WindowSearch search{ className, {} };
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
