#include "framework/FrameWnd.h"
#include "framework/ControlBar.h"
#include "framework/StatusBar.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/ResourceString.h"
#include "framework/View.h"
#include "framework/WinApp.h"

namespace {

char LowerCase(char c)
{
    return static_cast<char>(reinterpret_cast<UINT_PTR>(::CharLowerA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<BYTE>(c))))));
}

// Whether an item of the menu underlines the letter: it follows a single ampersand
// (two stand for an ampersand shown).
bool HasMnemonic(HMENU menu, char letter)
{
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int index = 0; index < count; ++index) {
        char caption[256] = "";
        ::GetMenuStringA(menu, index, caption, sizeof caption, MF_BYPOSITION);
        for (const char* at = caption; *at && at[1]; ++at) {
            if (*at != '&')
                continue;
            ++at;
            if (*at != '&' && LowerCase(*at) == LowerCase(letter))
                return true;
        }
    }
    return false;
}

} // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_ACTIVATE, OnActivate)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
    ON_NOTIFY_RANGE(TTN_GETDISPINFOA, 0, 0xFFFF, OnToolTipText)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

bool CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDHelp));
        if (!icon)
            icon = ::LoadIcon(nullptr, IDI_APPLICATION);
        cs.lpszClass = RegisterWindowClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
    }
    cs.style &= ~FWS_ADDTOTITLE;
    if (cs.cx == 0 && cs.cy == 0) {
        cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    }
    return cs.lpszClass != nullptr;
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = resourceId;
    m_strTitle = GetStringPart(LoadResourceString(resourceId), 0);
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    creatingContext_ = context;
    const RECT noRect = { 0, 0, 0, 0 };  // PreCreateWindow places the frame
    const bool created = CreateEx(0, nullptr, m_strTitle, style, noRect, parent ? parent->m_hWnd : nullptr,
                                  reinterpret_cast<UINT_PTR>(menu));
    creatingContext_ = nullptr;
    if (!created) {
        if (menu)
            ::DestroyMenu(menu);
        return false;
    }
    OnUpdateFrameTitle();
    return true;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    if (Default() == -1)
        return -1;
    return OnCreateClient(cs, creatingContext_) ? 0 : -1;
}

bool CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* context)
{
    if (!context || !context->m_pNewViewClass)
        return true;
    CView* view = static_cast<CView*>(context->m_pNewViewClass());
    if (context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(view);
    if (!view->Create(this, AFX_IDW_PANE_FIRST)) {
        if (view->m_pDocument)
            view->m_pDocument->RemoveView(view);
        delete view;  // never created, so it never owned itself
        return false;
    }
    SetActiveView(view);
    return true;
}

void CFrameWnd::SetActiveView(CView* view)
{
    activeView_ = view;
    if (view && view->m_hWnd)
        ::SetFocus(view->m_hWnd);
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return activeView_ ? activeView_->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, bool makeVisible)
{
    CWinApp* app = AfxGetApp();
    if (!app->m_pMainWnd)
        app->m_pMainWnd = this;
    if (activeView_)
        activeView_->OnInitialUpdate();
    OnUpdateFrameTitle();
    // The first frame waits for the application to show it at the end of start-up.
    if (makeVisible && IsWindowVisible() && activeView_)
        ::SetFocus(activeView_->m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle()
{
    if (!m_hWnd)
        return;
    CDocument* doc = GetActiveDocument();
    const std::string title = doc && !doc->GetTitle().empty() ? doc->GetTitle() + " - " + m_strTitle : m_strTitle;
    // A caption change goes out to the display; an open asks for the same title twice.
    if (GetWindowText() != title)
        SetWindowText(title);
}

void CFrameWnd::RecalcLayout()
{
    RECT remaining;
    GetClientRect(&remaining);
    for (CControlBar* bar : bars_)
        if (bar->m_hWnd)
            bar->PlaceIn(remaining);
    if (activeView_ && activeView_->m_hWnd)
        activeView_->MoveWindow(remaining);
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    bars_.push_back(bar);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : bars_)
        if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == id)
            return bar;
    return nullptr;
}

void CFrameWnd::SetMessageText(UINT id)
{
    SetMessageText(GetStringPart(LoadResourceString(id ? id : AFX_IDS_IDLEMESSAGE), 0));
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (auto* status = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR)))
        status->SetPaneText(0, text);
}

