#include "stage/StageCharacter.h"
#include "framework/ScreenDpi.h"
#include "stage/AnimationNamesCollection.h"
#include "stage/AutomationText.h"
#include "stage/BalloonObject.h"
#include "stage/CharacterPerformer.h"
#include "stage/ComRef.h"
#include "stage/MoveAction.h"
#include "stage/PlayAction.h"
#include "stage/RequestObject.h"
#include "stage/SpeakAction.h"
#include "stage/VisibilityAction.h"
#include <cctype>
#include <sstream>

namespace {

const long kDefaultMoveTime = 1000;  // ms

// The balloon as the file sets it up, until a caller sets a style.
long FileBalloonStyle(uint32_t flags)
{
    long style = 0;
    if (!(flags & kCharacterBalloonDisabled))
        style |= kBalloonOn;
    if (flags & kCharacterBalloonSizeToText)
        style |= kBalloonSizeToText;
    if (!(flags & kCharacterBalloonNoAutoHide))
        style |= kBalloonAutoHide;
    if (!(flags & kCharacterBalloonNoAutoPace))
        style |= kBalloonAutoPace;
    return style;
}

// The request kinds StopAll names, comma separated; false for a name it does not know.
bool ParseStopTypes(const std::string& text, unsigned& kinds, std::string& unknown)
{
    static const struct {
        const char* name;
        unsigned kinds;
    } kTypes[] = {
        { "play", kActionPlay }, { "speak", kActionSpeak }, { "move", kActionMove },
        // Requests to fetch animations: the stage has its animations at hand.
        { "get", 0 }, { "nonqueuedget", 0 },
    };
    kinds = 0;
    std::istringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        std::string name;
        for (char c : item)
            if (!std::isspace(static_cast<unsigned char>(c)))
                name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        bool known = false;
        for (const auto& type : kTypes) {
            if (name == type.name) {
                kinds |= type.kinds;
                known = true;
            }
        }
        if (!known) {
            unknown = item;
            return false;
        }
    }
    return true;
}

} // namespace

const DispatchMember<StageCharacter> StageCharacter::kMembers[11] = {
    { L"Height", 5, kDispatchGet, 0, 0, &StageCharacter::GetHeight },
    { L"Width", 6, kDispatchGet, 0, 0, &StageCharacter::GetWidth },
    { L"Play", 13, kDispatchGet, 1, 1, &StageCharacter::Play },
    { L"Speak", 15, kDispatchGet, 0, 2, &StageCharacter::Speak },
    { L"MoveTo", 18, kDispatchGet, 2, 3, &StageCharacter::MoveTo },
    { L"Hide", 19, kDispatchGet, 0, 1, &StageCharacter::Hide },
    { L"Show", 20, kDispatchGet, 0, 1, &StageCharacter::Show },
    { L"Balloon", 23, kDispatchGet, 0, 0, &StageCharacter::GetBalloon },
    { L"StopAll", 31, kDispatchGet, 0, 1, &StageCharacter::StopAll },
    { L"LanguageID", 43, kDispatchGet | kDispatchPut, 0, 0, &StageCharacter::LanguageId },
    { L"AnimationNames", 54, kDispatchGet, 0, 0, &StageCharacter::GetAnimationNames },
};

StageCharacter::StageCharacter(std::shared_ptr<const CharacterData> data, std::shared_ptr<const StageSettings> settings)
    : data_(std::move(data)), settings_(std::move(settings)), balloonStyle_(FileBalloonStyle(data_->info.flags)),
      languageId_(data_->info.localized.empty() ? 0 : data_->info.localized.front().languageId)
{
}

StageCharacter::~StageCharacter() = default;

bool StageCharacter::Load(std::string& error)
{
    auto performer = std::make_unique<CharacterPerformer>(data_, settings_->dpi);
    if (!performer->Create(error))
        return false;
    performer_ = std::move(performer);
    return true;
}

void StageCharacter::Unload()
{
    performer_.reset();
}

HRESULT StageCharacter::AnswerFailure(DispatchCall& call, HRESULT code, const std::string& description)
{
    return RequestObject::AnswerFailure(call, settings_->raiseRequestErrors, code, description);
}

