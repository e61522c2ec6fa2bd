#pragma once
#include "cast/Motion.h"
#include "stage/CharacterData.h"
#include <vector>

// The animations every figure of the cast plays, the same for all of them, in file
// order; each starts from and comes back to the rest pose unless it hides the figure.
std::vector<Act> CastActs();

// The states the stage and the file format know, and which of the acts play in them.
std::vector<CharacterState> CastStates();