void CFrameWnd::OnMenuSelect(UINT id, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu)
        SetMessageText(0);  // the menu closed
    else if (flags & (MF_POPUP | MF_SEPARATOR))
        SetMessageText(std::string());
    else
        SetMessageText(id);
}

LRESULT CFrameWnd::OnActivate(WPARAM wParam, LPARAM lParam)
{
    // The focus is still on the view's control here; the view keeps it for the return.
    if (LOWORD(wParam) == WA_INACTIVE && activeView_ && activeView_->m_hWnd)
        activeView_->OnActivateFrame(false, reinterpret_cast<HWND>(lParam));
    return Default();  // on activation the frame takes the focus, which goes on below
}

LRESULT CFrameWnd::OnSetFocus(WPARAM, LPARAM)
{
    // The frame has nothing to type into: the keyboard belongs to its view.
    if (activeView_ && activeView_->m_hWnd && activeView_->IsWindowVisible())
        ::SetFocus(activeView_->m_hWnd);
    return 0;
}

void CFrameWnd::OnToolTipText(NMHDR* header, LRESULT* result)
{
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    *result = 0;
    if (info->uFlags & TTF_IDISHWND)
        return;
    tipText_ = GetStringPart(LoadResourceString(static_cast<UINT>(header->idFrom)), 1);
    info->lpszText = const_cast<char*>(tipText_.c_str());
}

void CFrameWnd::OnBarCheck(UINT id)
{
    if (CControlBar* bar = GetControlBar(id)) {
        bar->ShowWindow(bar->IsWindowVisible() ? SW_HIDE : SW_SHOW);
        RecalcLayout();
    }
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* ui)
{
    CControlBar* bar = GetControlBar(ui->m_nID);
    ui->Enable(bar != nullptr);
    ui->SetCheck(bar && bar->IsWindowVisible());
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app->m_pMainWnd == this && !app->SaveAllModified())
        return;
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    if (auto* single = dynamic_cast<CSingleDocTemplate*>(app->GetFirstDocTemplate()))
        if (single->frame_ == this)
            single->frame_ = nullptr;
    if (app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    // The frame owns itself: it goes with its window.
    delete this;
}

bool CFrameWnd::OnCmdMsg(UINT id, UINT code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (activeView_ && activeView_->OnCmdMsg(id, code, extra, handlerInfo))
        return true;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

bool CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_SYSCHAR && OpenMenuOfKey(msg))
        return true;
    if (m_hAccelTable && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
    return false;
}

// Alt with a letter of the menu bar opens that menu wherever the focus is inside the frame:
// a form's control with the same underlined letter would otherwise take the key first.
bool CFrameWnd::OpenMenuOfKey(const MSG* msg)
{
    const bool altDown = (HIWORD(msg->lParam) & KF_ALTDOWN) != 0;
    if (!altDown || !::IsChild(m_hWnd, msg->hwnd) || !HasMnemonic(::GetMenu(m_hWnd), static_cast<char>(msg->wParam)))
        return false;
    ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, msg->wParam);
    return true;
}

void CFrameWnd::OnInitMenuPopup(HMENU menu, UINT, bool sysMenu)
{
    if (sysMenu)
        return;
    CCmdUI ui;
    ui.m_hMenu = menu;
    for (UINT index = 0; index < static_cast<UINT>(::GetMenuItemCount(menu)); ++index) {
        const UINT id = ::GetMenuItemID(menu, index);
        // Separators, submenus and the recent files beyond the first are not commands here.
        if (id == 0 || id == static_cast<UINT>(-1) || (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4))
            continue;
        ui.m_nID = id;
        ui.m_nIndex = index;
        ui.DoUpdate(this, true);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    for (CControlBar* bar : bars_)
        if (bar->m_hWnd && bar->IsWindowVisible())
            bar->OnUpdateCmdUI(this);
    return 0;
}
