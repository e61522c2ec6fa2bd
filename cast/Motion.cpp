#include "cast/Motion.h"

Motion& Motion::Hold(const Pose& pose, uint16_t duration)
{
    Beat beat;
    beat.pose = pose;
    beat.duration = duration;
    beats_.push_back(beat);
    now_ = pose;
    return *this;
}

Motion& Motion::Ease(const Pose& pose, int frames, uint16_t duration)
{
    const Pose from = now_;
    for (int i = 1; i < frames; ++i) {
        const double t = double(i) / frames;
        // Slow out and in.
        Hold(MixPoses(from, pose, t * t * (3 - 2 * t)), duration);
    }
    // The pose itself, not a blend that rounds near it: the same pose draws the same image.
    return Hold(pose, duration);
}

Motion& Motion::Returning()
{
    returning_ = int32_t(beats_.size());
    return *this;
}

Motion& Motion::LoopBack(size_t to, uint16_t percent)
{
    if (!beats_.empty())
        beats_.back().branches.push_back({ uint16_t(to), percent });
    return *this;
}

Act Motion::Finish(std::string name, bool speaksAtEnd)
{
    Act act;
    act.name = std::move(name);
    if (returning_ > 0 && returning_ < int32_t(beats_.size())) {
        for (int32_t i = 0; i < returning_; ++i)
            beats_[size_t(i)].exitFrame = returning_;
        act.transition = kTransitionExitBranches;
    }
    if (speaksAtEnd && !beats_.empty())
        beats_.back().speaks = true;
    act.beats = std::move(beats_);
    beats_.clear();
    return act;
}
