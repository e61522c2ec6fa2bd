#include "framework/ListText.h"

std::string ListItemText(HWND control, UINT lengthMessage, UINT textMessage, LRESULT index)
{
    if (index < 0)
        return std::string();
    const LRESULT length = ::SendMessageA(control, lengthMessage, index, 0);
    if (length < 0)
        return std::string();
    std::string text(length + 1, '\0');
    const LRESULT copied = ::SendMessageA(control, textMessage, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? copied : 0);
    return text;
}

std::string SelectedListBoxText(HWND listBox)
{
    return ListItemText(listBox, LB_GETTEXTLEN, LB_GETTEXT, ::SendMessageA(listBox, LB_GETCURSEL, 0, 0));
}

std::string SelectedComboBoxText(HWND comboBox)
{
    return ListItemText(comboBox, CB_GETLBTEXTLEN, CB_GETLBTEXT, ::SendMessageA(comboBox, CB_GETCURSEL, 0, 0));
}
