#include "framework/Dialog.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include <cstring>
#include <string>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {
// The innermost of this thread's modal dialogs while it runs.
thread_local CDialog* runningModal = nullptr;
}

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

CDialog* CDialog::FromHandle(HWND hwnd)
{
    return dynamic_cast<CDialog*>(FromHandlePermanent(hwnd));
}

// The dialog's window is subclassed onto this object when it is created, so every message
// goes through the message map first; the dialog procedure itself has nothing left to do.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = parent_ ? parent_->m_hWnd : nullptr;
    if (!owner) {
        // The main window, or the dialog that is modal over it: a dialog opened from
        // another must keep that one disabled, stay in front of it, and give it back the
        // focus when it ends. Before the main window shows (the start-up's first dialogs),
        // that is the modal dialog this one is opened from.
        CWnd* main = AfxGetMainWnd();
        if (main && main->m_hWnd && main->IsWindowVisible())
            owner = ::GetLastActivePopup(main->m_hWnd);
        else if (runningModal)
            owner = runningModal->m_hWnd;
    }
    INT_PTR result;
    {
        WindowCreationScope scope(this);
        struct Running {
            CDialog* const outer = runningModal;
            explicit Running(CDialog* dialog) { runningModal = dialog; }
            ~Running() { runningModal = outer; }
        } running(this);
        result = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId_), owner,
                                   &CDialog::DialogProc, 0);
    }
    // A template that could not be loaded leaves nothing attached.
    if (m_hWnd && !::IsWindow(m_hWnd))
        DetachHandle();
    return result;
}

void CDialog::EndDialog(int result)
{
    ::EndDialog(m_hWnd, result);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    ExecuteDlgInit();
    return OnInitDialog() ? TRUE : FALSE;
}

// The template's initial list entries live in a resource of type 240 with the template's
// id: records of control id, add-string message (16-bit numbering), length and text.
void CDialog::ExecuteDlgInit()
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(240));
    if (!found)
        return;
    HGLOBAL loaded = ::LoadResource(module, found);
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data)
        return;
    const BYTE* end = data + ::SizeofResource(module, found);
    while (data + 8 <= end) {
        WORD id, message;
        DWORD length;
        memcpy(&id, data, 2);
        if (id == 0)
            break;
        memcpy(&message, data + 2, 2);
        memcpy(&length, data + 4, 4);
        data += 8;
        if (length > static_cast<DWORD>(end - data))
            break;
        const std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), length));
        data += length;
        UINT addString = 0;
        if (message == 0x0403)
            addString = CB_ADDSTRING;
        else if (message == 0x0401)
            addString = LB_ADDSTRING;
        if (addString)
            ::SendDlgItemMessageA(m_hWnd, id, addString, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::UpdateData(bool saveAndValidate)
{
    return RunDataExchange(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}
