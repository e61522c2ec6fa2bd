#pragma once
#include <windows.h>
#include <initializer_list>

// Presses and releases a key with the given keys (VK_SHIFT, VK_CONTROL, VK_MENU) held, as
// the keyboard does: the system hands it to the window that has the focus, whichever
// program that window belongs to, with the key state that Shift+Tab and accelerators read.
void PressKey(WORD key, std::initializer_list<WORD> held = {});
