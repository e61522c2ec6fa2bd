#include "support/WindowText.h"

std::string WindowText(HWND window)
{
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
    return text;
}

bool IsDialogClass(HWND window)
{
    char name[16];
    return GetClassNameA(window, name, sizeof(name)) && lstrcmpA(name, "#32770") == 0;
}
