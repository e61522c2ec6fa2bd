#include "cast/art/Cast.h"

std::vector<std::unique_ptr<Figure>> MakeCast()
{
    std::vector<std::unique_ptr<Figure>> cast;
    for (auto make : { MakeTolvan, MakeMirelle, MakeGrumbold, MakeMerlin, MakePeedy, MakeGenie, MakeRobby,
                       MakeYulebard, MakeCrookbeak })
        cast.push_back(make());
    return cast;
}
