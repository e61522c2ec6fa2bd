#include "framework/FormView.h"
#include "framework/DataExchange.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CFormView, CView)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
END_MESSAGE_MAP()

// The form's window is subclassed onto this object as it is created, as dialogs are.
INT_PTR CALLBACK CFormView::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

bool CFormView::Create(CFrameWnd* frame, UINT id)
{
    HWND form;
    {
        WindowCreationScope scope(this);
        form = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId_), frame->m_hWnd,
                                    &CFormView::DialogProc, 0);
    }
    if (!form) {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
        return false;
    }
    ::SetWindowLongPtrA(form, GWLP_ID, id);
    ::SetWindowLongPtrA(form, GWL_STYLE, (::GetWindowLongPtrA(form, GWL_STYLE) & ~(WS_POPUP | WS_CAPTION)) | WS_CHILD);
    RECT rect;
    ::GetWindowRect(form, &rect);
    formSize_ = { rect.right - rect.left, rect.bottom - rect.top };
    ::ShowWindow(form, SW_SHOW);
    return true;
}

void CFormView::DoDataExchange(CDataExchange*) {}

bool CFormView::UpdateData(bool saveAndValidate)
{
    return RunDataExchange(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

void CFormView::OnInitialUpdate()
{
    UpdateData(false);
    CView::OnInitialUpdate();
}

void CFormView::ResizeParentToFit(bool shrinkOnly)
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    RECT view, outer;
    GetWindowRect(&view);
    frame->GetWindowRect(&outer);
    // The frame's own parts around the view stay; the view becomes the form's size.
    int width = (outer.right - outer.left) - (view.right - view.left) + formSize_.cx;
    int height = (outer.bottom - outer.top) - (view.bottom - view.top) + formSize_.cy;
    if (shrinkOnly) {
        width = std::min<int>(width, outer.right - outer.left);
        height = std::min<int>(height, outer.bottom - outer.top);
    }
    ::SetWindowPos(frame->m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CFormView::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !(msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return false;
    // The dialog keys would swallow the frame's accelerators, so the frame goes first.
    if (CFrameWnd* frame = GetParentFrame())
        if (frame->PreTranslateMessage(msg))
            return true;
    // Tab, arrows and the default button work between the form's controls.
    return ::IsDialogMessageA(m_hWnd, msg) != FALSE;
}

void CFormView::OnActivateFrame(bool active, HWND)
{
    HWND focus = ::GetFocus();
    if (!active && focus && ::IsChild(m_hWnd, focus))
        focusControl_ = focus;
}

LRESULT CFormView::OnSetFocus(WPARAM, LPARAM)
{
    HWND target = focusControl_;
    if (!target || !::IsChild(m_hWnd, target) || !::IsWindowEnabled(target) || !::IsWindowVisible(target))
        target = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    // As the dialog's own keys move it, so that a push button that gets it becomes the default.
    if (target)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    return 0;
}
