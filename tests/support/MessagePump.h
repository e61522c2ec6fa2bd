#pragma once
#include <windows.h>
#include <functional>
#include <vector>

class CWinApp;

// Runs this thread's messages, and with them every timer, until `done` holds or
// `timeout` ms have passed; whether it held. `done` is asked after every message, so a
// state that lasts from one message to the next is seen.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout);
// The same with the application's own translation first (accelerators, the dialog keys of
// a form), as its message loop does.
bool PumpUntil(CWinApp& app, const std::function<bool()>& done, DWORD timeout);
// The same with the dialog's keys first (Tab, arrows, mnemonics), as a modal loop does.
bool PumpDialogUntil(HWND dialog, const std::function<bool()>& done, DWORD timeout);
void PumpFor(DWORD milliseconds);

// This thread's top-level windows of a class.
std::vector<HWND> ThreadWindows(const char* className);
