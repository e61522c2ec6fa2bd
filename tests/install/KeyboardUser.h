#pragma once
#include "ProgramWindows.h"
#include <windows.h>
#include <initializer_list>
#include <string>

// A user who works the program with the keyboard alone: keys go to whatever window of the
// program has the focus, as they do from a real keyboard, and every step waits for its
// effect (with the deadline of ProgramWindows) before the next key.
class KeyboardUser {
public:
    // The control that has the keyboard focus on the thread of that window; nullptr if none.
    static HWND Focus(HWND window);
    // Waits until the control has the focus; a failure names the one that has it.
    static bool WaitForFocus(HWND control);

    static void Press(WORD key, std::initializer_list<WORD> held = {});
    // Types the text into the focused edit and waits until it holds it.
    static void Type(HWND window, const std::string& text);
    // Selects all of the focused edit's text and types over it; waits until it holds the text.
    static void ReplaceText(HWND window, const std::string& text);
    // Presses Tab (Shift+Tab backwards) until the control has the focus; false when it never does.
    static bool TabTo(HWND window, int controlId, bool backwards = false);
    // Tabs to the button and presses Space.
    static void PressButton(HWND window, int controlId);
    // Opens the frame's menu with Alt and chooses by the underlined letters (upper case):
    // Alt alone, then the menu's letter; or, altHeld, the menu's letter with Alt held down.
    static void ChooseFromMenu(const ProgramWindows& windows, HWND frame, char menuLetter, char itemLetter,
                               bool altHeld = false);

    // The id and text of the focused control, for failure messages.
    static std::string Describe(HWND control);
};
