#pragma once
#include "framework/Dialog.h"
#include <string>

// The sender's name and e-mail address, shared by the Setup and Options dialogs: OK is
// enabled only while both hold more than white space.
class CUserDetailsDlg : public CDialog {
public:
    static const int MaxNameLength = 50;

    CUserDetailsDlg(UINT templateId, int maxEmailLength, CWnd* parent = nullptr);

    std::string name;
    std::string email;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void UpdateOkButton();
    DECLARE_MESSAGE_MAP()

private:
    int maxEmailLength_;
};
