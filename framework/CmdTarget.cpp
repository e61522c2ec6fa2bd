#include "framework/CmdTarget.h"
#include "framework/Wnd.h"

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = { { 0, 0, 0, 0, nullptr } };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const MessageMapEntry* CCmdTarget::FindEntry(const MessageMap* map, UINT message, UINT code, UINT id)
{
    const bool routed = message == WM_COMMAND || message == WM_NOTIFY;
    for (; map; map = map->getBaseMap ? map->getBaseMap() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->handler; ++entry) {
            if (entry->message != message)
                continue;
            if (!routed || (entry->code == code && id >= entry->firstId && id <= entry->lastId))
                return entry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    const MessageMapEntry* entry = FindEntry(GetMessageMap(), WM_COMMAND, code, id);
    if (!entry)
        return false;
    if (handlerInfo) {
        handlerInfo->target = this;
        return true;
    }
    entry->handler(this, id, reinterpret_cast<LPARAM>(extra));
    return true;
}

void CCmdUI::Enable(bool on)
{
    if (m_hMenu) {
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // A control that gets disabled while it has the focus would trap the keyboard.
        if (!on && ::GetFocus() == m_pOther->m_hWnd)
            ::SendMessageA(::GetParent(m_pOther->m_hWnd), WM_NEXTDLGCTL, 0, FALSE);
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check)
{
    if (m_hMenu)
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    else if (m_pOther)
        ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, check, 0);
}

void CCmdUI::SetText(const std::string& text)
{
    if (m_hMenu) {
        const UINT state = ::GetMenuState(m_hMenu, m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        ::ModifyMenuA(m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text.c_str());
    } else if (m_pOther) {
        m_pOther->SetWindowText(text);
    }
}

bool CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler)
{
    m_bEnableChanged = false;
    if (target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr))
        return true;
    if (disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return false;
}
