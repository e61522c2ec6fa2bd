#pragma once
#include <string>

// Every web page the program opens goes through OpenUrlInBrowser.

// The program registered for ".htm" files: its path (quotes removed, arguments cut off)
// when the registered command starts with an existing file followed by a blank. path is
// left alone when there is no ".htm" file type.
bool FindDefaultBrowser(std::string& path);

// Opens the address through the shell, else with the ".htm" program; failing both, puts
// the address on the clipboard (copyToClipboard) and tells the user to open it by hand
// (reportFailure). True when a launch succeeded.
bool OpenUrlInBrowser(const std::string& url, bool maximized, bool reportFailure, bool copyToClipboard);

// Opens the address with every fallback; an empty address opens nothing.
void OpenWebPage(const std::string& url);
