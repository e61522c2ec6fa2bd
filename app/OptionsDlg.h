#pragma once
#include "app/UserDetailsDlg.h"

// Lets the user change the sender's name and e-mail address later.
class COptionsDlg : public CUserDetailsDlg {
public:
    explicit COptionsDlg(CWnd* parent = nullptr);
};

// The Options command: edits the name and address in the settings and saves them on OK.
// False when the settings could not be loaded.
bool RunOptions(CWnd* parent);
