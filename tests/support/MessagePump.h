#pragma once
#include <windows.h>
#include <functional>

// Runs this thread's messages (and with them its timers and posted reports) until `done`
// holds or `timeout` ms have passed; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout);
void PumpFor(DWORD milliseconds);
