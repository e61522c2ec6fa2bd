#pragma once
#include "controls/HyperLinkDL.h"
#include "controls/OXStatic.h"
#include "framework/Dialog.h"

// The About box: product and version, the maker and the service as web links.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnMakerLink();
    void OnSiteLink();
    DECLARE_MESSAGE_MAP()

private:
    COXStatic title_;
    CHyperLinkDL makerLink_;
    CHyperLinkDL siteLink_;
};
