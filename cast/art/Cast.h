#pragma once
#include "cast/Figure.h"
#include <memory>
#include <vector>

// The bundled characters, one source file each.
std::unique_ptr<Figure> MakeTolvan();
std::unique_ptr<Figure> MakeMirelle();
std::unique_ptr<Figure> MakeGrumbold();
std::unique_ptr<Figure> MakeMerlin();
std::unique_ptr<Figure> MakePeedy();
std::unique_ptr<Figure> MakeGenie();
std::unique_ptr<Figure> MakeRobby();
std::unique_ptr<Figure> MakeYulebard();
std::unique_ptr<Figure> MakeCrookbeak();

// All nine, in the order the program lists them.
std::vector<std::unique_ptr<Figure>> MakeCast();
