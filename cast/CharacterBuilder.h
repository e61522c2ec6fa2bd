#pragma once
#include "cast/Figure.h"
#include "stage/CharacterData.h"

// Draws every frame of the cast's animations for the figure and puts them together as
// a character: palette, images (each kept once, with its outline), animations with
// mouth overlays where the figure may talk, the states, the balloon and the figure's
// name. The same figure always gives the same character.
CharacterData BuildCharacter(const Figure& figure);
