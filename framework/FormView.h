#pragma once
#include "framework/View.h"

class CDataExchange;

// A view made from a dialog template: its controls live in the frame's client area,
// exchange data like a dialog's, and the keyboard moves between them as in a dialog.
class CFormView : public CView {
public:
    explicit CFormView(UINT templateId) : templateId_(templateId) {}

    bool Create(CFrameWnd* frame, UINT id) override;
    UINT GetTemplateId() const { return templateId_; }

    void OnInitialUpdate() override;
    bool UpdateData(bool saveAndValidate = true);
    // Makes the frame just large enough for the form, never larger than it is.
    void ResizeParentToFit(bool shrinkOnly = true);

    bool PreTranslateMessage(MSG* msg) override;
    void OnActivateFrame(bool active, HWND other) override;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    void OnDraw(HDC) override {}
    // The form passes the focus on to its control that had it last, else to its first.
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    // The control that gets the focus when the form gets it next.
    void SetFocusControl(HWND control) { focusControl_ = control; }
    DECLARE_MESSAGE_MAP()

private:
    UINT templateId_;
    HWND focusControl_ = nullptr;
    SIZE formSize_{};
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};
