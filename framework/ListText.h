#pragma once
#include <windows.h>
#include <string>

// The text of a list box's or combo box's item, asked with the control's own length and
// text messages (LB_GETTEXTLEN / LB_GETTEXT or CB_GETLBTEXTLEN / CB_GETLBTEXT); empty for
// an index that names no item.
std::string ListItemText(HWND control, UINT lengthMessage, UINT textMessage, LRESULT index);

// The selected item's text; empty when nothing is selected.
std::string SelectedListBoxText(HWND listBox);
std::string SelectedComboBoxText(HWND comboBox);
