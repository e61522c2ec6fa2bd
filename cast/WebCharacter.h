#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <string>
#include <vector>

// A character in the form a web page plays it from: one PNG sprite sheet of all its
// images, and a JSON description of how frames cut from that sheet make its animations.
//
// The description holds the character's name, frame size, balloon, states and
// animations. "images" lists each image's place on the sheet as [x, y, width, height]
// (null for an empty slot). An animation has its name, its frames and, when it ends by
// playing another, "return" with that animation's name. A frame has its "duration" in
// milliseconds, its "images" as [image, x, y] with the first on top, its exit frame
// ("exit", left out when it has none), its "branches" as [frame, percent] and its
// "mouths" as [mouth shape, image, x, y, replaces top image 0/1]; empty lists are left
// out. Sounds are left out.
struct WebCharacter {
    std::vector<uint8_t> sheet;  // PNG
    std::string description;     // JSON
};

WebCharacter MakeWebCharacter(const CharacterData& character, const std::string& name);
