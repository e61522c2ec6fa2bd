#include "app/OptionsDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

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
    dialog.name = settings.UserName;
    dialog.email = settings.UserEmail;
    if (dialog.DoModal() == IDOK) {
        settings.UserName = dialog.name;
        settings.UserEmail = dialog.email;
        SaveSettings();
    }
    return true;
}
