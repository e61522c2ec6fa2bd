// The etched line above a dialog's buttons ends where the button row ends, as the user
// sees it: drawn from the real templates.
#include "res/resource.h"
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

struct Parts {
    RECT separator = {};   // the lowest etched line, in screen coordinates
    RECT buttons = {};     // what the push buttons under it cover
    bool found = false;
};

std::string ClassOf(HWND window)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK Collect(HWND child, LPARAM parameter)
{
    auto* parts = reinterpret_cast<Parts*>(parameter);
    RECT rect;
    GetWindowRect(child, &rect);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const std::string name = ClassOf(child);
    const LONG type = style & SS_TYPEMASK;
    const bool etched = type == SS_ETCHEDHORZ || type == SS_ETCHEDFRAME || type == SS_ETCHEDVERT;
    if (lstrcmpiA(name.c_str(), "Static") == 0 && etched && rect.bottom - rect.top <= 4) {
        if (!parts->found || rect.top > parts->separator.top)
            parts->separator = rect;
        parts->found = true;
    }
    return TRUE;
}

BOOL CALLBACK CollectButtons(HWND child, LPARAM parameter)
{
    auto* parts = reinterpret_cast<Parts*>(parameter);
    RECT rect;
    GetWindowRect(child, &rect);
    const LONG kind = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
    const bool push = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_OWNERDRAW;
    if (lstrcmpiA(ClassOf(child).c_str(), "Button") == 0 && push && IsWindowVisible(child) &&
        rect.top > parts->separator.top) {
        if (IsRectEmpty(&parts->buttons))
            parts->buttons = rect;
        else
            UnionRect(&parts->buttons, &parts->buttons, &rect);
    }
    return TRUE;
}

} // namespace

TEST(DialogSeparator, TheLineAboveTheButtonsEndsWithTheirRow)
{
    const INITCOMMONCONTROLSEX classes = { sizeof classes, ICC_WIN95_CLASSES };
    InitCommonControlsEx(&classes);
    for (UINT id : { IDD_SETUP, IDD_NEW_GREETING, IDD_OPTIONS, IDD_ABOUTBOX }) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, PlainDialog, 0);
        ASSERT_NE(nullptr, dialog) << "dialog " << id;
        ShowWindow(dialog, SW_SHOWNA);
        Parts parts;
        EnumChildWindows(dialog, Collect, reinterpret_cast<LPARAM>(&parts));
        ASSERT_TRUE(parts.found) << "dialog " << id;
        EnumChildWindows(dialog, CollectButtons, reinterpret_cast<LPARAM>(&parts));
        ASSERT_FALSE(IsRectEmpty(&parts.buttons)) << "dialog " << id;
        EXPECT_EQ(parts.buttons.right, parts.separator.right) << "dialog " << id;
        EXPECT_LT(parts.separator.left, parts.buttons.left) << "dialog " << id;
        DestroyWindow(dialog);
    }
}
