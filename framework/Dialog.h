#pragma once
#include "framework/Wnd.h"

class CDataExchange;

// A modal dialog made from a dialog template of the program's resources. Its controls
// are read and written in one place, DoDataExchange.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Every modal dialog of the program runs through here.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // Copies member values to the controls (false) or validates and copies back (true).
    bool UpdateData(bool saveAndValidate = true);

    UINT GetTemplateId() const { return templateId_; }
    // The framework dialog that owns a window, or nullptr.
    static CDialog* FromHandle(HWND hwnd);

protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    // Fills the template's lists with their initial entries.
    void ExecuteDlgInit();
    DECLARE_MESSAGE_MAP()

private:
    UINT templateId_;
    CWnd* parent_;
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};
