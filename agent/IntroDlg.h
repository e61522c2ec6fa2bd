#pragma once
#include "controls/OXStatic.h"
#include "framework/Dialog.h"

// The welcome at start-up: the default character speaks the introduction that the dialog
// shows as text, while the user may quiet it, look at the other products, switch the
// welcome off for later starts or go on into the program.
class CIntroDlg : public CDialog {
public:
    explicit CIntroDlg(CWnd* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnContinue();
    void OnOtherProducts();
    void OnClose();
    void OnStopTalking();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    COXStatic title_;
    bool loaded_ = false;   // the default character was loaded for the tour
};
