#include "stage/BalloonObject.h"
#include "stage/StageCharacter.h"

const DispatchMember<BalloonObject> BalloonObject::kMembers[1] = {
    { L"Style", 16, kDispatchGet | kDispatchPut, 0, 0, &BalloonObject::Style },
};

BalloonObject::BalloonObject(ComRef<StageCharacter> character) : character_(std::move(character)) {}

HRESULT BalloonObject::Style(DispatchCall& call)
{
    if (!call.IsPut())
        return call.ReturnLong(character_->BalloonStyle());
    long style = 0;
    const HRESULT hr = call.GetLong(DispatchCall::kPutValue, style);
    if (SUCCEEDED(hr))
        character_->SetBalloonStyle(style);
    return hr;
}
