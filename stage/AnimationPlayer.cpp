#include "stage/AnimationPlayer.h"

namespace {

// Frames of no duration follow one another at once; a loop of them must not hang a tick.
const int kMostStepsPerAdvance = 64;
const DWORD kLongestLoop = 10000;

} // namespace

AnimationPlayer::AnimationPlayer(const CharacterAnimation& animation, std::mt19937& random)
    : animation_(animation), random_(random)
{
}

void AnimationPlayer::Start(DWORD now)
{
    frame_ = 0;
    start_ = now;
    frameStart_ = now;
    finished_ = animation_.frames.empty();
    ending_ = Ending::None;
}

const CharacterFrame* AnimationPlayer::Frame() const
{
    if (animation_.frames.empty())
        return nullptr;
    return &animation_.frames[frame_];
}

void AnimationPlayer::EndAtLoop()
{
    if (ending_ == Ending::None) {
        ending_ = Ending::AtLoop;
        stepsSinceEnding_ = 0;
    }
}

void AnimationPlayer::ExitNow()
{
    if (ending_ != Ending::Now) {
        ending_ = Ending::Now;
        stepsSinceEnding_ = 0;
    }
}

bool AnimationPlayer::Advance(DWORD now)
{
    if (now - start_ > kLongestLoop)
        EndAtLoop();
    bool changed = false;
    for (int step = 0; step < kMostStepsPerAdvance && !finished_; ++step) {
        const DWORD duration = animation_.frames[frame_].duration * 10u;
        if (now - frameStart_ < duration)
            return changed;
        const size_t next = NextFrame();
        if (next >= animation_.frames.size()) {
            // The last frame stays on the screen.
            finished_ = true;
            return changed;
        }
        frameStart_ += duration;
        changed = changed || next != frame_;
        frame_ = next;
    }
    // Caught in frames of no duration: carry on from here at the next tick.
    frameStart_ = now;
    return changed;
}

size_t AnimationPlayer::NextFrame()
{
    const CharacterFrame& frame = animation_.frames[frame_];
    const size_t count = animation_.frames.size();
    if (ending_ != Ending::None && ++stepsSinceEnding_ > count)
        return count;
    if (ending_ == Ending::Now && frame.exitFrame >= 0)
        return static_cast<size_t>(frame.exitFrame);
    size_t next = frame_ + 1;
    int roll = static_cast<int>(random_() % 100);
    for (const FrameBranch& branch : frame.branches) {
        if (roll < branch.probability) {
            next = branch.frame;
            break;
        }
        roll -= branch.probability;
    }
    // A way back would loop again: leave by the exit branch, or straight on.
    if (ending_ != Ending::None && next <= frame_)
        return frame.exitFrame >= 0 ? static_cast<size_t>(frame.exitFrame) : frame_ + 1;
    return next;
}
