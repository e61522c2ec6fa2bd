#include "stage/StageControl.h"
#include "framework/ScreenDpi.h"
#include "stage/CharactersCollection.h"
#include "stage/ComRef.h"
#include "stage/DispatchObject.h"
#include "stage/StageSettings.h"
#include <memory>

namespace {

// The control: the settings its characters follow, and their collection. Releasing it
// takes its characters off the screen, as closing the real control would.
class StageControl : public DispatchObject<StageControl> {
public:
    StageControl()
        : settings_(std::make_shared<StageSettings>()),
          characters_(MakeComObject<CharactersCollection>(settings_))
    {
        settings_->dpi = ScreenDpi();
    }

    static const DispatchMember<StageControl> kMembers[2];

private:
    ~StageControl() override { characters_->UnloadAll(); }

    HRESULT GetCharacters(DispatchCall& call) { return call.ReturnDispatch(characters_.get()); }
    HRESULT RaiseRequestErrors(DispatchCall& call)
    {
        if (!call.IsPut())
            return call.ReturnBool(settings_->raiseRequestErrors);
        return call.GetBool(DispatchCall::kPutValue, settings_->raiseRequestErrors);
    }

    std::shared_ptr<StageSettings> settings_;
    ComRef<CharactersCollection> characters_;
};

const DispatchMember<StageControl> StageControl::kMembers[2] = {
    { L"Characters", 3, kDispatchGet, 0, 0, &StageControl::GetCharacters },
    { L"RaiseRequestErrors", 21, kDispatchGet | kDispatchPut, 0, 0, &StageControl::RaiseRequestErrors },
};

} // namespace

HRESULT CreateStageControl(IDispatch** control)
{
    if (!control)
        return E_POINTER;
    try {
        *control = MakeComObject<StageControl>().Detach();
    } catch (const std::bad_alloc&) {
        *control = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
