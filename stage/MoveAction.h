#pragma once
#include "stage/AnimationPlayer.h"
#include "stage/StageAction.h"
#include <optional>

// Glides the character's window to a point (its top left corner) in the given time,
// playing the character's moving animation for the direction on the way; a time of 0,
// or a character that is hidden, jumps there.
class MoveAction : public StageAction {
public:
    MoveAction(POINT target, DWORD duration) : target_(target), duration_(duration) {}

    ActionKind Kind() const override { return kActionMove; }
    ActionState Start(CharacterPerformer& performer, DWORD now) override;
    ActionState Tick(CharacterPerformer& performer, DWORD now) override;
    void Stop(CharacterPerformer& performer) override;

private:
    POINT target_;
    DWORD duration_;
    POINT from_{};
    DWORD start_ = 0;
    std::optional<AnimationPlayer> player_;
};
