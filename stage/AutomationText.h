#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

// Text crosses the automation boundary as BSTR (UTF-16); inside the stage it is 8-bit:
// CP_ACP for what the user and the Win32 "A" calls see, CP_UTF8 for character data.

std::string TextFromBstr(BSTR text, UINT codePage);

// A new BSTR the caller frees; null when memory runs out.
BSTR BstrFromText(const std::string& text, UINT codePage);

// Converts between the two 8-bit encodings.
std::string RecodeText(const std::string& text, UINT fromCodePage, UINT toCodePage);
