#pragma once
#include "app/UserDetailsDlg.h"

// First run: asks for the sender's name, gender and e-mail address.
class CSetupDlg : public CUserDetailsDlg {
public:
    explicit CSetupDlg(CWnd* parent = nullptr);

    std::string gender;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
};
