#pragma once
#include "cast/InkPalette.h"

// Inks every figure has, for faces, props and effects; a figure's own inks follow.
enum SharedInk : Ink {
    kWhiteInk = 2,
    kPupilInk,
    kMouthInk,
    kTongueInk,
    kBlushInk,
    kTearInk,
    kGoldInk,
    kGoldLightInk,
    kPaperInk,
    kBookInk,
    kBowlInk,
    kBatterInk,
    kSteelInk,
    kPinkInk,
    kBlueInk,
    kGreenInk,
    kQuestionInk,
    kExclaimInk,
    kPuffInk,
    kFirstFigureInk,
};

// The colours of the shared inks after clear and outline, in SharedInk order.
const CharacterColor kSharedInkColors[kFirstFigureInk - 2] = {
    0xFFFFFF,  // white
    0x1C1C2A,  // pupil
    0x7A1F2B,  // mouth
    0xEC7482,  // tongue
    0xF7A6B0,  // blush
    0x8FD6FF,  // tear
    0xF2C029,  // gold
    0xFFF1A0,  // gold light
    0xFBF7EA,  // paper
    0xB8373D,  // book cover
    0x6FA8DC,  // bowl
    0xF3DFAE,  // batter
    0xB9C3CD,  // steel
    0xFF6FB1,  // pink
    0x4FA3FF,  // blue
    0x5CD65C,  // green
    0x3D7BE0,  // question mark
    0xE8453C,  // exclamation mark
    0xE8ECF3,  // puff
};
