#include "app/AboutDlg.h"
#include "controls/BrowserLaunch.h"
#include "controls/LinkColours.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "settings/SiteInfo.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_CONTROL(STN_CLICKED, IDC_MAKER_LINK, OnMakerLink)
    ON_CONTROL(STN_CLICKED, IDC_SITE_LINK, OnSiteLink)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_TITLE, title_);
    DDX_Control(dx, IDC_MAKER_LINK, makerLink_);
    DDX_Control(dx, IDC_SITE_LINK, siteLink_);
}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    title_.SetBoldGuiFont();
    makerLink_.ChangeLinkStyle(0, LinkHoverColour);
    makerLink_.SetLinkUrl(MakerSite);
    siteLink_.ChangeLinkStyle(0, LinkHoverColour);
    siteLink_.SetLinkUrl(ServiceSite);

    // Dark blue links turning bright under the pointer, here and in every dialog after.
    LinkColours colours;
    GetLinkColours(colours);
    colours.normal = RGB(0, 0, 128);
    colours.hover = RGB(0, 0, 255);
    SetLinkColours(colours);
    return true;
}

void CAboutDlg::OnMakerLink()
{
    OpenWebPage(MakerSite);
}

void CAboutDlg::OnSiteLink()
{
    OpenWebPage(ServiceSite);
}
