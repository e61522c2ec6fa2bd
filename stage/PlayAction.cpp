#include "stage/PlayAction.h"
#include "stage/CharacterPerformer.h"

PlayAction::PlayAction(const CharacterAnimation& animation, bool idling) : animation_(animation), idling_(idling) {}

ActionState PlayAction::Start(CharacterPerformer& performer, DWORD now)
{
    performer.StopSound();
    return Begin(performer, animation_, now);
}

ActionState PlayAction::Begin(CharacterPerformer& performer, const CharacterAnimation& animation, DWORD now)
{
    player_.emplace(animation, performer.Random());
    player_->Start(now);
    if (player_->Finished())
        return ActionState::Complete;
    performer.ShowFrame(player_->Frame());
    return ActionState::Running;
}

ActionState PlayAction::Tick(CharacterPerformer& performer, DWORD now)
{
    if (idling_ && performer.RequestsWaiting())
        player_->ExitNow();
    if (!performer.PlayStep(*player_, now))
        return ActionState::Running;
    if (returning_ || animation_.transition != kTransitionReturnAnimation)
        return ActionState::Complete;
    returning_ = true;
    const CharacterAnimation* back = performer.Data().FindAnimation(animation_.returnAnimation);
    if (!back || back == &animation_)
        return ActionState::Complete;
    return Begin(performer, *back, now);
}
