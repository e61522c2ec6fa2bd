#include "stage/CharacterPerformer.h"
#include "stage/AcsReader.h"
#include "stage/PlayAction.h"
#include <algorithm>
#include <cctype>

namespace {

const UINT kBusyTick = 10;    // ms between ticks while requests are performed
const UINT kIdleTick = 500;   // ms between looks at the clock while idle
const DWORD kShortestIdleWait = 10000;
const DWORD kLongestIdleWait = 20000;

// State names are written "Moving Left" in some files and "MOVINGLEFT" in others.
std::string StateKey(const std::string& name)
{
    std::string key;
    for (char c : name)
        if (c != ' ')
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

CharacterPerformer::CharacterPerformer(std::shared_ptr<const CharacterData> data, int dpi)
    : data_(std::move(data)), composer_(*data_), balloon_(data_->info.balloon, dpi), dpi_(dpi),
      random_(::GetTickCount())
{
}

CharacterPerformer::~CharacterPerformer()
{
    Stop(kAllActions);
}

bool CharacterPerformer::Create(std::string& error)
{
    const CharacterInfo& info = data_->info;
    if (info.width == 0 || info.height == 0 || info.width > kAcsMaxImageSide || info.height > kAcsMaxImageSide) {
        error = "its frame size of " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                " pixels is not one the stage can show";
        return false;
    }
    if (!window_.Create(data_->info.width, data_->info.height, dpi_, error) || !balloon_.Create(error))
        return false;
    CharacterVoice voice;
    std::string unused;
    if (!info.voice.empty() && DecodeCharacterVoice(info.voice, voice, unused))
        speech_.Use(SpeechSettingsFor(voice));
    restFrame_ = ChooseRestFrame();
    idling_ = FindState("Idling", true);
    ShowRestFrame();
    return true;
}

void CharacterPerformer::Queue(ComRef<RequestObject> request, std::unique_ptr<StageAction> action)
{
    queue_.Push(QueuedRequest{ std::move(request), std::move(action) });
    KeepTicking(kBusyTick);
}

void CharacterPerformer::Stop(unsigned kinds)
{
    queue_.Interrupt(kinds);
    // Idling is no request; any stop ends it.
    if (current_.action && (!current_.request || (current_.action->Kind() & kinds))) {
        current_.action->Stop(*this);
        if (current_.request)
            current_.request->SetStatus(RequestStatus::Interrupted);
        current_ = QueuedRequest();
        ShowRestFrame();
    }
    // A sound outlives the animation that started it until something stops it.
    if (!current_.action)
        StopSound();
}

const CharacterState* CharacterPerformer::FindState(const std::string& name, bool prefix) const
{
    const std::string wanted = StateKey(name);
    for (const CharacterState& state : data_->info.states) {
        const std::string key = StateKey(state.name);
        if (prefix ? key.compare(0, wanted.size(), wanted) == 0 : key == wanted)
            return &state;
    }
    return nullptr;
}

const CharacterAnimation* CharacterPerformer::PickAnimation(const CharacterState& state)
{
    std::vector<const CharacterAnimation*> playable;
    for (const std::string& name : state.animations) {
        const CharacterAnimation* animation = data_->FindAnimation(name);
        if (animation && !animation->frames.empty())
            playable.push_back(animation);
    }
    if (playable.empty())
        return nullptr;
    return playable[random_() % playable.size()];
}

const CharacterAnimation* CharacterPerformer::StateAnimation(const std::string& name)
{
    const CharacterState* state = FindState(name, false);
    return state ? PickAnimation(*state) : nullptr;
}

const CharacterFrame* CharacterPerformer::ChooseRestFrame()
{
    const CharacterAnimation* rest = data_->FindAnimation("RestPose");
    if (rest && !rest->frames.empty())
        return &rest->frames.front();
    // Where the character has just appeared is how it stands.
    const CharacterState* showing = FindState("Showing", false);
    if (const CharacterAnimation* animation = showing ? PickAnimation(*showing) : nullptr)
        return &animation->frames.back();
    for (const CharacterAnimation& animation : data_->animations)
        if (!animation.frames.empty())
            return &animation.frames.front();
    return nullptr;
}

void CharacterPerformer::ShowFrame(const CharacterFrame* frame, int mouth)
{
    if (presented_ && frame == frame_ && mouth == mouth_)
        return;
    const bool newFrame = frame != frame_;
    frame_ = frame;
    mouth_ = mouth;
    composer_.Compose(frame, mouth, window_.Pixels());
    presented_ = window_.Present();
    if (newFrame && window_.IsVisible())
        SoundCurrentFrame();
}

void CharacterPerformer::SoundCurrentFrame()
{
    if (frame_ && frame_->audio >= 0 && static_cast<size_t>(frame_->audio) < data_->audio.size())
        sound_.Play(data_->audio[frame_->audio]);
}

bool CharacterPerformer::PlayStep(AnimationPlayer& player, DWORD now, int mouth)
{
    if (RequestsWaiting())
        player.EndAtLoop();
    player.Advance(now);
    ShowFrame(player.Frame(), mouth);
    return player.Finished();
}

void CharacterPerformer::KeepTicking(UINT interval)
{
    if (tickInterval_ == interval)
        return;
    tickInterval_ = interval;
    if (interval)
        window_.StartTicking(interval, [this] { Tick(); });
    else
        window_.StopTicking();
}

void CharacterPerformer::Tick()
{
    // Should anything an action calls run messages (a voice starting up may), a nested
    // tick must not touch the action still at work.
    if (inTick_)
        return;
    inTick_ = true;
    const DWORD now = ::GetTickCount();
    if (current_.action) {
        const ActionState state = current_.action->Tick(*this, now);
        if (state != ActionState::Running)
            Finish(state, now);
    }
    while (!current_.action && !queue_.Empty()) {
        current_ = queue_.TakeNext();
        const ActionState state = current_.action->Start(*this, now);
        if (state != ActionState::Running)
            Finish(state, now);
    }
    const bool canIdle = idling_ && window_.IsVisible();
    if (!current_.action && canIdle && static_cast<LONG>(now - idleAt_) >= 0)
        BeginIdling(now);
    KeepTicking(current_.action ? kBusyTick : canIdle ? kIdleTick : 0);
    inTick_ = false;
}

void CharacterPerformer::Finish(ActionState state, DWORD now)
{
    if (current_.request)
        current_.request->SetStatus(state == ActionState::Complete ? RequestStatus::Complete : RequestStatus::Failed);
    current_ = QueuedRequest();
    // Idling waits a while after the last thing done.
    idleAt_ = now + kShortestIdleWait + random_() % (kLongestIdleWait - kShortestIdleWait);
}

void CharacterPerformer::BeginIdling(DWORD now)
{
    const CharacterAnimation* animation = PickAnimation(*idling_);
    if (!animation)
        return;
    current_.action = std::make_unique<PlayAction>(*animation, true);
    if (current_.action->Start(*this, now) != ActionState::Running)
        Finish(ActionState::Complete, now);
}
