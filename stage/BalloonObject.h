#pragma once
#include "stage/ComRef.h"
#include "stage/DispatchObject.h"

class StageCharacter;

// A character's word balloon as callers see it: its style (StageCharacter's
// BalloonStyleBits), which the character's next Speak requests follow.
class BalloonObject : public DispatchObject<BalloonObject> {
public:
    explicit BalloonObject(ComRef<StageCharacter> character);

    static const DispatchMember<BalloonObject> kMembers[1];

private:
    HRESULT Style(DispatchCall& call);

    ComRef<StageCharacter> character_;
};
