#pragma once
#include "framework/Dialog.h"

// Shows one help text while the default character reads it aloud.
class CHelpDlg : public CDialog {
public:
    explicit CHelpDlg(UINT textId, CWnd* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    UINT textId_;
    bool reading_ = false;
};
