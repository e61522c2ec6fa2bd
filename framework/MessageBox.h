#pragma once
#include <windows.h>
#include <string>

// Every message box of the programs goes through ShowMessageBox, so that there is
// one place that knows the application's caption and one place a test can watch.

// Called before each box is shown, with exactly what the box will show.
using MessageBoxObserver = void (*)(HWND owner, const std::string& text,
                                    const std::string& caption, UINT flags);

// Installs an observer for the calling thread; returns the previous one.
MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer);

// Shows the text with a line break inserted into any run of more than 80 characters
// without a blank, so that the box fits the screen whatever the text quotes.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// A box captioned with the application's title and owned by nobody.
int AfxMessageBox(const std::string& text, UINT flags = MB_OK);
int AfxMessageBox(UINT stringId, UINT flags = MB_OK);

// Replaces "%1" in the format with the argument.
std::string AfxFormatString1(const std::string& format, const std::string& argument);
