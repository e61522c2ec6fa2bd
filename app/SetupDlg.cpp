#include "app/SetupDlg.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

CSetupDlg::CSetupDlg(CWnd* parent) : CUserDetailsDlg(IDD_SETUP, 80, parent) {}

bool CSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_GENDER, CB_SETCURSEL, 0, 0);
    UpdateOkButton();
    return true;
}

void CSetupDlg::DoDataExchange(CDataExchange* dx)
{
    CUserDetailsDlg::DoDataExchange(dx);
    DDX_CBStringExact(dx, IDC_GENDER, gender);
}
