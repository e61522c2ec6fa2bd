#pragma once
#include "stage/CharacterData.h"

// A small round character drawn from plain shapes, for the stage's showcase, benchmark
// and tests (not part of the programs). 128 x 128 with a palette of a few colours; it
// has every state the stage plays (Showing, Hiding, Speaking with mouth overlays that
// replace the closed mouth, Moving Left/Right/Up/Down, Idling) and these animations,
// in this file order:
//   RestPose, Showing, Hiding, Speaking, MovingLeft, MovingRight, MovingUp, MovingDown,
//   Wave (returns to RestPose), Blink (may blink twice), Pondering (loops until asked
//   to end, leaving by its exit frame).
CharacterData MakeSampleCharacter();

// Palette indices of the sample character.
enum SampleColor : uint8_t {
    kSampleTransparent = 0,
    kSampleOutline,
    kSampleWhite,
    kSampleBody,
    kSampleMouth,
    kSampleHand,
    kSampleColorCount,
};
