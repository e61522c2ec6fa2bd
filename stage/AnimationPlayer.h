#pragma once
#include "stage/CharacterData.h"
#include <windows.h>
#include <random>

// Steps through one animation's frames in time: each frame for its duration, then on
// along a branch picked by its probability, or to the next frame. Asked to finish, it
// leaves a loop where the loop would go back (EndAtLoop) or takes the frames' exit
// branches at once (ExitNow); either way it ends within one pass over the frames. A
// loop nobody ends ends by itself after a while, so that no request waits forever.
class AnimationPlayer {
public:
    AnimationPlayer(const CharacterAnimation& animation, std::mt19937& random);

    // Begins (again) at the first frame; an animation without frames is finished at once.
    void Start(DWORD now);
    // Moves on to the frame due at `now`; true when the frame shown has changed.
    bool Advance(DWORD now);

    // The frame to show; null only for an animation without frames.
    const CharacterFrame* Frame() const;
    bool Finished() const { return finished_; }

    void EndAtLoop();
    void ExitNow();

private:
    enum class Ending { None, AtLoop, Now };
    // The frame after the current one, or the frame count when the animation ends.
    size_t NextFrame();

    const CharacterAnimation& animation_;
    std::mt19937& random_;
    size_t frame_ = 0;
    DWORD start_ = 0;
    DWORD frameStart_ = 0;
    bool finished_ = false;
    Ending ending_ = Ending::None;
    size_t stepsSinceEnding_ = 0;
};
