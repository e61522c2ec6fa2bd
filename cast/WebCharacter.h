#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <string>
#include <vector>

// A character in the form a web page plays it from: PNG sprite sheets of its images, and
// a JSON description of how frames cut from those sheets make its animations. The first
// sheet holds what a page plays on its own, so that it can show the character before
// the others have come (see SheetPlan).
//
// The description holds the character's name, frame size, balloon, "voice" (where the
// file has voice settings: its "rate" and "pitch" next to a normal voice's where set,
// see RelativeVoiceSpeed, its "language" as a tag and "gender" where named), the number of its "sheets", states and
// animations. "images" lists each image's place as [x, y, width,
// height], followed by its sheet's index when that is not the first (null for an empty
// slot or an image no frame shows). An animation has its name, its frames and, when it ends by
// playing another, "return" with that animation's name. A frame has its "duration" in
// milliseconds, its "images" as [image, x, y] with the first on top, its exit frame
// ("exit", left out when it has none), its "branches" as [frame, percent] and its
// "mouths" as [mouth shape, image, x, y, replaces top image 0/1]; empty lists are left
// out. A frame's "sound" is the index of its sound among the character's sounds, left
// out when it has none or when its sound is not one a browser plays (see IsPlayableWave).
struct WebCharacter {
    std::vector<std::vector<uint8_t>> sheets;  // PNG each
    std::string description;     // JSON
    // RIFF WAVE data, one per sound of the character by its index; empty where left out.
    std::vector<std::vector<uint8_t>> sounds;
};

WebCharacter MakeWebCharacter(const CharacterData& character, const std::string& name);
