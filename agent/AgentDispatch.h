#pragma once
#include "framework/DispatchDriver.h"
#include <string>

// Thin wrappers of the character control's automation objects. Each member calls one
// member of the control by its dispatch id; objects come back wrapped, released when
// they go out of scope.

class AgentRequest : public CDispatchDriver {
public:
    using CDispatchDriver::CDispatchDriver;
    explicit AgentRequest(CDispatchDriver&& driver) : CDispatchDriver(std::move(driver)) {}
    // 0 complete, 1 failed, 2 pending, 3 interrupted, 4 in progress; 1 when unreadable.
    long GetStatus() const;
};

class AgentBalloon : public CDispatchDriver {
public:
    using CDispatchDriver::CDispatchDriver;
    explicit AgentBalloon(CDispatchDriver&& driver) : CDispatchDriver(std::move(driver)) {}
    HRESULT SetStyle(long style) const;
};

class AgentAnimationNames : public CDispatchDriver {
public:
    using CDispatchDriver::CDispatchDriver;
    explicit AgentAnimationNames(CDispatchDriver&& driver) : CDispatchDriver(std::move(driver)) {}
    // The collection's standard enumerator, or null; the caller releases it.
    IEnumVARIANT* NewEnum() const;
};

class AgentCharacter : public CDispatchDriver {
public:
    using CDispatchDriver::CDispatchDriver;
    explicit AgentCharacter(CDispatchDriver&& driver) : CDispatchDriver(std::move(driver)) {}
    short GetHeight() const;
    short GetWidth() const;
    AgentRequest Play(const std::string& animation) const;
    AgentRequest Speak(const VARIANT& text, const VARIANT& url) const;
    AgentRequest MoveTo(short x, short y, const VARIANT& speed) const;
    AgentRequest Hide(const VARIANT& fast) const;
    AgentRequest Show(const VARIANT& fast) const;
    AgentBalloon GetBalloon() const;
    HRESULT StopAll(const VARIANT& types) const;
    HRESULT SetLanguageID(long language) const;
    AgentAnimationNames GetAnimationNames() const;
};

class AgentCharacters : public CDispatchDriver {
public:
    using CDispatchDriver::CDispatchDriver;
    explicit AgentCharacters(CDispatchDriver&& driver) : CDispatchDriver(std::move(driver)) {}
    AgentRequest Load(const std::string& characterId, const VARIANT& loadKey) const;
    HRESULT Unload(const std::string& characterId) const;
    AgentCharacter Character(const std::string& characterId) const;
};

class AgentControl : public CDispatchDriver {
public:
    using CDispatchDriver::CDispatchDriver;
    AgentCharacters GetCharacters() const;
    HRESULT SetRaiseRequestErrors(bool raise) const;
};
