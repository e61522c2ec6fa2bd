#include "stage/VisibilityAction.h"
#include "stage/CharacterPerformer.h"

ActionState VisibilityAction::Start(CharacterPerformer& performer, DWORD now)
{
    CharacterWindow& window = performer.Window();
    if (window.IsVisible() == show_)
        return ActionState::Complete;
    const CharacterAnimation* animation = fast_ ? nullptr : performer.StateAnimation(show_ ? "Showing" : "Hiding");
    if (!animation) {
        if (show_)
            performer.ShowRestFrame();
        return Complete(performer);
    }
    player_.emplace(*animation, performer.Random());
    player_->Start(now);
    performer.ShowFrame(player_->Frame());
    if (show_) {
        window.Show();
        performer.SoundCurrentFrame();
    }
    return ActionState::Running;
}

ActionState VisibilityAction::Tick(CharacterPerformer& performer, DWORD now)
{
    if (!performer.PlayStep(*player_, now))
        return ActionState::Running;
    return Complete(performer);
}

ActionState VisibilityAction::Complete(CharacterPerformer& performer)
{
    if (show_) {
        performer.Window().Show();
    } else {
        performer.Window().Hide();
        performer.StopSound();
    }
    return ActionState::Complete;
}
