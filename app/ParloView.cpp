#include "app/ParloView.h"
#include "app/AppSettings.h"
#include "app/OptionsDlg.h"
#include "framework/FrameWnd.h"
#include "greeting/GreetingAction.h"
#include "greeting/ParloDoc.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CParloView, CView)
    ON_COMMAND(ID_TOOLS_OPTIONS, OnOptions)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CParloDoc* CParloView::GetDocument() const
{
    return static_cast<CParloDoc*>(m_pDocument);
}

void CParloView::OnDraw(HDC dc)
{
    CParloDoc* doc = GetDocument();
    if (!doc)
        return;
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics;
    ::GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading + 2;
    RECT client;
    GetClientRect(&client);
    ::SetBkMode(dc, TRANSPARENT);
    int y = 6;
    for (int i = 0; i < doc->GetActionCount() && y < client.bottom; ++i, y += lineHeight) {
        const std::string row = doc->GetAction(i)->GetDescription();
        ::TextOutA(dc, 8, y, row.c_str(), static_cast<int>(row.size()));
    }
    ::SelectObject(dc, oldFont);
}

void CParloView::OnOptions()
{
    RunOptions(GetParentFrame());
}

void CParloView::OnDestroy()
{
    SaveSettings();
    Default();
}
