#include "app/OptionsDlg.h"
#include "app/AppSettings.h"
#include "res/resource.h"

COptionsDlg::COptionsDlg(CWnd* parent) : CUserDetailsDlg(IDD_OPTIONS, 50, parent) {}

bool RunOptions(CWnd* parent)
{
    AppSettings& settings = GetSettings();
    if (!settings.loaded) {
        settings.loaded = LoadSettings();
        if (!settings.loaded)
            return false;
    }
    COptionsDlg dialog(parent);
    dialog.m_name = settings.UserName;
    dialog.m_email = settings.UserEmail;
    if (dialog.DoModal() == IDOK) {
        settings.UserName = dialog.m_name;
        settings.UserEmail = dialog.m_email;
        SaveSettings();
    }
    return true;
}
