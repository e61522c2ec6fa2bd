#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include <set>
#include <unordered_map>

namespace {
// Windows live on the user-interface thread only, so one map serves the process.
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

thread_local CWnd* windowBeingCreated = nullptr;
}

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // Our own windows go; a subclassed control is given back its own procedure.
        if (ownsWindow_)
            ::DestroyWindow(m_hWnd);
        else
            UnsubclassWindow();
    }
    if (m_hWnd)
        DetachHandle();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::AttachHandle(HWND hwnd)
{
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
}

void CWnd::DetachHandle()
{
    HandleMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

WindowCreationScope::WindowCreationScope(CWnd* wnd)
    : previous_(windowBeingCreated),
      hook_(::SetWindowsHookExA(WH_CBT, &CWnd::CreationHook, nullptr, ::GetCurrentThreadId()))
{
    windowBeingCreated = wnd;
}

WindowCreationScope::~WindowCreationScope()
{
    if (hook_)
        ::UnhookWindowsHookEx(hook_);
    windowBeingCreated = previous_;
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && windowBeingCreated) {
        // Only the first window belongs to the object: children made during its
        // creation are not it.
        CWnd* wnd = windowBeingCreated;
        windowBeingCreated = nullptr;
        wnd->ownsWindow_ = wnd->HookWindowProc(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!HookWindowProc(hwnd))
        return false;
    PreSubclassWindow();
    return true;
}

bool CWnd::HookWindowProc(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return false;
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WndProcThunk)));
    if (!old)
        return false;
    // Windows of our own class already had this procedure: their default is the system's.
    superProc_ = old == &CWnd::WndProcThunk ? &::DefWindowProcA : old;
    AttachHandle(hwnd);
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (!hwnd)
        return nullptr;
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    superProc_ = nullptr;
    DetachHandle();
    return hwnd;
}

const char* CWnd::RegisterWindowClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // One class per combination, named after it, registered once.
    static std::set<std::string> names;
    char buffer[96];
    wsprintfA(buffer, "Parlacard:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
              static_cast<void*>(background), static_cast<void*>(icon));
    const char* name = names.insert(buffer).first->c_str();
    WNDCLASSA wc{};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), name, &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = &CWnd::WndProcThunk;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc))
            return nullptr;
    }
    return name;
}

bool CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWindowClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return cs.lpszClass != nullptr;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const std::string& windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu, void* param)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName.c_str();
    cs.style = style;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(idOrMenu);
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return false;
    HWND hwnd;
    {
        WindowCreationScope scope(this);
        hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                                 cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (!hwnd) {
        // A window that failed in WM_CREATE may have been attached already.
        if (m_hWnd)
            DetachHandle();
        return false;
    }
    return true;
}

bool CWnd::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::WndProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    const CurrentMessage current{ message, wParam, lParam };
    const CurrentMessage* outer = wnd->current_;
    wnd->current_ = &current;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Past the last message: restore the original procedure and let go of the handle.
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->superProc_));
        wnd->superProc_ = nullptr;
        wnd->DetachHandle();
        wnd->ownsWindow_ = false;
        wnd->current_ = nullptr;
        wnd->PostNcDestroy();
        return result;
    }
    wnd->current_ = outer;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        child = reinterpret_cast<HWND>(lParam);
    } else if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
    } else if (message == WM_MEASUREITEM) {
        const MEASUREITEMSTRUCT* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, item->CtlID);
    } else if (message == WM_COMMAND) {
        child = reinterpret_cast<HWND>(lParam);
    } else if (message == WM_NOTIFY) {
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    }
    if (!child || child == m_hWnd)
        return false;
    CWnd* control = FromHandlePermanent(child);
    return control && control->OnChildNotify(message, wParam, lParam, result);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (ReflectToChild(message, wParam, lParam, result))
        return true;
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, result);
    const MessageMapEntry* entry = FindEntry(GetMessageMap(), message, 0, 0);
    if (!entry)
        return false;
    *result = entry->handler(this, wParam, lParam);
    return true;
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    // Menus send 0 and accelerators 1; both are plain commands.
    if (lParam == 0 && code == 1)
        code = CN_COMMAND;
    return OnCmdMsg(id, code, nullptr, nullptr);
}

bool CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    const MessageMapEntry* entry =
        FindEntry(GetMessageMap(), WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom));
    if (!entry)
        return false;
    *result = entry->handler(this, 0, lParam);
    return true;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (superProc_)
        return ::CallWindowProcA(superProc_, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (!current_)
        return 0;
    return DefWindowProc(current_->message, current_->wParam, current_->lParam);
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

std::string CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(length + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

void CWnd::SetWindowText(const std::string& text)
{
    ::SetWindowTextA(m_hWnd, text.c_str());
}

std::string CWnd::GetDlgItemText(int id) const
{
    HWND item = GetDlgItem(id);
    if (!item)
        return std::string();
    const int length = ::GetWindowTextLengthA(item);
    std::string text(length + 1, '\0');
    const int copied = ::GetWindowTextA(item, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

void CWnd::SetDlgItemText(int id, const std::string& text)
{
    ::SetDlgItemTextA(m_hWnd, id, text.c_str());
}

void CWnd::MoveWindow(const RECT& rect, bool repaint)
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

void CWnd::CenterWindow(HWND alternateOwner)
{
    HWND owner = alternateOwner ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    RECT area;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
