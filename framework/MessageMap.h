#pragma once
#include <windows.h>
#include <commctrl.h>
#include "framework/FrameworkIds.h"

// Static message maps: each class has a table of rows (message, notification code, id range,
// handler), chained to its base class's table. One routine walks the chain; every row calls
// its handler through a small thunk made from the member function's type.

class CCmdTarget;
class CCmdUI;
class CWnd;

using MessageHandler = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;   // WM_COMMAND and WM_NOTIFY rows also match code and id
    UINT code;      // notification code, or CN_COMMAND / CN_UPDATE_COMMAND_UI
    UINT firstId;
    UINT lastId;
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* (*getBaseMap)();
    const MessageMapEntry* entries;
};

namespace msgmap {

template <class F> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> { using type = C; };
template <auto F> using ClassOf = typename MemberOf<decltype(F)>::type;
template <auto F> ClassOf<F>* Self(CCmdTarget* target) { return static_cast<ClassOf<F>*>(target); }

// void OnX()
template <auto F> LRESULT Void(CCmdTarget* t, WPARAM, LPARAM) { (Self<F>(t)->*F)(); return 0; }
// void OnCommandRange(UINT id)
template <auto F> LRESULT Range(CCmdTarget* t, WPARAM id, LPARAM) { (Self<F>(t)->*F)(static_cast<UINT>(id)); return 0; }
// void OnUpdateX(CCmdUI*)
template <auto F> LRESULT CmdUI(CCmdTarget* t, WPARAM, LPARAM ui) { (Self<F>(t)->*F)(reinterpret_cast<CCmdUI*>(ui)); return 0; }
// void OnNotify(NMHDR*, LRESULT*)
template <auto F> LRESULT Notify(CCmdTarget* t, WPARAM, LPARAM hdr)
{
    LRESULT result = 0;
    (Self<F>(t)->*F)(reinterpret_cast<NMHDR*>(hdr), &result);
    return result;
}
// LRESULT OnMessage(WPARAM, LPARAM)
template <auto F> LRESULT Message(CCmdTarget* t, WPARAM w, LPARAM l) { return (Self<F>(t)->*F)(w, l); }
// int OnCreate(LPCREATESTRUCTA)
template <auto F> LRESULT Create(CCmdTarget* t, WPARAM, LPARAM l)
{
    return (Self<F>(t)->*F)(reinterpret_cast<LPCREATESTRUCTA>(l));
}
// void OnSize(UINT type, int cx, int cy)
template <auto F> LRESULT Size(CCmdTarget* t, WPARAM w, LPARAM l)
{
    (Self<F>(t)->*F)(static_cast<UINT>(w), static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
    return 0;
}
// void OnTimer(UINT_PTR id)
template <auto F> LRESULT Timer(CCmdTarget* t, WPARAM w, LPARAM) { (Self<F>(t)->*F)(static_cast<UINT_PTR>(w)); return 0; }
// void OnGetMinMaxInfo(MINMAXINFO*)
template <auto F> LRESULT MinMax(CCmdTarget* t, WPARAM, LPARAM l) { (Self<F>(t)->*F)(reinterpret_cast<MINMAXINFO*>(l)); return 0; }
// void OnInitMenuPopup(HMENU, UINT index, BOOL sysMenu)
template <auto F> LRESULT InitMenuPopup(CCmdTarget* t, WPARAM w, LPARAM l)
{
    (Self<F>(t)->*F)(reinterpret_cast<HMENU>(w), LOWORD(l), HIWORD(l) != 0);
    return 0;
}

// void OnMenuSelect(UINT id, UINT flags, HMENU menu)
template <auto F> LRESULT MenuSelect(CCmdTarget* t, WPARAM w, LPARAM l)
{
    (Self<F>(t)->*F)(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l));
    return 0;
}

} // namespace msgmap

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const MessageMap* GetThisMessageMap();          \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }       \
    const MessageMap* theClass::GetThisMessageMap()                                         \
    {                                                                                       \
        using ThisClass = theClass;                                                         \
        using TheBaseClass = baseClass;                                                     \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                   \
            { 0, 0, 0, 0, nullptr }                                                         \
        };                                                                                  \
        static const MessageMap map = { &TheBaseClass::GetThisMessageMap, entries };        \
        return &map;                                                                        \
    }

#define ON_COMMAND(id, fn) { WM_COMMAND, CN_COMMAND, (id), (id), &msgmap::Void<&ThisClass::fn> },
#define ON_COMMAND_RANGE(first, last, fn) { WM_COMMAND, CN_COMMAND, (first), (last), &msgmap::Range<&ThisClass::fn> },
#define ON_UPDATE_COMMAND_UI(id, fn) { WM_COMMAND, CN_UPDATE_COMMAND_UI, (id), (id), &msgmap::CmdUI<&ThisClass::fn> },
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn) { WM_COMMAND, CN_UPDATE_COMMAND_UI, (first), (last), &msgmap::CmdUI<&ThisClass::fn> },
#define ON_CONTROL(code, id, fn) { WM_COMMAND, (code), (id), (id), &msgmap::Void<&ThisClass::fn> },
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) { WM_NOTIFY, (UINT)(code), (id), (id), &msgmap::Notify<&ThisClass::fn> },
#define ON_NOTIFY_RANGE(code, first, last, fn) { WM_NOTIFY, (UINT)(code), (first), (last), &msgmap::Notify<&ThisClass::fn> },
#define ON_MESSAGE(message, fn) { (message), 0, 0, 0, &msgmap::Message<&ThisClass::fn> },
#define ON_WM_CREATE() { WM_CREATE, 0, 0, 0, &msgmap::Create<&ThisClass::OnCreate> },
#define ON_WM_DESTROY() { WM_DESTROY, 0, 0, 0, &msgmap::Void<&ThisClass::OnDestroy> },
#define ON_WM_CLOSE() { WM_CLOSE, 0, 0, 0, &msgmap::Void<&ThisClass::OnClose> },
#define ON_WM_PAINT() { WM_PAINT, 0, 0, 0, &msgmap::Void<&ThisClass::OnPaint> },
#define ON_WM_SIZE() { WM_SIZE, 0, 0, 0, &msgmap::Size<&ThisClass::OnSize> },
#define ON_WM_TIMER() { WM_TIMER, 0, 0, 0, &msgmap::Timer<&ThisClass::OnTimer> },
#define ON_WM_GETMINMAXINFO() { WM_GETMINMAXINFO, 0, 0, 0, &msgmap::MinMax<&ThisClass::OnGetMinMaxInfo> },
#define ON_WM_MENUSELECT() { WM_MENUSELECT, 0, 0, 0, &msgmap::MenuSelect<&ThisClass::OnMenuSelect> },
#define ON_WM_INITMENUPOPUP() { WM_INITMENUPOPUP, 0, 0, 0, &msgmap::InitMenuPopup<&ThisClass::OnInitMenuPopup> },
