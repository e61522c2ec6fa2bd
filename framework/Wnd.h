#pragma once
#include "framework/CmdTarget.h"
#include <string>

// A window of the program. Messages reach it through its message map; what the map does
// not handle goes to the window's previous procedure (its class's, or the one it had
// before it was subclassed).
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to a window handle, or nullptr.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creates the window and attaches it to this object before its first message.
    bool CreateEx(DWORD exStyle, const char* className, const std::string& windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR idOrMenu, void* param = nullptr);
    // Takes over an existing window (a dialog's control), routing its messages here, then
    // lets the object prepare itself (PreSubclassWindow).
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual bool DestroyWindow();

    // The class used for windows that the framework registers itself.
    static const char* RegisterWindowClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

    // Message handling
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool PreTranslateMessage(MSG* msg);
    virtual bool PreCreateWindow(CREATESTRUCTA& cs);
    // Runs after the last message; windows that own themselves delete themselves here.
    virtual void PostNcDestroy() {}
    // Runs once an existing control has been attached by SubclassWindow.
    virtual void PreSubclassWindow() {}
    // A notification or colour/drawing request that this control sent its parent, handed
    // back to the control first; true when the control answered it (in result).
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Thin helpers over the window functions
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command) != FALSE; }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void MoveWindow(const RECT& rect, bool repaint = true);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
    }
    void CenterWindow(HWND alternateOwner = nullptr);

protected:
    // Default processing of the message being handled now.
    LRESULT Default();

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    WNDPROC superProc_ = nullptr;
    bool ownsWindow_ = false;   // created by us, not a subclassed control
    const CurrentMessage* current_ = nullptr;

    void AttachHandle(HWND hwnd);
    bool HookWindowProc(HWND hwnd);
    // Passes a child's message back to the child's object; true when it answered.
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void DetachHandle();
    static LRESULT CALLBACK WndProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    friend class CDialog;
    friend class WindowCreationScope;
};

// While alive, the next window created on this thread is attached to wnd before its
// first message. Used by CreateEx and by dialogs, whose windows the system creates.
class WindowCreationScope {
public:
    explicit WindowCreationScope(CWnd* wnd);
    ~WindowCreationScope();
    WindowCreationScope(const WindowCreationScope&) = delete;
    WindowCreationScope& operator=(const WindowCreationScope&) = delete;

private:
    CWnd* previous_;
    HHOOK hook_;
};
