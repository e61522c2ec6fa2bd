#pragma once
#include "framework/MessageMap.h"
#include <string>

// Root of the framework's classes: a virtual destructor and a factory for templates.
class CObject {
public:
    virtual ~CObject() = default;
};

// Makes an object of a class named to a document template.
using CRuntimeClass = CObject* (*)();
template <class T> CObject* CreateObjectOf() { return new T; }
#define RUNTIME_CLASS(theClass) (&CreateObjectOf<theClass>)

// Tells a caller that probes for a command handler whether one exists, without running it.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* target = nullptr;
};

// An object that receives commands through its message map.
class CCmdTarget : public CObject {
public:
    // Runs the handler for a command (code CN_COMMAND or a control notification) or for
    // its user-interface update (CN_UPDATE_COMMAND_UI, extra is the CCmdUI). With
    // handlerInfo set, only reports whether a handler exists.
    virtual bool OnCmdMsg(UINT id, UINT code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // The first row of the chain that matches, or nullptr.
    static const MessageMapEntry* FindEntry(const MessageMap* map, UINT message, UINT code, UINT id);
    friend class CWnd;
};

// Enables, checks or renames one menu item or toolbar button during an update pass.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;    // set when updating a menu item
    CWnd* m_pOther = nullptr;   // set when updating another kind of control
    bool m_bEnableChanged = false;

    virtual ~CCmdUI() = default;
    virtual void Enable(bool on = true);
    virtual void SetCheck(int check = 1);
    virtual void SetText(const std::string& text);

    // Routes the update to target; with no update handler, the item is enabled exactly when
    // a command handler exists (if disableIfNoHandler).
    bool DoUpdate(CCmdTarget* target, bool disableIfNoHandler);
};
