#pragma once
#include <windows.h>
#include <functional>
#include <vector>

// Runs this thread's messages, and with them every timer, until `done` holds or
// `timeout` ms have passed; whether it held. `done` is asked after every message, so a
// state that lasts from one message to the next is seen.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout);
void PumpFor(DWORD milliseconds);

// This thread's top-level windows of a class.
std::vector<HWND> ThreadWindows(const char* className);
