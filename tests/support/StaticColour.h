#pragma once
#include <windows.h>

// The text colour a static control is painted in, asked of its parent as the control
// asks before painting. Links must let the parent's background show through: a link
// answered otherwise fails the test.
COLORREF LinkTextColour(HWND parent, HWND control);
