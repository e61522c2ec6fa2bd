#pragma once
#include "stage/AnimationPlayer.h"
#include "stage/CharacterData.h"
#include "stage/StageAction.h"
#include <optional>

// Plays an animation to its end, then its return animation when it has one. A loop in
// it ends once other requests wait. Idling ends at once when a request comes.
class PlayAction : public StageAction {
public:
    PlayAction(const CharacterAnimation& animation, bool idling);

    ActionKind Kind() const override { return kActionPlay; }
    ActionState Start(CharacterPerformer& performer, DWORD now) override;
    ActionState Tick(CharacterPerformer& performer, DWORD now) override;

private:
    ActionState Begin(CharacterPerformer& performer, const CharacterAnimation& animation, DWORD now);

    const CharacterAnimation& animation_;
    bool idling_;
    bool returning_ = false;
    std::optional<AnimationPlayer> player_;
};
