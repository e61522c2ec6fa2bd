#include "cast/Figure.h"
#include "cast/SharedInks.h"
#include <cmath>

std::vector<CharacterColor> Figure::PaletteInks() const
{
    // The transparent colour is one no figure uses.
    std::vector<CharacterColor> inks{ 0xFF00FF, info_.outline };
    inks.insert(inks.end(), std::begin(kSharedInkColors), std::end(kSharedInkColors));
    inks.insert(inks.end(), info_.inks.begin(), info_.inks.end());
    return inks;
}

void Figure::Draw(Raster& raster, const Pose& pose, Anchors& anchors) const
{
    raster.Push();
    raster.Translate(info_.width / 2.0 + pose.x, info_.height - Ground() + pose.y);
    raster.Rotate(pose.lean);
    // Squashing keeps the figure's bulk: lower means wider.
    raster.Scale(pose.scale / std::sqrt(pose.squash), pose.scale * pose.squash);
    DrawBody(raster, pose, anchors);
    raster.Pop();
}
