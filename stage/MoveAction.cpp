#include "stage/MoveAction.h"
#include "stage/CharacterPerformer.h"
#include <cstdlib>

namespace {

// The state whose animation shows the character moving that way.
const char* MovingState(POINT from, POINT to)
{
    const long dx = to.x - from.x;
    const long dy = to.y - from.y;
    if (std::labs(dx) >= std::labs(dy))
        return dx < 0 ? "Moving Left" : "Moving Right";
    return dy < 0 ? "Moving Up" : "Moving Down";
}

} // namespace

ActionState MoveAction::Start(CharacterPerformer& performer, DWORD now)
{
    from_ = performer.Window().Position();
    start_ = now;
    // A glide nobody can see would only hold up what comes next.
    if (duration_ == 0 || !performer.Window().IsVisible() || (from_.x == target_.x && from_.y == target_.y)) {
        performer.Window().MoveTo(target_);
        return ActionState::Complete;
    }
    if (const CharacterAnimation* animation = performer.StateAnimation(MovingState(from_, target_))) {
        player_.emplace(*animation, performer.Random());
        player_->Start(now);
        performer.ShowFrame(player_->Frame());
    }
    return ActionState::Running;
}

ActionState MoveAction::Tick(CharacterPerformer& performer, DWORD now)
{
    const DWORD elapsed = now - start_;
    if (elapsed >= duration_) {
        performer.Window().MoveTo(target_);
        Stop(performer);
        return ActionState::Complete;
    }
    const int done = static_cast<int>(elapsed);
    const int total = static_cast<int>(duration_);
    const POINT at = { from_.x + ::MulDiv(target_.x - from_.x, done, total),
                       from_.y + ::MulDiv(target_.y - from_.y, done, total) };
    performer.Window().MoveTo(at);
    // The moving animation goes on for the whole way.
    if (player_ && performer.PlayStep(*player_, now))
        player_->Start(now);
    return ActionState::Running;
}

void MoveAction::Stop(CharacterPerformer& performer)
{
    if (player_)
        performer.ShowRestFrame();
}
