#pragma once
#include <windows.h>
#include <wininet.h>

// Sets the connect, send and receive time-outs of a WinInet handle. WinInet versions
// differ in which handles pass them on, so the session and each of its requests get them.
// Throws CInternetException.
void ApplyInternetTimeouts(HINTERNET handle, DWORD milliseconds);
