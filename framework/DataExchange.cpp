#include "framework/DataExchange.h"
#include "framework/ListText.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/WinApp.h"

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = m_pDlgWnd->GetDlgItem(id);
    lastControl_ = control;
    lastWasEdit_ = false;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    lastWasEdit_ = true;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && lastControl_) {
        ::SetFocus(lastControl_);
        if (lastWasEdit_)
            ::SendMessageA(lastControl_, EM_SETSEL, 0, -1);
    }
    throw Failure{};
}

namespace {
std::string WindowText(HWND control)
{
    const int length = ::GetWindowTextLengthA(control);
    std::string text(length + 1, '\0');
    const int copied = ::GetWindowTextA(control, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

}

void DDX_Text(CDataExchange* dx, int id, std::string& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = WindowText(control);
    else
        ::SetWindowTextA(control, value.c_str());
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars)
{
    if (dx->m_bSaveAndValidate) {
        if (static_cast<int>(value.size()) > maxChars) {
            const std::string message = AfxFormatString1(
                LoadResourceString(AFX_IDP_PARSE_STRING_SIZE), std::to_string(maxChars));
            ShowMessageBox(dx->m_pDlgWnd->m_hWnd, message, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
            dx->Fail();
        }
    } else {
        // Typing stops at the limit; text set by the program may still be longer and is
        // then refused on OK.
        if (HWND edit = dx->LastEditControl())
            ::SendMessageA(edit, EM_LIMITTEXT, maxChars, 0);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, value, 0);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, index, 0);
}

void DDX_CBStringExact(CDataExchange* dx, int id, std::string& value)
{
    HWND control = dx->PrepareCtrl(id);
    const bool editable = (::GetWindowLongA(control, GWL_STYLE) & 3) != CBS_DROPDOWNLIST;
    if (dx->m_bSaveAndValidate) {
        const LRESULT index = ::SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR)
            value = ListItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
        else
            value = editable ? WindowText(control) : std::string();
    } else {
        const LRESULT index =
            ::SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
        ::SendMessageA(control, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
        if (index == CB_ERR && editable)
            ::SetWindowTextA(control, value.c_str());
    }
}

void DDX_LBStringExact(CDataExchange* dx, int id, std::string& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        const LRESULT index = ::SendMessageA(control, LB_GETCURSEL, 0, 0);
        value = index == LB_ERR ? std::string() : ListItemText(control, LB_GETTEXTLEN, LB_GETTEXT, index);
    } else {
        const LRESULT index =
            ::SendMessageA(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
        ::SendMessageA(control, LB_SETCURSEL, index == LB_ERR ? static_cast<WPARAM>(-1) : index, 0);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(dx->PrepareCtrl(id));
}
