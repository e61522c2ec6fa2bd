#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <vector>

// The picture on the installer's welcome and finish pages: the character waving on an
// evening sky, as the 24-bit Windows bitmap file the installer takes (164 x 314).
constexpr int kInstallerPictureWidth = 164;
constexpr int kInstallerPictureHeight = 314;

// The bitmap file's bytes; empty when the character has no frame to draw.
std::vector<uint8_t> MakeInstallerPicture(const CharacterData& character);
