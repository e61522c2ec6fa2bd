#pragma once
#include "stage/AnimationPlayer.h"
#include "stage/StageAction.h"
#include <optional>

// Show or Hide: with the character's Showing or Hiding animation, or at once when fast
// or when it has none. Showing what is visible, or hiding what is hidden, is done at
// once.
class VisibilityAction : public StageAction {
public:
    VisibilityAction(bool show, bool fast) : show_(show), fast_(fast) {}

    ActionKind Kind() const override { return kActionVisibility; }
    ActionState Start(CharacterPerformer& performer, DWORD now) override;
    ActionState Tick(CharacterPerformer& performer, DWORD now) override;

private:
    ActionState Complete(CharacterPerformer& performer);

    bool show_;
    bool fast_;
    std::optional<AnimationPlayer> player_;
};
