#pragma once
#include <windows.h>
#include <string>

// The caption or contents of a window, as GetWindowText reads it.
std::string WindowText(HWND window);

// True for windows of the dialog class, which message boxes share with dialogs.
bool IsDialogClass(HWND window);
