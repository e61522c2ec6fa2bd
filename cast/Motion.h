#pragma once
#include "cast/Pose.h"
#include "stage/CharacterData.h"
#include <string>
#include <vector>

// One frame of a figure's animation before it is drawn.
struct Beat {
    Pose pose;
    uint16_t duration = 10;  // 1/100 s
    std::vector<FrameBranch> branches;
    int32_t exitFrame = -1;
    bool speaks = false;  // gets mouth overlays, so that the figure can talk in it
};

// An animation before it is drawn.
struct Act {
    std::string name;
    std::vector<Beat> beats;
    uint8_t transition = kTransitionNone;
};

// Builds an act frame by frame from the pose the figure starts in.
class Motion {
public:
    explicit Motion(const Pose& from) : now_(from) {}

    // One frame of the pose.
    Motion& Hold(const Pose& pose, uint16_t duration);
    // Frames that ease from where the motion is to the pose, the last one being the pose.
    Motion& Ease(const Pose& pose, int frames, uint16_t duration);
    // The frames from here on take the figure back to rest: asked to stop, the frames
    // before jump here.
    Motion& Returning();
    // The last frame so far goes back to frame `to` that often (percent), for loops.
    Motion& LoopBack(size_t to, uint16_t percent);

    size_t Frames() const { return beats_.size(); }
    const Pose& Now() const { return now_; }

    // The act, its last frame one to talk in, unless `speaksAtEnd` is false.
    Act Finish(std::string name, bool speaksAtEnd = true);

private:
    Pose now_;
    std::vector<Beat> beats_;
    int32_t returning_ = -1;
};
