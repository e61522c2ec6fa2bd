#include "agent/AgentDispatch.h"

namespace dispid {
// The control's own dispatch ids.
enum : DISPID {
    ControlCharacters = 3,
    ControlRaiseRequestErrors = 21,
    CharactersLoad = 1,
    CharactersUnload = 2,
    CharactersCharacter = 3,
    CharacterHeight = 5,
    CharacterWidth = 6,
    CharacterPlay = 13,
    CharacterSpeak = 15,
    CharacterMoveTo = 18,
    CharacterHide = 19,
    CharacterShow = 20,
    CharacterBalloon = 23,
    CharacterStopAll = 31,
    CharacterLanguageID = 43,
    CharacterAnimationNames = 54,
    BalloonStyle = 16,
    RequestStatus = 1,
};
}

long AgentRequest::GetStatus() const
{
    return GetLong(dispid::RequestStatus, 1);
}

HRESULT AgentBalloon::SetStyle(long style) const
{
    CVariant value(style);
    return PutProperty(dispid::BalloonStyle, value.value());
}

IEnumVARIANT* AgentAnimationNames::NewEnum() const
{
    CVariant result;
    if (FAILED(Invoke(DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, result.get())))
        return nullptr;
    const VARIANT& value = result.value();
    IUnknown* unknown = value.vt == VT_UNKNOWN ? value.punkVal : value.vt == VT_DISPATCH ? value.pdispVal : nullptr;
    IEnumVARIANT* enumerator = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&enumerator))))
        return nullptr;
    return enumerator;
}

short AgentCharacter::GetHeight() const
{
    return static_cast<short>(GetLong(dispid::CharacterHeight, 0));
}

short AgentCharacter::GetWidth() const
{
    return static_cast<short>(GetLong(dispid::CharacterWidth, 0));
}

AgentRequest AgentCharacter::Play(const std::string& animation) const
{
    CVariant name(animation);
    return AgentRequest(GetObject(dispid::CharacterPlay, DISPATCH_METHOD, { name.get() }));
}

AgentRequest AgentCharacter::Speak(const VARIANT& text, const VARIANT& url) const
{
    return AgentRequest(GetObject(dispid::CharacterSpeak, DISPATCH_METHOD, { &text, &url }));
}

AgentRequest AgentCharacter::MoveTo(short x, short y, const VARIANT& speed) const
{
    CVariant left(x), top(y);
    return AgentRequest(GetObject(dispid::CharacterMoveTo, DISPATCH_METHOD, { left.get(), top.get(), &speed }));
}

AgentRequest AgentCharacter::Hide(const VARIANT& fast) const
{
    return AgentRequest(GetObject(dispid::CharacterHide, DISPATCH_METHOD, { &fast }));
}

AgentRequest AgentCharacter::Show(const VARIANT& fast) const
{
    return AgentRequest(GetObject(dispid::CharacterShow, DISPATCH_METHOD, { &fast }));
}

AgentBalloon AgentCharacter::GetBalloon() const
{
    return AgentBalloon(GetObject(dispid::CharacterBalloon, DISPATCH_PROPERTYGET));
}

HRESULT AgentCharacter::StopAll(const VARIANT& types) const
{
    return Invoke(dispid::CharacterStopAll, DISPATCH_METHOD, { &types }, nullptr);
}

HRESULT AgentCharacter::SetLanguageID(long language) const
{
    CVariant value(language);
    return PutProperty(dispid::CharacterLanguageID, value.value());
}

AgentAnimationNames AgentCharacter::GetAnimationNames() const
{
    return AgentAnimationNames(GetObject(dispid::CharacterAnimationNames, DISPATCH_PROPERTYGET));
}

AgentRequest AgentCharacters::Load(const std::string& characterId, const VARIANT& loadKey) const
{
    CVariant id(characterId);
    return AgentRequest(GetObject(dispid::CharactersLoad, DISPATCH_METHOD, { id.get(), &loadKey }));
}

HRESULT AgentCharacters::Unload(const std::string& characterId) const
{
    CVariant id(characterId);
    return Invoke(dispid::CharactersUnload, DISPATCH_METHOD, { id.get() }, nullptr);
}

AgentCharacter AgentCharacters::Character(const std::string& characterId) const
{
    CVariant id(characterId);
    return AgentCharacter(GetObject(dispid::CharactersCharacter, DISPATCH_METHOD, { id.get() }));
}

AgentCharacters AgentControl::GetCharacters() const
{
    return AgentCharacters(GetObject(dispid::ControlCharacters, DISPATCH_PROPERTYGET));
}

HRESULT AgentControl::SetRaiseRequestErrors(bool raise) const
{
    CVariant value(raise);
    return PutProperty(dispid::ControlRaiseRequestErrors, value.value());
}
