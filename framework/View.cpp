#include "framework/View.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

bool CView::Create(CFrameWnd* frame, UINT id)
{
    RECT client;
    frame->GetClientRect(&client);
    return CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client, frame->m_hWnd, id);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd; hwnd = ::GetParent(hwnd))
        if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hwnd)))
            return frame;
    return nullptr;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void CView::OnUpdate(CView*, LPARAM)
{
    Invalidate();
}

void CView::OnDraw(HDC) {}

void CView::OnActivateFrame(bool, HWND) {}

void CView::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    OnDraw(dc);
    ::EndPaint(m_hWnd, &ps);
}

void CView::PostNcDestroy()
{
    // The view owns itself: it goes with its window.
    delete this;
}

bool CView::OnCmdMsg(UINT id, UINT code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}
