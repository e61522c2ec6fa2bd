#include "agent/AgentApp.h"
#include "framework/WaitCursor.h"
#include "greeting/Vocabulary.h"
#include "settings/FileUtil.h"
#include <algorithm>

CAgentApp* GetAgentApp()
{
    return dynamic_cast<CAgentApp*>(AfxGetApp());
}

bool CAgentApp::CreateAgentControl(CWnd* parent)
{
    if (agentControl_.m_hWnd)
        agentControl_.DestroyWindow();
    const RECT empty = { 0, 0, 0, 0 };
    agentControl_.Create("Parlacard", 0, empty, parent, 0);
    agentControl_.GetControl().SetRaiseRequestErrors(false);
    CurrentCharacterName.clear();
    return true;
}

int CAgentApp::ExitInstance()
{
    const int result = CWinApp::ExitInstance();
    if (agentControl_.m_hWnd)
        agentControl_.DestroyWindow();
    CurrentCharacterName.clear();
    return result;
}

bool CAgentApp::LoadCharacter(const std::string& name)
{
    // A control that went with its parent window took its character along.
    if (name == CurrentCharacterName && agentControl_.GetControl().IsValid())
        return true;
    const std::string path = FindCharacterFile(name);
    if (path.empty())
        return false;
    CWaitCursor wait;
    const AgentCharacters characters = agentControl_.GetControl().GetCharacters();
    characters.Unload(AgentCharacterId);  // nothing may be loaded yet
    // The previous character is gone now, loaded or not.
    CurrentCharacterName.clear();
    CVariant loadKey(path);
    const AgentRequest request = characters.Load(AgentCharacterId, loadKey.value());
    if (request.GetStatus() != 0)
        return false;
    GetCurrentCharacter().SetLanguageID(1033);
    MoveToPosition("Center");
    CurrentCharacterName = name;
    return true;
}

AgentCharacter CAgentApp::GetCurrentCharacter() const
{
    return agentControl_.GetControl().GetCharacters().Character(AgentCharacterId);
}

void CAgentApp::ShowCharacter(bool fast) const
{
    CVariant flag(fast);
    GetCurrentCharacter().Show(flag.value());
}

void CAgentApp::HideCharacter(bool fast) const
{
    CVariant flag(fast);
    GetCurrentCharacter().Hide(flag.value());
}

void CAgentApp::StopCharacter() const
{
    CVariant allTypes;
    GetCurrentCharacter().StopAll(allTypes.value());
}

void CAgentApp::PerformCharacter(const std::string& text, const std::string& animationBefore, bool fast,
                                 bool hideAfter, const std::string& animationAfter) const
{
    ShowCharacter(fast);
    const AgentCharacter character = GetCurrentCharacter();
    character.GetBalloon().SetStyle(BalloonStyle);
    if (!animationBefore.empty())
        character.Play(animationBefore);
    if (!text.empty()) {
        CVariant words(text), noUrl;
        character.Speak(words.value(), noUrl.value());
    }
    if (!animationAfter.empty())
        character.Play(animationAfter);
    if (hideAfter)
        HideCharacter(fast);
}

void InsertByFirstCharacter(std::vector<std::string>& names, const std::string& name)
{
    const unsigned char first = static_cast<unsigned char>(name[0]);
    auto it = names.begin();
    while (it != names.end() && !(!it->empty() && static_cast<unsigned char>((*it)[0]) > first))
        ++it;
    names.insert(it, name);
}

bool CAgentApp::GetAnimationNames(std::vector<std::string>& names) const
{
    names.clear();
    names.push_back(NoAnimation);
    IEnumVARIANT* enumerator = GetCurrentCharacter().GetAnimationNames().NewEnum();
    if (!enumerator)
        return false;
    VARIANT item;
    ::VariantInit(&item);
    ULONG fetched = 0;
    while (enumerator->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        if (SUCCEEDED(::VariantChangeType(&item, &item, 0, VT_BSTR)) && item.bstrVal && ::SysStringLen(item.bstrVal)) {
            const int length = ::WideCharToMultiByte(CP_ACP, 0, item.bstrVal, ::SysStringLen(item.bstrVal), nullptr, 0,
                                                     nullptr, nullptr);
            std::string name(length, '\0');
            ::WideCharToMultiByte(CP_ACP, 0, item.bstrVal, ::SysStringLen(item.bstrVal), &name[0], length, nullptr,
                                  nullptr);
            InsertByFirstCharacter(names, name);
        }
        ::VariantClear(&item);
    }
    enumerator->Release();
    return true;
}

namespace {

// The start of a span of `size` pulled inside [low, high); `low` when it cannot fit.
int PulledInside(int start, int size, int low, int high)
{
    if (size > high - low)
        return low;
    return std::clamp(start, low, high - size);
}

POINT NamedPoint(const std::string& position, int screenWidth, int screenHeight, int width, int height)
{
    const int middleX = screenWidth / 2;
    const int middleY = screenHeight / 2;
    const int right = screenWidth - width;
    const int bottom = screenHeight - height;
    if (position == "Top Left") return { 0, 0 };
    if (position == "Top Center") return { middleX, 0 };
    if (position == "Top Right") return { right, 0 };
    if (position == "Middle Left") return { 0, middleY };
    if (position == "Middle Right") return { right, middleY };
    if (position == "Bottom Left") return { 0, bottom };
    if (position == "Bottom Center") return { middleX, bottom };
    if (position == "Bottom Right") return { right, bottom };
    return { middleX, middleY };
}

} // namespace

POINT PositionPoint(const std::string& position, int screenWidth, int screenHeight, int width, int height,
                    const RECT& workArea)
{
    const POINT named = NamedPoint(position, screenWidth, screenHeight, width, height);
    return { PulledInside(named.x, width, workArea.left, workArea.right),
             PulledInside(named.y, height, workArea.top, workArea.bottom) };
}

RECT WorkAreaOf(int screenWidth, int screenHeight)
{
    RECT area{};
    const int realWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int realHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || realWidth <= 0 || realHeight <= 0)
        return { 0, 0, screenWidth, screenHeight };
    // What the system keeps at each edge, kept off the same edges of this screen.
    return { std::max(0L, area.left), std::max(0L, area.top),
             screenWidth - std::max(0L, realWidth - area.right), screenHeight - std::max(0L, realHeight - area.bottom) };
}

void CAgentApp::MoveToPosition(const std::string& position)
{
    standingAt_ = position;
    const AgentCharacter character = GetCurrentCharacter();
    const POINT target = PositionPoint(position, ScreenWidth, ScreenHeight, character.GetWidth(), character.GetHeight(),
                                       WorkAreaOf(ScreenWidth, ScreenHeight));
    CVariant defaultSpeed;
    character.MoveTo(static_cast<short>(target.x), static_cast<short>(target.y), defaultSpeed.value());
}

bool CAgentApp::GetStandingRect(RECT& rect) const
{
    if (CurrentCharacterName.empty())
        return false;
    const AgentCharacter character = GetCurrentCharacter();
    const int width = character.GetWidth();
    const int height = character.GetHeight();
    if (width <= 0 || height <= 0)
        return false;
    const POINT at = PositionPoint(standingAt_, ScreenWidth, ScreenHeight, width, height,
                                   WorkAreaOf(ScreenWidth, ScreenHeight));
    rect = { at.x, at.y, at.x + width, at.y + height };
    return true;
}
