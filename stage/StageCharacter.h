#pragma once
#include "stage/CharacterData.h"
#include "stage/DispatchObject.h"
#include "stage/StageSettings.h"
#include <memory>
#include <string>

class CharacterPerformer;
class StageAction;

// Bits of the balloon's Style.
enum BalloonStyleBits : long {
    kBalloonOn = 1,
    kBalloonSizeToText = 2,
    kBalloonAutoHide = 4,
    kBalloonAutoPace = 8,
};

// A loaded character as callers see it: its size, its animation names, its balloon, and
// the requests it takes (Show, Hide, Play, Speak, MoveTo) into its queue. Once unloaded
// it still answers, but takes no more requests.
class StageCharacter : public DispatchObject<StageCharacter> {
public:
    StageCharacter(std::shared_ptr<const CharacterData> data, std::shared_ptr<const StageSettings> settings);
    ~StageCharacter() override;

    // Puts the character on the stage, hidden; false with the reason when it cannot be.
    bool Load(std::string& error);
    // Takes it off the stage for good: what it was asked to do ends interrupted.
    void Unload();

    long BalloonStyle() const { return balloonStyle_; }
    void SetBalloonStyle(long style) { balloonStyle_ = style; }

    static const DispatchMember<StageCharacter> kMembers[11];

private:
    HRESULT GetHeight(DispatchCall& call);
    HRESULT GetWidth(DispatchCall& call);
    HRESULT Play(DispatchCall& call);
    HRESULT Speak(DispatchCall& call);
    HRESULT MoveTo(DispatchCall& call);
    HRESULT Hide(DispatchCall& call);
    HRESULT Show(DispatchCall& call);
    HRESULT GetBalloon(DispatchCall& call);
    HRESULT StopAll(DispatchCall& call);
    HRESULT LanguageId(DispatchCall& call);
    HRESULT GetAnimationNames(DispatchCall& call);

    HRESULT ChangeVisibility(DispatchCall& call, bool show);
    // Queues the action and answers with its request.
    HRESULT Queue(DispatchCall& call, std::unique_ptr<StageAction> action);
    HRESULT AnswerFailure(DispatchCall& call, HRESULT code, const std::string& description);

    std::shared_ptr<const CharacterData> data_;
    std::shared_ptr<const StageSettings> settings_;
    std::unique_ptr<CharacterPerformer> performer_;
    long balloonStyle_;
    long languageId_;
};
