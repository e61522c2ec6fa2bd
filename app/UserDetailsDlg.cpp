#include "app/UserDetailsDlg.h"
#include "framework/DataExchange.h"
#include "framework/TextUtil.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CUserDetailsDlg, CDialog)
    ON_EN_CHANGE(IDC_NAME, UpdateOkButton)
    ON_EN_CHANGE(IDC_EMAIL, UpdateOkButton)
END_MESSAGE_MAP()

CUserDetailsDlg::CUserDetailsDlg(UINT templateId, int maxEmailLength, CWnd* parent)
    : CDialog(templateId, parent), maxEmailLength_(maxEmailLength) {}

bool CUserDetailsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateOkButton();
    return true;
}

void CUserDetailsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_NAME, name);
    DDV_MaxChars(dx, name, MaxNameLength);
    DDX_Text(dx, IDC_EMAIL, email);
    DDV_MaxChars(dx, email, maxEmailLength_);
}

void CUserDetailsDlg::UpdateOkButton()
{
    const bool ready = !TrimWhiteSpace(GetDlgItemText(IDC_NAME)).empty() && !TrimWhiteSpace(GetDlgItemText(IDC_EMAIL)).empty();
    ::EnableWindow(GetDlgItem(IDOK), ready);
}