HRESULT StageCharacter::Queue(DispatchCall& call, std::unique_ptr<StageAction> action)
{
    if (!performer_)
        return AnswerFailure(call, E_FAIL, "The character is no longer loaded.");
    ComRef<RequestObject> request = MakeComObject<RequestObject>(RequestStatus::Pending);
    performer_->Queue(request, std::move(action));
    return call.ReturnDispatch(request.get());
}

HRESULT StageCharacter::GetHeight(DispatchCall& call)
{
    return call.ReturnShort(static_cast<short>(ScaleForDpi(data_->info.height, settings_->dpi)));
}

HRESULT StageCharacter::GetWidth(DispatchCall& call)
{
    return call.ReturnShort(static_cast<short>(ScaleForDpi(data_->info.width, settings_->dpi)));
}

HRESULT StageCharacter::Play(DispatchCall& call)
{
    std::string name;
    const HRESULT hr = call.GetString(0, CP_UTF8, name);
    if (FAILED(hr))
        return hr;
    const CharacterAnimation* animation = data_->FindAnimation(name);
    if (!animation)
        return AnswerFailure(call, E_INVALIDARG,
                             "The character has no animation \"" + RecodeText(name, CP_UTF8, CP_ACP) + "\".");
    return Queue(call, std::make_unique<PlayAction>(*animation, false));
}

HRESULT StageCharacter::Speak(DispatchCall& call)
{
    // The second argument names a sound file to speak with; the stage speaks the text.
    std::string text;
    const HRESULT hr = call.GetOptionalString(0, CP_ACP, text);
    if (FAILED(hr))
        return hr;
    return Queue(call, std::make_unique<SpeakAction>(text, (balloonStyle_ & kBalloonOn) != 0));
}

HRESULT StageCharacter::MoveTo(DispatchCall& call)
{
    short x = 0;
    short y = 0;
    long speed = kDefaultMoveTime;
    HRESULT hr = call.GetShort(0, x);
    if (SUCCEEDED(hr))
        hr = call.GetShort(1, y);
    if (SUCCEEDED(hr))
        hr = call.GetOptionalLong(2, speed);
    if (FAILED(hr))
        return hr;
    return Queue(call, std::make_unique<MoveAction>(POINT{ x, y }, static_cast<DWORD>(speed > 0 ? speed : 0)));
}

HRESULT StageCharacter::Hide(DispatchCall& call)
{
    return ChangeVisibility(call, false);
}

HRESULT StageCharacter::Show(DispatchCall& call)
{
    return ChangeVisibility(call, true);
}

HRESULT StageCharacter::ChangeVisibility(DispatchCall& call, bool show)
{
    bool fast = false;
    const HRESULT hr = call.GetOptionalBool(0, fast);
    if (FAILED(hr))
        return hr;
    return Queue(call, std::make_unique<VisibilityAction>(show, fast));
}

HRESULT StageCharacter::GetBalloon(DispatchCall& call)
{
    ComRef<BalloonObject> balloon = MakeComObject<BalloonObject>(ComRef<StageCharacter>(this));
    return call.ReturnDispatch(balloon.get());
}

HRESULT StageCharacter::StopAll(DispatchCall& call)
{
    std::string types;
    const HRESULT hr = call.GetOptionalString(0, CP_ACP, types);
    if (FAILED(hr))
        return hr;
    unsigned kinds = kAllActions;
    std::string unknown;
    if (!types.empty() && !ParseStopTypes(types, kinds, unknown))
        return call.Raise(E_INVALIDARG, "StopAll does not know the request type \"" + unknown + "\".");
    if (performer_)
        performer_->Stop(kinds);
    return S_OK;
}

HRESULT StageCharacter::LanguageId(DispatchCall& call)
{
    // Kept for callers that read it back; the stage speaks and shows text as given.
    if (call.IsPut())
        return call.GetLong(DispatchCall::kPutValue, languageId_);
    return call.ReturnLong(languageId_);
}

HRESULT StageCharacter::GetAnimationNames(DispatchCall& call)
{
    std::vector<std::string> names;
    for (const CharacterAnimation& animation : data_->animations)
        names.push_back(animation.name);
    ComRef<AnimationNamesCollection> collection = MakeComObject<AnimationNamesCollection>(std::move(names));
    return call.ReturnDispatch(collection.get());
}
