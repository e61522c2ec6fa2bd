#pragma once
#include "framework/Wnd.h"
#include <string>

// Carries values between a dialog's members and its controls, in either direction; a
// validation that fails tells the user, puts the focus on the control and stops the exchange.
class CDataExchange {
public:
    struct Failure {};

    CDataExchange(CWnd* dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    bool m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    HWND LastEditControl() const { return lastWasEdit_ ? lastControl_ : nullptr; }
    // Refocuses the last control prepared and abandons the exchange.
    [[noreturn]] void Fail();

private:
    HWND lastControl_ = nullptr;
    bool lastWasEdit_ = false;
};

// Runs one exchange for a window (exchange is its DoDataExchange); false when a
// validation failed and the user was told.
template <class Exchange> bool RunDataExchange(CWnd* wnd, bool saveAndValidate, Exchange exchange)
{
    CDataExchange dx(wnd, saveAndValidate);
    try {
        exchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return false;
    }
    return true;
}

void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
// Selects the entry that equals the value exactly (case aside), or reads the selection back.
void DDX_CBStringExact(CDataExchange* dx, int id, std::string& value);
void DDX_LBStringExact(CDataExchange* dx, int id, std::string& value);
// Attaches a control object to the dialog's control the first time.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
